#include "DocumentReport.h"

#include "CodeTexts.h"
#include "Defaults.h"
#include "SettingsFile.h"
#include "Windows1252.h"

#include <QDateTime>
#include <QStringDecoder>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <new>

namespace t2 {

namespace {

std::string Two(long long n) { return Digits(n, 2); }
std::string Three(long long n) { return Digits(n, 3); }
std::string Plain(long long n) { return std::to_string(n); }

// The last two characters of "00" followed by the upper-case hex form.
std::string TwoHex(int n)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "00%X", static_cast<unsigned>(n));
    const std::string s = buf;
    return s.substr(s.size() - 2);
}

// Integer division rounding down, as Int() does for negative quotients.
long long FloorDiv(long long a, long long b)
{
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// Text of a code stored 1-based (DST weeks and months): the table entry of
// code - 1, or nullptr for a code outside the table.
const char* OneBasedText(TextTable table, int code)
{
    if (code == std::numeric_limits<int>::min()) return nullptr;
    return TableText(table, code - 1);
}

// Joins items with "," and no spaces.
class List {
public:
    void Add(const std::string& item)
    {
        if (!text_.empty()) text_ += ',';
        text_ += item;
    }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

std::string Tagged(char tag, int index) { return tag + Two(index + 1); }

// A network device input as the lists write it: VT-01.3 for input 3 of device 1.
std::string NetworkInputName(int device, int input) { return "VT-" + TwoHex(device) + "." + Plain(input + 1); }

// Relays 0..ioCount-1 with a non-zero code as R01.., then groups 0..47 as G01..
template <typename Matrix>
std::string RelaysThenGroups(const Matrix& relays, const Matrix& groups, int input, int ioCount)
{
    List list;
    for (int j = 0; j < ioCount; ++j) {
        if (relays(input, j) != 0) list.Add(Tagged('R', j));
    }
    for (int g = 0; g < ItemCount; ++g) {
        if (groups(input, g) != 0) list.Add(Tagged('G', g));
    }
    return list.Text();
}

// Items 0..count-1 of row `input` with a non-zero code as tag + two digits.
template <typename Matrix>
std::string TaggedList(char tag, const Matrix& m, int input, int count)
{
    List list;
    for (int j = 0; j < count; ++j) {
        if (m(input, j) != 0) list.Add(Tagged(tag, j));
    }
    return list.Text();
}

// Plain numbers of the items 0..count-1 of row `row` whose code equals value.
std::string NumbersWithCode(const ItemMatrix& m, int row, int count, int value)
{
    List list;
    for (int j = 0; j < count; ++j) {
        if (m(row, j) == value) list.Add(Plain(j + 1));
    }
    return list.Text();
}

std::string TimedOnText(long long minutes) { return "Timed On " + Three(minutes) + " Min"; }

// The offset-time codes: the low byte without its two offset bits, in type order.
constexpr std::array<int, 8> OffsetTimeCodes{24, 56, 88, 120, 152, 184, 216, 248};

// The Time field of a timer; empty for a code that is neither an hour nor an
// offset time. A minute outside its range is taken as the formulas give it
// (9 hours and 75 minutes is 10:15A).
std::string TimerTimeText(int code, int minute)
{
    if (code >= 0 && code <= 23) return DayClockText(code * 60LL + minute);
    for (std::size_t k = 0; k < OffsetTimeCodes.size(); ++k) {
        if ((code & ~3) != OffsetTimeCodes[k]) continue;
        const long long offset = (code & 3) * 256LL + minute;
        const char* text = k < 4 ? AstroOffsetTexts[k] : OpenCloseOffsetTexts[k - 4];
        return Three(offset) + " " + text;
    }
    return {};
}

std::string TimerDaysText(int days, int holidayMonth, int holidayDate)
{
    if (holidayMonth != 0) return Two(holidayMonth) + "/" + Two(holidayDate);
    static const char letters[] = "SMTWTFS";
    std::string text = "--------";
    for (int bit = 0; bit < 7; ++bit) {
        if ((days & (1 << bit)) == 0) text[static_cast<std::size_t>(bit)] = letters[bit];
    }
    if ((days & 0x80) == 0) text[7] = 'H';
    return text;
}

std::string PhotocellLevelsText(int offLevel, int onLevel)
{
    // Level / 2.55 rounded down: the whole percent of 255.
    return "Off:" + Three(FloorDiv(offLevel * 100LL, 255)) + "% On:" + Three(FloorDiv(onLevel * 100LL, 255)) + "%";
}

}  // namespace

ReportTime ReportTimeNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return ReportTime{d.year(), d.month(), d.day(), t.hour(), t.minute()};
}

