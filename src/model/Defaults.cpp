#include "Defaults.h"
#include "CodeTexts.h"

#include <cstdio>
#include <cstdlib>

namespace t2 {

ProgramState& Program()
{
    static ProgramState state;
    return state;
}

namespace {

std::string TwoHexDigits(int n)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X", n);
    return buf;
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
#ifdef _WIN32
    return folder + "\\" + name;
#else
    return folder + "/" + name;
#endif
}

}  // namespace

std::string ProgramFolder()
{
#ifdef _WIN32
    return "C:\\VEL Tamberline II";
#else
    const char* home = std::getenv("HOME");
    std::string base = (home && *home) ? home : ".";
    return JoinPath(base, "VEL Tamberline II");
#endif
}

std::string DocumentationFolder() { return JoinPath(ProgramFolder(), "Documentation"); }

std::string BackupsFolder() { return JoinPath(ProgramFolder(), "Backups"); }

std::string DefaultDocumentFileName() { return JoinPath(DocumentationFolder(), "Tamberline II.txt"); }

std::string DefaultDocumentFileName(const std::string& settingsFileName)
{
    if (settingsFileName.empty() || settingsFileName == "None") return DefaultDocumentFileName();
#ifdef _WIN32
    const std::size_t slash = settingsFileName.find_last_of("\\/:");
#else
    const std::size_t slash = settingsFileName.find_last_of('/');
#endif
    std::string name = slash == std::string::npos ? settingsFileName : settingsFileName.substr(slash + 1);
    // "SITE.TMB" gives "SITE"; a name that is only an extension (".TMB") keeps it.
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    if (name.empty()) return DefaultDocumentFileName();
    return JoinPath(DocumentationFolder(), name + ".TXT");
}

std::string MaintenanceFileName() { return JoinPath(ProgramFolder(), "Tamberline II Maintenance.TMB"); }

void ResetConfiguration(PanelConfig& c, VantelDevices& devices)
{
    c.ConnectionType() = ConnectDirectSerial;
    c.PanelName.clear();
    c.ModemPhoneNumber().clear();
    c.PanelAddress().clear();

    for (int n = 0; n < ItemCount; ++n) {
        const std::string nn = Digits(n + 1, 2);
        c.RelayNames[n] = "RELAY " + nn;
        c.GroupNames[n] = "GROUP " + nn;
        c.InputNames[n] = "INPUT " + nn;
        c.TimerNames[n] = "TIMER " + nn;
        c.PresetNames[n] = "PRESET " + nn;
    }

    for (int n = 0; n < ItemCount; ++n) {
        c.InputPreset[n] = 0;
        c.RelayTimerType[n] = 0;
        c.RelayPowerOnType[n] = 0;
        c.InputType[n] = 0;
        c.InputEnableTime[n] = 0;
        c.InputDisableTime[n] = 0;
        c.InputTimedOnTime[n] = 10;
        c.InputPilot[n] = static_cast<Integer>(n);
        c.TimerTimeCode[n] = 0;
        c.TimerMinute[n] = 0;
        c.TimerDays[n] = 0;
        c.TimerHolidayMonth[n] = 0;
        c.TimerHolidayDate[n] = 1;
        c.SweepRelays[n] = 0;
        c.SweepGroups[n] = 0;
        c.DmxChannel[n] = 0;
        for (int m = 0; m < ItemCount; ++m) {
            c.InputRelayControl(n, m) = 0;
            c.InputGroupControl(n, m) = 0;
            c.GroupRelays(n, m) = 0;
            c.TimerRelayControl(n, m) = 0;
            c.TimerGroupControl(n, m) = 0;
            c.TimerPresetControl(n, m) = 0;
            c.PresetRelayControl(n, m) = 0;
        }
    }

    for (int day = 0; day < 7; ++day) {
        c.NormalDayOpenTime[day] = 32;
        c.NormalDayCloseTime[day] = 84;
    }
    c.SingleDateOpenTime.data.fill(100);
    c.SingleDateCloseTime.data.fill(100);

    c.BlinkAlertMinutes = 10;
    c.OverrideMinutes = 120;
    c.AlarmSeconds = 5;
    c.TimedOnStartsOnClose = 0;
    c.SweepIntervalCode = 0;
    c.DstEnabled = True;
    c.DstStartWeek = 2;
    c.DstStartMonth = 3;
    c.DstEndWeek = 1;
    c.DstEndMonth = 11;
    c.Latitude = 45;
    c.Longitude = 90;
    c.TimeZone = 1;
    c.RtcSource = 0;
    c.PhotocellFilterShort = 0;
    c.AddOnModuleType = 0;

    c.NodeIOCount[0] = 1;
    for (int node = 1; node < NodeCount; ++node) c.NodeIOCount[node] = 0;

    c.CommPort = 1;
    c.DmxOnLevel = 90;
    c.DmxOffLevel = 10;
    c.DmxFilter = 0;
    c.ModbusProtocol = 0;
    c.ModbusBaud = 0;
    c.ModbusParity = 0;

    for (int d = 0; d < DeviceSlots; ++d) {
        VantelDevice& v = devices[d];
        v.DeviceType = 0;
        v.DeviceName = "VANTEL " + TwoHexDigits(d);
        for (int i = 0; i < 8; ++i) {
            v.DeviceInputType[i] = 0;
            v.DeviceInputTimedOnTime[i] = 10;
            v.DeviceInputPilot[i] = 0;
            v.DeviceInputOffLevel[i] = 0;
            v.DeviceInputOnLevel[i] = 0;
            v.DeviceInputPreset[i] = 0;
            for (int r = 0; r < ItemCount; ++r) {
                v.DeviceInputRelayControl(i, r) = 0;
                v.DeviceInputGroupControl(i, r) = 0;
            }
        }
    }
}

void ResetConfiguration(ProgramState& state)
{
    state.DocumentPrintOptions.fill(false);
    state.DocumentFileName = DefaultDocumentFileName();
    state.DocumentFileChosen = false;
    ResetConfiguration(state.Config, state.Devices);
}

int TotalIOCount(const PanelConfig& config)
{
    int sum = 0;
    for (int node = 0; node < NodeCount; ++node) sum += config.NodeIOCount[node] * 4;
    if (sum < 0) return 0;  // negative node counts from a foreign file mean no I/O
    return sum > 48 ? 48 : sum;
}

}  // namespace t2
