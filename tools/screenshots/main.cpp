// tamberline-screenshots OUTDIR: opens the main window and then every built
// window in turn over a rich sample configuration, and writes one PNG per
// window, named after it (frmT2MasterMDI.png, frmT2Setup.png, ...).
//
// tamberline-screenshots --readme OUTDIR: only the pictures the README shows
// (an editor, the connection window connected to a simulated panel, a status
// window, two editors worked from the keyboard), in 256 colours so that each
// stays a few tens of kB.
#include "WindowCatalog.h"
#include "WindowRegistry.h"
#include "frmT2Connect.h"
#include "frmT2MasterMDI.h"
#include "Prompts.h"

#include "PanelSimControl.h"
#include "PanelSimulator.h"
#include "StatusWindows.h"
#include "EditorWindows.h"

#include "Defaults.h"
#include "PanelConfig.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImageWriter>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <map>
#include <string>

namespace {

// A configuration with something in every corner, so that the windows show
// more than their defaults.
void FillSample(t2::ProgramState& s)
{
    t2::ResetConfiguration(s);
    auto& c = s.Config;
    c.PanelName = "MAIN STREET";
    c.NodeIOCount = {4, 2, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};  // 16 + 8 + 4 = 28 points
    c.AddOnModuleType = 1;
    c.RelayNames[0] = "LOBBY";
    c.RelayNames[1] = "HALL EAST";
    c.RelayNames[2] = "HALL WEST";
    c.RelayNames[3] = "PARKING";
    c.GroupNames[0] = "ALL HALLS";
    c.InputNames[0] = "FRONT DOOR";
    c.TimerNames[0] = "DUSK";
    c.PresetNames[0] = "EVENING";
    for (int r = 0; r < 28; ++r) {
        c.RelayTimerType[r] = static_cast<t2::Integer>(r % 4);
        c.RelayPowerOnType[r] = static_cast<t2::Integer>(r % 3);
        c.InputType[r] = static_cast<t2::Integer>(r % 5);
        c.InputRelayControl(r, r) = static_cast<t2::Integer>(1 + r % 7);
        c.GroupRelays(r % 6, r) = t2::True;
        c.SweepRelays[r] = (r % 3 == 0) ? t2::True : t2::False;
        c.DmxChannel[r] = static_cast<t2::Integer>(r + 1);
        c.InputEnableTime[r] = static_cast<t2::Integer>(28 + r);
        c.InputDisableTime[r] = static_cast<t2::Integer>(80 - r);
    }
    for (int t = 0; t < 6; ++t) {
        c.TimerTimeCode[t] = static_cast<t2::Integer>(6 + t * 2);
        c.TimerMinute[t] = static_cast<t2::Integer>(t * 10);
        c.TimerRelayControl(t, t) = 1;
        c.TimerGroupControl(t, t) = 2;
        c.TimerPresetControl(t, t) = 1;
        c.PresetRelayControl(t, t) = 1;
        c.PresetRelayControl(t, t + 1) = 2;
    }
    // Local inputs: timed-on times, group actions, a preset and pilots of every source.
    c.InputNames[1] = "BACK DOOR";
    c.InputNames[4] = "SCENE KEY";
    c.InputNames[9] = "LOCKOUT";
    for (int i = 0; i < 28; ++i) {
        c.InputTimedOnTime[i] = 5 + i * 15;
        c.InputPilot[i] = static_cast<t2::Integer>((i % 3) * 64 + i);
        c.InputGroupControl(i, i % 6) = static_cast<t2::Integer>(1 + i % 3);
    }
    c.InputType[5] = 5;    // "Timed On"
    c.InputType[6] = 5;
    c.InputType[9] = 9;    // "Input Disable"
    c.InputType[10] = 10;  // "Timer Disable"
    c.InputRelayControl(0, 1) = 2;
    c.InputRelayControl(0, 2) = 3;
    c.InputRelayControl(0, 3) = 4;
    c.InputPreset[4] = 0;
    // Presets, special functions and the add-on modules away from their defaults.
    c.PresetRelayControl(0, 2) = 1;
    c.PresetRelayControl(0, 5) = 2;
    c.PhotocellFilterShort = t2::True;
    c.ModbusBaud = 2;
    c.ModbusParity = 2;
    c.DmxFilter = 3;
    c.SingleDateOpenTime(11, 24) = 40;
    c.SingleDateCloseTime(11, 24) = 60;
    // Timers and calendar: an astronomical and a holiday timer, single dates
    // in January, swept groups.
    c.TimerNames[6] = "SUNSET";
    c.TimerTimeCode[6] = 24 + 96;   // 30 Min After Sunset
    c.TimerMinute[6] = 30;
    c.TimerNames[7] = "NEW YEAR";
    c.TimerHolidayMonth[7] = 1;
    c.TimerHolidayDate[7] = 1;
    c.TimerDays[1] = 0x41;          // weekdays only
    c.SingleDateOpenTime(0, 0) = 40;
    c.SingleDateCloseTime(0, 0) = 56;
    c.SingleDateOpenTime(0, 14) = 36;
    c.SingleDateCloseTime(0, 14) = 101;
    c.NormalDayOpenTime[0] = 40;
    c.NormalDayCloseTime[0] = 68;
    c.SweepGroups[0] = t2::True;
    c.SweepGroups[20] = t2::True;
    c.SweepIntervalCode = 1;
    for (int d = 1; d <= 4; ++d) {
        auto& dev = s.Devices[d];
        dev.DeviceType = static_cast<t2::Integer>(d);
        dev.DeviceInputType[0] = 1;
        dev.DeviceInputPilot[0] = 64 + d;
        dev.DeviceInputRelayControl(0, d) = 1;
    }
    s.Devices[1].DeviceName = "CONF ROOM";
    // A device of each other kind: a KIM-4, a photocell and an R6.
    {
        auto& timed = s.Devices[2];
        timed.DeviceInputType[1] = 2;   // "Timed On"
        timed.DeviceInputTimedOnTime[1] = 30;
        timed.DeviceInputRelayControl(1, 0) = 1;
        auto& kim = s.Devices[5];
        kim.DeviceType = 7;
        kim.DeviceName = "STAGE";
        kim.DeviceInputType = {0, 4, 8, 9, 0, 0, 0, 0, 0};
        kim.DeviceInputTimedOnTime[1] = 45;
        for (int r = 0; r < 4; ++r) {
            kim.DeviceInputRelayControl(0, r) = static_cast<t2::Integer>(r + 1);
            kim.DeviceInputGroupControl(0, r) = static_cast<t2::Integer>(4 - r);
            kim.DeviceInputRelayControl(2, r) = 1;
            kim.DeviceInputPilot[static_cast<std::size_t>(r)] = static_cast<t2::Integer>(64 * r + 2);
        }
        auto& cell = s.Devices[6];
        cell.DeviceType = 9;
        cell.DeviceName = "ROOF PHOTOCELL";
        for (int c = 0; c < 8; ++c) {
            cell.DeviceInputOffLevel[static_cast<std::size_t>(c)] = static_cast<t2::Integer>(c * 32);
            cell.DeviceInputOnLevel[static_cast<std::size_t>(c)] = static_cast<t2::Integer>(c * 32 + 31);
        }
        auto& r6 = s.Devices[7];
        r6.DeviceType = 8;
        r6.DeviceName = "LOBBY R6";
        r6.DeviceInputType = {0, 1, 2, 3, 4, 2, 0, 0, 0};
        r6.DeviceInputTimedOnTime[5] = 120;
        r6.DeviceInputPilot = {64, 194, 129, 0, 1, 69, 0, 0, 0};
        r6.DeviceInputPreset[1] = 2;
    }
    s.SettingsFileName = "MAIN STREET.TMB";
    s.DataChanged = false;
}

// The Vantel editors open on "Select Device": show a device of the sample
// (the KIM-4 and its first input; the R6 for the pilots).
void ShowSampleDevice(QWidget* w)
{
    if (auto* devices = dynamic_cast<t2::frmT2ConfigureVantelDevices*>(w)) devices->SelectDevice(5);
    if (auto* control = dynamic_cast<t2::VantelControlWindow*>(w)) control->SelectDevice(5);
    if (auto* pilots = dynamic_cast<t2::frmT2VantelPilots*>(w)) pilots->SelectDevice(7);
}

// The live monitoring windows, connected to a panel with something in use.
template <typename Save>
void SaveStatusWindows(t2::frmT2MasterMDI& window, t2::sim::SimulatedPanel& panel, Save& save)
{
    t2::sim::ApplyDemoState(panel);
    window.State().Devices[6].DeviceType = 9;
    window.State().Devices[6].DeviceName = "ROOF PHOTOCELL";
    if (auto* vantel = dynamic_cast<t2::frmT2VantelStatus*>(window.Window("frmT2VantelStatus")))
        vantel->SelectedDevice = 6;
    for (const char* name : {"frmT2RelayStatus", "frmT2RelayGroupStatus", "frmT2InputStatus", "frmT2VantelStatus",
                             "frmT2CapturePresets", "frmT2VirtualKeypad", "frmT2SystemDiagnostic",
                             "frmT2ForceTimers"}) {
        QWidget* w = window.OpenWindow(name);
        if (!w || !window.State().PanelConnected) continue;
        if (auto* vantel = dynamic_cast<t2::frmT2VantelStatus*>(w)) vantel->cmdUpdateStatus->click();
        if (auto* diagnostic = dynamic_cast<t2::frmT2SystemDiagnostic*>(w)) {
            diagnostic->cmdStop->click();
            for (int i = 0; i < 3; ++i) diagnostic->Timer1_Timer();
        }
        save(QString(name) + "_connected");
    }
    window.CloseAllWindows();
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool readme = argc == 3 && std::string(argv[1]) == "--readme";
    if (argc != 2 && !readme) {
        std::fprintf(stderr, "usage: tamberline-screenshots [--readme] OUTDIR\n");
        return 64;
    }
    // Start-up creates the program folder and deletes the maintenance file:
    // do that in a folder of our own, not in the user's.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());

    QApplication app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[argc - 1]);
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "%s: cannot create the folder\n", argv[argc - 1]);
        return 1;
    }
    // The README's pictures and the shots they are made from.
    const std::map<QString, QString> readmeShots = {
        {"frmT2RelayOutputOptions", "editor"},
        {"frmT2Connect_connected", "connection"},
        {"frmT2RelayStatus_connected", "status"},
        {"frmT2RelayOutputOptions_keyboard", "keyboard-editor"},
        {"frmT2EditPresets_keyboard", "keyboard-presets"},
    };

    t2::RegisterAllWindows();
    t2::ProgramState state;
    t2::frmT2MasterMDI window(state);
    window.Startup();
    window.tmrFix->stop();
    FillSample(state);
    window.UpdateStatusBar();
    window.show();
    QApplication::processEvents();

    int failures = 0;
    auto save = [&](const QString& name) {
        QApplication::processEvents();
        QString file = QDir(out).filePath(name + ".png");
        QImage picture = window.grab().toImage();
        if (readme) {
            const auto shot = readmeShots.find(name);
            if (shot == readmeShots.end()) return;
            file = QDir(out).filePath(shot->second + ".png");
            // A window has few colours: a palette of 256 without dithering
            // keeps it sharp and small.
            picture = picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
        }
        QImageWriter writer(file, "png");
        if (readme) writer.setQuality(0);   // the smallest file
        if (!writer.write(picture)) {
            std::fprintf(stderr, "%s: cannot write\n", qPrintable(file));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(file));
        }
    };

    window.CloseAllWindows();
    save("frmT2MasterMDI");
    for (const QString& name : t2::RegisteredWindowNames()) {
        FillSample(state);
        window.UpdateStatusBar();
        QWidget* w = window.OpenWindow(name);
        if (!w) continue;
        ShowSampleDevice(w);
        save(name);
        // The device window's other frames.
        if (auto* devices = dynamic_cast<t2::frmT2ConfigureVantelDevices*>(w)) {
            for (const auto& [device, frame] : {std::pair{2, "_pushbutton"}, {6, "_photocell"}, {7, "_r6"}}) {
                devices->SelectDevice(device);
                save(name + frame);
            }
        }
    }

    // The timer window on an astronomical timer, and the astronomical clock
    // picking a city.
    FillSample(state);
    if (auto* timers = dynamic_cast<t2::frmT2TimersConfigure*>(window.OpenWindow("frmT2TimersConfigure"))) {
        timers->TimerList()->setCurrentIndex(6);
        timers->ShowTimerSettings();
        save("frmT2TimersConfigure_astro");
    }
    if (auto* astro = dynamic_cast<t2::frmT2AstroClockSettings*>(window.OpenWindow("frmT2AstroClockSettings"))) {
        if (auto* find = astro->findChild<QPushButton*>("cmdFindLatLon")) find->click();
        save("frmT2AstroClockSettings_city");
    }
    // The timer schedule's week and year on a sample with timers of every
    // kind, in the week daylight saving time starts.
    FillSample(state);
    state.Config.TimerRelayControl(6, 3) = 1;      // SUNSET: 30 Min After Sunset, parking on
    state.Config.TimerNames[8] = "CLOSING";
    state.Config.TimerTimeCode[8] = 24 + 128 + 64;   // 15 Min Before Close
    state.Config.TimerMinute[8] = 15;
    state.Config.TimerGroupControl(8, 0) = 2;
    state.Config.TimerNames[9] = "LATE";
    state.Config.TimerTimeCode[9] = 24 + 96 + 1;   // 300 Min After Sunset: past midnight
    state.Config.TimerMinute[9] = 44;
    state.Config.TimerRelayControl(9, 3) = 2;
    if (auto* schedule = dynamic_cast<t2::frmT2TimerSchedule*>(window.OpenWindow("frmT2TimerSchedule"))) {
        schedule->SetFrom({2026, 3, 6});
        save("frmT2TimerSchedule_week");
        schedule->Views()->setCurrentIndex(1);
        schedule->YearChart()->SetCursor(schedule->YearChart()->Cursor() + 60);
        save("frmT2TimerSchedule_year");
        schedule->Views()->setCurrentIndex(2);
        save("frmT2TimerSchedule_checks");
        schedule->Views()->setCurrentIndex(0);
    }
    window.CloseAllWindows();

    // Two editors worked from the keyboard: a cell with the focus shows its frame.
    FillSample(state);
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    for (const auto& [name, cell] : {std::pair{"frmT2RelayOutputOptions", "lblTimerType_2"},
                                     std::pair{"frmT2EditPresets", "lblRelayControl_2"}}) {
        QWidget* w = window.OpenWindow(name);
        if (!w) continue;
        if (QWidget* focus = w->findChild<QWidget*>(cell)) focus->setFocus(Qt::TabFocusReason);
        save(QString(name) + "_keyboard");
    }
    window.CloseAllWindows();

    // The connection window once more, connected to an in-process simulated
    // panel whose hardware matches the sample (so that nothing is asked).
    {
        t2::ScriptedPrompts quiet;
        t2::sim::PanelSimulator sim;
        if (sim.StartTcp(0)) {
            sim.Panel().SetRevision("TAMBERLINE II  V8.09  2024-05-14");
            sim.Panel().SetNodeCodes({4, 2, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0});
            sim.Panel().SetAddOnCard(1, 2);
            sim.Panel().SetClock({14, 5, 0, 3, 7, 14, 5});
            FillSample(state);
            state.Config.ConnectionType() = t2::ConnectTcpIp;
            state.Config.PanelAddress() = "127.0.0.1:" + std::to_string(sim.TcpPort());
            window.UpdateStatusBar();
            if (auto* connect = dynamic_cast<t2::frmT2Connect*>(window.OpenWindow("frmT2Connect"))) {
                connect->cmdConnect->click();
                if (state.PanelConnected) save("frmT2Connect_connected");
                connect->cmdDownLoadToT2->click();
                if (state.PanelConnected) save("frmT2Connect_password");
                connect->cmdPassWordCancel->click();
                // What a download of the sample would change in the (empty) panel.
                connect->cmdCompareWithT2->click();
                if (window.IsWindowOpen("frmT2CompareWithPanel")) save("frmT2CompareWithPanel_connected");
                window.OpenWindow("frmT2Connect");
                if (state.PanelConnected) SaveStatusWindows(window, sim.Panel(), save);
                connect->DisconnectCV();
            }
        }
    }
    window.ExitRequested = true;
    return failures ? 1 : 0;
}