std::string FormatReportTime(const ReportTime& time)
{
    const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d:%02d %s %02d/%02d/%04d", hour12, time.minute,
                  time.hour < 12 ? "AM" : "PM", time.month, time.day, time.year);
    return buf;
}

ReportSettings ReportSettingsOf(const ProgramState& state, const ReportTime& created)
{
    ReportSettings s;
    s.DocumentPrintOptions = state.DocumentPrintOptions;
    s.SettingsFileName = state.SettingsFileName;
    s.VersionText = state.VersionText;
    s.Created = created;
    return s;
}

std::string ToWindows1252(const std::string& utf8)
{
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
    if (decode.hasError()) return utf8;  // already 8-bit text: kept as it is
    return TextToBytes(text);
}

DocumentReport::DocumentReport(const PanelConfig& config, const VantelDevices& devices)
    : c_(config), devices_(devices), ioCount_(TotalIOCount(config))
{
    out_.reserve(64 * 1024);
}

void DocumentReport::Add(ReportLine::Kind kind, std::string item, std::initializer_list<std::string> fields)
{
    bool first = true;
    for (const std::string& f : fields) {
        if (!first) out_ += '\t';
        out_ += f;
        first = false;
    }
    out_ += "\r\n";
    ReportLine& line = lines_.emplace_back();
    line.kind = kind;
    line.fields.assign(fields);
    line.item = item.empty() && kind == ReportLine::Kind::Item ? line.fields.front() : std::move(item);
}

void DocumentReport::LineIfText(const char* title, const char* text)
{
    if (text) Line({title, text});
}

void DocumentReport::DocHeader(const std::string& versionText, const std::string& settingsFileName,
                               const ReportTime& created)
{
    HeaderLine({"[VEL Tamberline II Configuration Documentation File]"});
    HeaderLine({"Host Software", ToWindows1252(versionText)});
    HeaderLine({"Tamberline II File Name", ToWindows1252(settingsFileName)});
    HeaderLine({"Document Created", FormatReportTime(created)});
}

void DocumentReport::DocPanelSettings()
{
    Title("[Panel Settings]");
    Line({"Panel Name", c_.PanelName});
    Line({"I/O Count", Two(ioCount_)});
    long long first = 1;
    for (int node = 0; node < NodeCount; ++node) {
        const long long count = c_.NodeIOCount[static_cast<std::size_t>(node)];
        if (count == 0) {
            Line({NodeCaption(node), "No I/O"});
        } else if (count < 0) {
            Line({NodeCaption(node), OutOfTableText(static_cast<int>(count))});
        } else {
            Line({NodeCaption(node), Two(4 * count) + " I/O", Two(first) + "-" + Two(first + 4 * count - 1)});
            first += 4 * count;
        }
    }
    // A code without a text writes no line for its item (a module "Modem /
    // Tamberline", a time zone or DST rule outside the lists, odd MODBus codes).
    LineIfText("AddOn Module Type", TableText(AddOnModuleTexts, c_.AddOnModuleType));
    Line({"Latitude", Three(c_.Latitude)});
    Line({"Longitude", Three(c_.Longitude)});
    LineIfText("Time Zone", TableText(TimeZoneTexts, c_.TimeZone));
    if (c_.DstEnabled != 0) {
        Line({"Automatic DST Adjustment", "Enabled"});
        LineIfText("DST Start Week", OneBasedText(DstWeekShortTexts, c_.DstStartWeek));
        LineIfText("DST Start Month", OneBasedText(MonthAbbreviations, c_.DstStartMonth));
        LineIfText("DST End Week", OneBasedText(DstWeekShortTexts, c_.DstEndWeek));
        LineIfText("DST End Month", OneBasedText(MonthAbbreviations, c_.DstEndMonth));
    } else {
        Line({"Automatic DST Adjustment", "Disabled"});
    }
    Line({"Blink Alert (Min)", Three(c_.BlinkAlertMinutes)});
    Line({"Override (Min)", Three(c_.OverrideMinutes)});
    Line({"Alarm (Sec)", Three(c_.AlarmSeconds)});
    Line({"Timed-On Timers Begin When Input", c_.TimedOnStartsOnClose != 0 ? "Closes" : "Opens"});
    Line({"Off Hours Sweep Interval (Hours)", Plain(c_.SweepIntervalCode + 1)});
    Line({"Photocell Filter Time (Seconds)", c_.PhotocellFilterShort != 0 ? "2" : "30"});
    Line({"Comm Port: ", Plain(c_.CommPort)});
    Line({"Connection Type", "RS232"});
    if (c_.AddOnModuleType == AddOnDmx) {
        Line({"DMX Off Level(%)", Three(c_.DmxOffLevel)});
        Line({"DMX On  Level(%)", Three(c_.DmxOnLevel)});
        Line({"DMX Filter", Two(c_.DmxFilter)});
    }
    if (c_.AddOnModuleType == AddOnModbus) {
        LineIfText("MODBus Protocol", TableText(ModbusProtocolTexts, c_.ModbusProtocol));
        LineIfText("MODBus Baud Rate", TableText(ModbusBaudTexts, c_.ModbusBaud));
        LineIfText("MODBus Parity", TableText(ModbusParityTexts, c_.ModbusParity));
    }
}

std::string DocumentReport::NetworkControl(int target, bool groups) const
{
    List list;
    for (int d = 1; d < DeviceSlots; ++d) {
        const VantelDevice& dev = devices_[static_cast<std::size_t>(d)];
        if (dev.DeviceType == 0) continue;
        for (int k = 0; k < 8; ++k) {
            const Integer code = groups ? dev.DeviceInputGroupControl(k, target) : dev.DeviceInputRelayControl(k, target);
            if (code != 0) list.Add(NetworkInputName(d, k));
        }
    }
    return list.Text();
}

void DocumentReport::DocRelaySchedule()
{
    Title("[Relay Schedule]");
    Columns({"Relay", "Relay Name", "Voltage", "Circuit", "Power On", "Timer Type", "Local Control", "Vantel Control",
          "Groups", "Presets"});
    for (int r = 0; r < ioCount_; ++r) {
        List local;
        for (int i = 0; i < ioCount_; ++i) {
            if (c_.InputRelayControl(i, r) != 0) local.Add(Tagged('I', i));
        }
        for (int t = 0; t < ItemCount; ++t) {
            if (c_.TimerRelayControl(t, r) != 0) local.Add(Tagged('T', t));
        }
        List groups;
        for (int g = 0; g < ItemCount; ++g) {
            if (c_.GroupRelays(g, r) != 0) groups.Add(Tagged('G', g));
        }
        List presets;
        for (int p = 0; p < ItemCount; ++p) {
            if (c_.PresetRelayControl(p, r) != 0) presets.Add(Tagged('P', p));
        }
        const auto ri = static_cast<std::size_t>(r);
        Line({Two(r + 1), c_.RelayNames[ri], "", "", CodeText(RelayPowerOnTypeTexts, c_.RelayPowerOnType[ri]),
              CodeText(RelayTimerTypeTexts, c_.RelayTimerType[ri]), local.Text(), NetworkControl(r, false),
              groups.Text(), presets.Text()},
             Tagged('R', r));
    }
}

void DocumentReport::DocGroupSchedule()
{
    Title("[Group Schedule]");
    Columns({"Group", "Group Name", "Local Control", "Vantel Control", "Relays"});
    for (int g = 0; g < ItemCount; ++g) {
        List local;
        for (int i = 0; i < ioCount_; ++i) {
            if (c_.InputGroupControl(i, g) != 0) local.Add(Tagged('I', i));
        }
        for (int t = 0; t < ItemCount; ++t) {
            if (c_.TimerGroupControl(t, g) != 0) local.Add(Tagged('T', t));
        }
        List relays;
        for (int r = 0; r < ioCount_; ++r) {
            if (c_.GroupRelays(g, r) != 0) relays.Add(Tagged('R', r));
        }
        Line({Two(g + 1), c_.GroupNames[static_cast<std::size_t>(g)], local.Text(), NetworkControl(g, true),
              relays.Text()},
             Tagged('G', g));
    }
}

void DocumentReport::DocLocalInputSchedule()
{
    Title("[Local Input Schedule]");
    Columns({"Input Number", "Input Name", "Input Type", "Enable Time", "Disable Time", "Control"});
    for (int i = 0; i < ioCount_; ++i) {
        const auto ii = static_cast<std::size_t>(i);
        const int type = c_.InputType[ii];
        std::string typeText = CodeText(InputTypeTexts, type);
        std::string control;
        switch (type) {
        case InputSetPreset: control = Tagged('P', c_.InputPreset[ii]); break;
        case InputTimedOn:
            typeText = TimedOnText(c_.InputTimedOnTime[ii]);
            control = RelaysThenGroups(c_.InputRelayControl, c_.InputGroupControl, i, ioCount_);
            break;
        case InputInputDisable: control = TaggedList('I', c_.InputRelayControl, i, ioCount_); break;
        case InputTimerDisable:
        case InputForceTimer: control = TaggedList('T', c_.InputRelayControl, i, ItemCount); break;
        default:  // the relay-and-group types, and a type without a text
            control = RelaysThenGroups(c_.InputRelayControl, c_.InputGroupControl, i, ioCount_);
            break;
        }
        Line({Two(i + 1), c_.InputNames[ii], typeText, QuarterHourText(c_.InputEnableTime[ii]),
              QuarterHourText(c_.InputDisableTime[ii]), control},
             Tagged('I', i));
    }
}

void DocumentReport::DocVantelInputSchedule()
{
    Title("[Vantel Input Schedule]");
    Columns({"Vantel Device", "Vantel Device Type", "Vantel Input", "Input Type", "Control"});
    // Every record with a type, record 0 included: the report shows what the file holds.
    for (int d = 0; d < DeviceSlots; ++d) {
        const VantelDevice& dev = devices_[static_cast<std::size_t>(d)];
        const int deviceType = dev.DeviceType;
        if (deviceType == 0) continue;
        const char* typeName = TableText(ReportDeviceTypeTexts, deviceType);
        if (!typeName) continue;  // a type the panel does not know has no inputs to list
        const int inputs = DeviceInputCount(deviceType);
        for (int k = 0; k < inputs; ++k) {
            const auto kk = static_cast<std::size_t>(k);
            const int inputType = dev.DeviceInputType[kk];
            std::string typeText;
            std::string control;
            bool setPreset = false;
            bool timerDisable = false;
            if (deviceType == DevicePhotocell) {
                typeText = PhotocellLevelsText(dev.DeviceInputOffLevel[kk], dev.DeviceInputOnLevel[kk]);
            } else if (deviceType == DeviceKim4) {
                typeText = inputType == Kim4TimedOnType ? TimedOnText(dev.DeviceInputTimedOnTime[kk])
                                                        : CodeText(ReportKim4InputTypeTexts, inputType);
                setPreset = inputType == Kim4SetPresetType;
                timerDisable = inputType == Kim4TimerDisableType;
            } else {
                const TextTable texts = deviceType == DeviceR6 ? TextTable(ReportR6InputTypeTexts)
                                                               : TextTable(ButtonInputTypeTexts);
                typeText = inputType == ButtonTimedOnType ? TimedOnText(dev.DeviceInputTimedOnTime[kk])
                                                          : CodeText(texts, inputType);
                setPreset = inputType == ButtonSetPresetType;
            }
            if (setPreset) {
                control = Tagged('P', dev.DeviceInputPreset[kk]);
            } else if (timerDisable) {
                control = TaggedList('T', dev.DeviceInputRelayControl, k, ItemCount);
            } else {
                control = RelaysThenGroups(dev.DeviceInputRelayControl, dev.DeviceInputGroupControl, k, ioCount_);
            }
            Line({TwoHex(d), typeName, dev.DeviceName + "." + Plain(k + 1), typeText, control}, NetworkInputName(d, k));
        }
    }
}

void DocumentReport::DocLocalInputPilotSchedule()
{
    Title("[Local Input Pilot Schedule]");
    Columns({"Input Number", "Input Name", "Pilot"});
    static const char* const kinds[3] = {"Relay  ", "Group  ", "Preset "};
    for (int i = 0; i < ioCount_; ++i) {
        const auto ii = static_cast<std::size_t>(i);
        const int v = c_.InputPilot[ii];
        if (v < 0 || v >= 192) continue;  // a source without a text: no line
        Line({Two(i + 1), c_.InputNames[ii], kinds[v / 64] + Two(v % 64 + 1)}, Tagged('I', i));
    }
}

void DocumentReport::DocVantelPilotSchedule()
{
    Title("[Vantel Pilot Schedule]");
    Columns({"Vantel Device", "Vantel Input", "Pilot"});
    for (int d = 0; d < DeviceSlots; ++d) {
        const VantelDevice& dev = devices_[static_cast<std::size_t>(d)];
        // Push buttons, KIM-4 and R6 have pilot lamps; photocells do not.
        if (dev.DeviceType < 1 || dev.DeviceType > DeviceR6) continue;
        const int inputs = DeviceInputCount(dev.DeviceType);
        for (int k = 0; k < inputs; ++k) {
            const int v = dev.DeviceInputPilot[static_cast<std::size_t>(k)];
            if (v < 0 || v > 255) continue;  // a source without a text: no line
            std::string pilot;
            if (v / 64 == 0) {
                pilot = (v & 1) ? "Static  On" : "Static  Off";
            } else {
                static const char* const kinds[4] = {"", "Relay  ", "Group  ", "Preset  "};
                pilot = kinds[v / 64] + Two(v % 64 + 1);
            }
            Line({TwoHex(d), dev.DeviceName + "." + Plain(k + 1), pilot}, NetworkInputName(d, k));
        }
    }
}

void DocumentReport::DocTimerSchedule()
{
    Title("[Timer Relay/Group/Preset Schedule]");
    Columns({"Timer Number", "Timer Name", "Time", "Days", "Off Relays", "On Relays", "Off Groups", "On Groups",
          "Presets"});
    for (int t = 0; t < ItemCount; ++t) {
        const auto ti = static_cast<std::size_t>(t);
        Line({Two(t + 1), c_.TimerNames[ti], TimerTimeText(c_.TimerTimeCode[ti], c_.TimerMinute[ti]),
              TimerDaysText(c_.TimerDays[ti], c_.TimerHolidayMonth[ti], c_.TimerHolidayDate[ti]),
              NumbersWithCode(c_.TimerRelayControl, t, ioCount_, 2), NumbersWithCode(c_.TimerRelayControl, t, ioCount_, 1),
              NumbersWithCode(c_.TimerGroupControl, t, ItemCount, 2), NumbersWithCode(c_.TimerGroupControl, t, ItemCount, 1),
              [&] {
                  List presets;
                  for (int p = 0; p < ItemCount; ++p) {
                      if (c_.TimerPresetControl(t, p) != 0) presets.Add(Plain(p + 1));
                  }
                  return presets.Text();
              }()},
             Tagged('T', t));
    }
}

void DocumentReport::DocPresetSchedule()
{
    Title("[Preset Schedule]");
    Columns({"Preset Number", "Preset Name", "Off Relays", "On Relays"});
    for (int p = 0; p < ItemCount; ++p) {
        Line({Two(p + 1), c_.PresetNames[static_cast<std::size_t>(p)], NumbersWithCode(c_.PresetRelayControl, p, ioCount_, 2),
              NumbersWithCode(c_.PresetRelayControl, p, ioCount_, 1)},
             Tagged('P', p));
    }
}

void DocumentReport::DocOffHoursSweepsSchedule()
{
    Title("[Off Hours Sweeps Relay Schedule]");
    Columns({"Relay Number", "Relay Name", "Include In Off Hours Sweeps"});
    for (int r = 0; r < ioCount_; ++r) {
        const auto ri = static_cast<std::size_t>(r);
        Line({Two(r + 1), c_.RelayNames[ri], c_.SweepRelays[ri] != 0 ? "Yes" : "No"}, Tagged('R', r));
    }
    Title("[Off Hours Sweeps Group Schedule]");
    Columns({"Group Number", "Group Name", "Include In Off Hours Sweeps"});
    for (int g = 0; g < ItemCount; ++g) {
        const auto gi = static_cast<std::size_t>(g);
        Line({Two(g + 1), c_.GroupNames[gi], c_.SweepGroups[gi] != 0 ? "Yes" : "No"}, Tagged('G', g));
    }
}

void DocumentReport::DocOpenCloseTimesSchedule()
{
    Title("[Open Close Times Schedule]");
    Columns({"Day Of Week", "Open Time", "Close Time"});
    for (int d = 0; d < 7; ++d) {
        const auto di = static_cast<std::size_t>(d);
        Line({DayNames[di], QuarterHourText(c_.NormalDayOpenTime[di]), QuarterHourText(c_.NormalDayCloseTime[di])});
    }
    Columns({"Date Of Year", "Open Time", "Close Time"});
    for (int m = 0; m < 12; ++m) {
        const auto mi = static_cast<std::size_t>(m);
        OpenCloseMonth(MonthAbbreviations[mi], m, SingleDateDaysInMonth[mi]);
    }
}

void DocumentReport::OpenCloseMonth(const std::string& abbreviation, int month, int days)
{
    using Dates = decltype(c_.SingleDateOpenTime);
    if (month < 0 || month >= static_cast<int>(Dates::First)) return;
    if (days > static_cast<int>(Dates::Second)) days = static_cast<int>(Dates::Second);
    for (int i = 0; i < days; ++i) {
        const std::string date = abbreviation + " " + Two(i + 1);
        const int open = c_.SingleDateOpenTime(month, i);
        if (open > 96) {
            Line({date, "--:--", "--:--"});
        } else {
            Line({date, QuarterHourText(open), QuarterHourText(c_.SingleDateCloseTime(month, i))});
        }
    }
}

void DocumentReport::DocDMXSchedule()
{
    Title("[DMX Schedule]");
    Columns({"Relay Number", "Relay Name", "DMX Channel"});
    for (int r = 0; r < ioCount_; ++r) {
        const auto ri = static_cast<std::size_t>(r);
        const int channel = c_.DmxChannel[ri];
        Line({Two(r + 1), c_.RelayNames[ri], channel == 0 ? DmxNoChannelText : Three(channel)}, Tagged('R', r));
    }
}

void DocumentReport::DocEndOfFile() { HeaderLine({"[End Of File]"}); }

void DocumentReport::DocSections(const std::array<bool, ReportSectionCount>& leaveOut)
{
    using Writer = void (DocumentReport::*)();
    static constexpr std::array<Writer, 11> writers{
        &DocumentReport::DocPanelSettings,         &DocumentReport::DocRelaySchedule,
        &DocumentReport::DocGroupSchedule,         &DocumentReport::DocLocalInputSchedule,
        &DocumentReport::DocVantelInputSchedule,   &DocumentReport::DocLocalInputPilotSchedule,
        &DocumentReport::DocVantelPilotSchedule,   &DocumentReport::DocTimerSchedule,
        &DocumentReport::DocPresetSchedule,        &DocumentReport::DocOffHoursSweepsSchedule,
        &DocumentReport::DocOpenCloseTimesSchedule};
    for (std::size_t i = 0; i < writers.size(); ++i) {
        if (!leaveOut[i]) (this->*writers[i])();
    }
    if (c_.AddOnModuleType == AddOnDmx && !leaveOut[SectionDmxSchedule]) DocDMXSchedule();
}

std::string BuildReport(const PanelConfig& config, const VantelDevices& devices, const ReportSettings& settings)
{
    DocumentReport report(config, devices);
    report.DocHeader(settings.VersionText, settings.SettingsFileName, settings.Created);
    report.DocSections(settings.DocumentPrintOptions);
    report.DocEndOfFile();
    return report.Text();
}

bool WriteReportFile(const std::string& path, const PanelConfig& config, const VantelDevices& devices,
                     const ReportSettings& settings, std::string* error)
{
    std::string text;
    try {
        text = BuildReport(config, devices, settings);
    } catch (const std::bad_alloc&) {
        if (error) *error = path + ": not enough memory to write the report";
        return false;
    }
    return WriteFileAtomically(path, text, error);
}

}  // namespace t2
