#include "AppTestSupport.h"
#include "NameTips.h"
#include "Prompts.h"
#include "RecentFiles.h"
#include "WindowCatalog.h"
#include "Twips.h"
#include "WindowRegistry.h"
#include "frmT2Document.h"
#include "frmT2MasterMDI.h"
#include "TimerScheduleWindow.h"
#include "TimerWindows.h"

#include "Defaults.h"
#include "SettingsFile.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTemporaryDir>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>
#include <tuple>

using namespace t2;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        RecentFiles::Clear();
        w = std::make_unique<frmT2MasterMDI>(state);
        w->Startup();
        w->show();
        w->tmrFix->stop();  // tests decide when DataChanged counts
    }
    void TearDown() override
    {
        w->ExitRequested = true;  // no questions while the fixture goes away
        w.reset();
    }

    // Open windows, in window-list order.
    QStringList OpenWindows() const
    {
        QStringList open;
        for (const QString& n : WindowList())
            if (w->IsWindowOpen(n)) open << n;
        return open;
    }

    // A configuration with unsaved changes and a file name, Setup open.
    void MakeChanged()
    {
        state.SettingsFileName = "/somewhere/SITE.TMB";
        state.Config.PanelName = "CHANGED";
        state.Config.NodeIOCount[3] = 2;
        w->OpenWindow("frmT2Setup");
        SetDataChanged(state, true);
        w->UpdateStatusBar();
    }

    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }

    QTemporaryDir dir;
    ProgramState state;
    ScriptedPrompts prompts;
    std::unique_ptr<frmT2MasterMDI> w;
};

struct Item {
    int depth;
    const char* name;
    const char* caption;
};

using MenuEntry = std::tuple<int, std::string, std::string>;

void Walk(const QList<QAction*>& actions, int depth, std::vector<MenuEntry>& out)
{
    for (QAction* a : actions) {
        out.emplace_back(depth, a->objectName().toStdString(),
                         a->isSeparator() ? "-" : a->text().toStdString());
        if (a->menu()) Walk(a->menu()->actions(), depth + 1, out);
    }
}

}  // namespace

TEST_F(MainWindowTest, MenuTreeHasEveryItemInOrder)
{
    const std::vector<Item> expected = {
        {0, "mnuFile", "&File"},
        {1, "mnuNew", "New"}, {1, "mnuOpen", "Open"}, {1, "mnuSave", "Save"},
        {1, "mnuSaveAs", "Save As"}, {1, "mnuSpace", "-"},
        {1, "mnuExportNames", "Export Names..."}, {1, "mnuImportNames", "Import Names..."},
        {1, "mnuNamesSpace", "-"},
        {1, "mnuRecentFile_0", ""}, {1, "mnuRecentFile_1", ""}, {1, "mnuRecentFile_2", ""},
        {1, "mnuRecentFile_3", ""}, {1, "mnuRecentSpace", "-"},
        {1, "mnuExit", "Exit"},
        {0, "mnuConnect", "&Connect"},
        {0, "mnuSetup", "&Setup"},
        {0, "mnuEdit", "&Edit"},
        {1, "mnuUndo", "Undo"}, {1, "mnuRedo", "Redo"}, {1, "mnuEditSpace", "-"},
        {1, "mnuRelayOutputs", "Relay Outputs"},
        {2, "mnuRelayStatus", "Relay Status"}, {2, "mnuGroupStatus", "Group Status"},
        {2, "mnuRelayOutputOptions", "Relay Output Options"}, {2, "mnuRelayGrouping", "Relay Grouping"},
        {1, "mnuSwitchInputs", "Switch Inputs"},
        {2, "mnuLocalInputs", "Local Inputs"},
        {3, "mnuInputStatus", "Input Status"}, {3, "mnuInputOptions", "Input Options"},
        {3, "mnuInputToRelayControl", "Input To Relay Control"},
        {3, "mnuInputToGroupControl", "Input To Group Control"},
        {2, "mnuVantelInputs", "Vantel Inputs"},
        {3, "mnuVantelStatus", "Vantel Status"},
        {3, "mnuConfigureVantelDevices", "Configure Vantel Devices"},
        {3, "mnuVantelInputToRelayControl", "Vantel Input To Relay Control"},
        {3, "mnuVantelInputToGroupControl", "Vantel Input To Group Control"},
        {1, "mnuSwitchPilots", "Switch Pilots"},
        {2, "mnuLocalInputPilots", "Local Input Pilots"}, {2, "mnuVantelPilots", "Vantel Pilots"},
        {1, "mnuTimers", "Timers"},
        {2, "mnuConfigureTimers", "Configure Timers"},
        {2, "mnuTimerToRelayControl", "Timer To Relay Control"},
        {2, "mnuTimerToGroupControl", "Timer To Group Control"},
        {2, "mnuTimerToPresetControl", "Timer To Preset Control"},
        {2, "mnuBlinkAlertAndAlarmSettings", "Blink Alert And Alarm Settings"},
        {2, "mnuConfigureTimedOn", "Configure Timed-On"}, {2, "mnuForceTimers", "Force Timers"},
        {2, "mnuTimerSchedule", "Timer Schedule"},
        {1, "mnuSetTimes", "Set Times"},
        {2, "mnuDaylightSavingTime", "Daylight Saving Time"},
        {2, "mnuAstroClockSettings", "Astro Clock Settings"},
        {2, "mnuOpenAndCloseTimes", "Open And Close Times"},
        {3, "mnuOpenCloseTimeNormalDays", "Normal Days"},
        {3, "mnuOpenCloseTimeSingleDates", "Single Dates"},
        {2, "mnuOffHoursSweeps", "Off Hours Sweeps"},
        {3, "mnuOffHoursSweepInterval", "Interval"}, {3, "mnuOffHoursSweepRelays", "Relays"},
        {3, "mnuOffHoursSweepGroups", "Groups"},
        {2, "mnuInputActiveTimes", "Input Active Times"},
        {1, "mnuPresets", "Presets"},
        {2, "mnuEditPresets", "Edit Presets"}, {2, "mnuCapturePresets", "Capture Presets"},
        {1, "mnuAddOnModules", "Add-On Modules"},
        {1, "mnuSpecialFunctions", "Special Functions"},
        {2, "mnuEditNames", "Edit Names"},
        {3, "mnuEditPanelName", "Edit Panel Name"}, {3, "mnuEditRelayNames", "Edit Relay Names"},
        {3, "mnuEditGroupNames", "Edit Group Names"}, {3, "mnuEditInputNames", "Edit Input Names"},
        {3, "mnuEditTimerNames", "Edit Timer Names"}, {3, "mnuEditPresetNames", "Edit Preset Names"},
        {3, "mnuEditVantelNames", "Edit Vantel Names"},
        {2, "mnuPhotocellFilter", "Photocell Filter"}, {2, "mnuRelayDrive", "Relay Drive"},
        {2, "mnuRTCSource", "RTC Source"},
        {0, "mnuDocument", "&Document"},
        {0, "mnuAbout", "&About"},
    };

    std::vector<MenuEntry> got;
    Walk(w->menuBar()->actions(), 0, got);
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(got[i], MenuEntry(expected[i].depth, expected[i].name, expected[i].caption));
        EXPECT_EQ(w->MenuItem(expected[i].name), w->findChild<QAction*>(expected[i].name));
    }
    EXPECT_TRUE(w->MenuItem("mnuSpace")->isSeparator());
    // Relay Drive is shown but starts disabled, and nothing enables it.
    EXPECT_TRUE(w->MenuItem("mnuRelayDrive")->isVisible());
    EXPECT_FALSE(w->MenuItem("mnuRelayDrive")->isEnabled());
    w->DisableMainMenus();
    w->EnableMainMenus();
    EXPECT_FALSE(w->MenuItem("mnuRelayDrive")->isEnabled());
    // No recent files yet: their items and separator are hidden.
    for (const char* name : {"mnuRecentFile_0", "mnuRecentFile_3", "mnuRecentSpace"})
        EXPECT_FALSE(w->MenuItem(name)->isVisible()) << name;
    EXPECT_EQ(w->MenuItem("mnuNew")->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(w->MenuItem("mnuOpen")->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(w->MenuItem("mnuSave")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(w->MenuItem("mnuExit")->shortcut(), QKeySequence("Ctrl+Q"));
    EXPECT_EQ(w->MenuItem("mnuUndo")->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(w->MenuItem("mnuRedo")->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
}

TEST_F(MainWindowTest, EveryMenuLeafClosesTheOpenWindowAndShowsItsOwn)
{
    const std::vector<std::pair<const char*, const char*>> leaves = {
        {"mnuConnect", "frmT2Connect"}, {"mnuSetup", "frmT2Setup"},
        {"mnuRelayStatus", "frmT2RelayStatus"}, {"mnuGroupStatus", "frmT2RelayGroupStatus"},
        {"mnuRelayOutputOptions", "frmT2RelayOutputOptions"}, {"mnuRelayGrouping", "frmT2RelayGrouping"},
        {"mnuInputStatus", "frmT2InputStatus"}, {"mnuInputOptions", "frmT2InputOptions"},
        {"mnuInputToRelayControl", "frmT2InputToRelayControl"},
        {"mnuInputToGroupControl", "frmT2InputToGroupControl"}, {"mnuVantelStatus", "frmT2VantelStatus"},
        {"mnuConfigureVantelDevices", "frmT2ConfigureVantelDevices"},
        {"mnuVantelInputToRelayControl", "frmT2VantelInputToRelayControl"},
        {"mnuVantelInputToGroupControl", "frmT2VantelInputToGroupControl"},
        {"mnuLocalInputPilots", "frmT2LocalInputPilots"}, {"mnuVantelPilots", "frmT2VantelPilots"},
        {"mnuConfigureTimers", "frmT2TimersConfigure"},
        {"mnuTimerToRelayControl", "frmT2TimerToRelayControl"},
        {"mnuTimerToGroupControl", "frmT2TimerToGroupControl"},
        {"mnuTimerToPresetControl", "frmT2TimerToPresetControl"},
        {"mnuBlinkAlertAndAlarmSettings", "frmT2BlinkAlertAndAlarmSettings"},
        {"mnuConfigureTimedOn", "frmT2ConfigureTimedOn"}, {"mnuForceTimers", "frmT2ForceTimers"},
        {"mnuTimerSchedule", "frmT2TimerSchedule"},
        {"mnuDaylightSavingTime", "frmT2DaylightSavingTime"},
        {"mnuAstroClockSettings", "frmT2AstroClockSettings"},
        {"mnuOpenCloseTimeNormalDays", "frmT2OpenAndCloseTimeNormalDays"},
        {"mnuOpenCloseTimeSingleDates", "frmT2OpenAndCloseTimeSingleDates"},
        {"mnuOffHoursSweepInterval", "frmT2OffHoursSweepInterval"},
        {"mnuOffHoursSweepRelays", "frmT2OffHoursSweepRelays"},
        {"mnuOffHoursSweepGroups", "frmT2OffHoursSweepGroups"},
        {"mnuInputActiveTimes", "frmT2InputActiveTimes"}, {"mnuEditPresets", "frmT2EditPresets"},
        {"mnuCapturePresets", "frmT2CapturePresets"}, {"mnuEditPanelName", "frmT2EditPanelName"},
        {"mnuEditRelayNames", "frmT2EditRelayNames"}, {"mnuEditGroupNames", "frmT2EditGroupNames"},
        {"mnuEditInputNames", "frmT2EditInputNames"}, {"mnuEditTimerNames", "frmT2EditTimerNames"},
        {"mnuEditPresetNames", "frmT2EditPresetNames"}, {"mnuEditVantelNames", "frmT2EditVantelNames"},
        {"mnuPhotocellFilter", "frmT2PhotocellFilter"},
        {"mnuRTCSource", "frmT2RTCSource"}, {"mnuDocument", "frmT2Document"},
        {"mnuAbout", "frmT2About"},
    };
    auto* connect = static_cast<FakeConnect*>(w->Window("frmT2Connect"));
    for (const auto& [menu, window] : leaves) {
        SCOPED_TRACE(menu);
        int stops = connect->pollingStops;
        w->MenuItem(menu)->trigger();
        EXPECT_EQ(OpenWindows(), QStringList{window});
        EXPECT_NE(w->FindWindow(window), nullptr);
        // The connection window is only hidden, with its polling stopped.
        EXPECT_GT(connect->pollingStops, stops);
    }
    // The disabled Relay Drive item opens nothing; its window opens by name.
    w->MenuItem("mnuRelayDrive")->trigger();
    EXPECT_EQ(OpenWindows(), QStringList{"frmT2About"});
    w->OpenWindow("frmT2RelayDrive");
    EXPECT_EQ(OpenWindows(), QStringList{"frmT2RelayDrive"});
    // Each window exists once and is kept.
    EXPECT_EQ(FakeConnect::instances, 1);
    QWidget* setup = w->FindWindow("frmT2Setup");
    w->MenuItem("mnuSetup")->trigger();
    EXPECT_EQ(w->FindWindow("frmT2Setup"), setup);
    // Shown again whole: the frame and the window inside it.
    EXPECT_TRUE(setup->isVisible());
    EXPECT_TRUE(setup->parentWidget()->isVisible());
}

TEST_F(MainWindowTest, AddOnModulesOpensTheWindowOfTheModuleType)
{
    const char* const names[] = {"frmT2AddOnModuleNone", "frmT2AddOnModuleDMX", "frmT2AddOnModuleModBus",
                                 "frmT2AddOnModuleN2", "frmT2AddOnModuleVoiceDTMF", "frmT2AddOnModuleBACnet"};
    for (int type = 0; type <= 5; ++type) {
        SCOPED_TRACE(type);
        w->OpenWindow("frmT2Setup");
        state.Config.AddOnModuleType = static_cast<Integer>(type);
        w->MenuItem("mnuAddOnModules")->trigger();
        ASSERT_EQ(AddOnModuleWindowName(type), names[type]);
        EXPECT_EQ(OpenWindows(), QStringList{names[type]});
        // The module's own window, not a stand-in.
        QWidget* window = w->FindWindow(names[type]);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(IsWindowBuilt(names[type]));
        EXPECT_EQ(window->windowTitle(), FindWindowEntry(names[type])->caption);
        EXPECT_EQ(window->findChild<QComboBox*>("cboNewDMX") != nullptr, type == 1);
        EXPECT_EQ(window->findChild<QComboBox*>("cboParity") != nullptr, type == 2);
        EXPECT_EQ(window->findChild<QLabel*>("lblNoAddOnModule") != nullptr, type != 1 && type != 2);
    }
    // A modem or an Ethernet card has no window: a message says so. Any
    // other module type opens nothing and says nothing.
    const std::vector<std::pair<int, QString>> others = {
        {6, "No Settings For The Installed Add-On Module (Modem)."},
        {7, "No Settings For The Installed Add-On Module (Ethernet)."},
        {-1, ""}, {8, ""}, {99, ""}};
    for (const auto& [type, message] : others) {
        SCOPED_TRACE(type);
        w->OpenWindow("frmT2Setup");
        state.Config.AddOnModuleType = static_cast<Integer>(type);
        prompts.asked.clear();
        w->MenuItem("mnuAddOnModules")->trigger();
        EXPECT_EQ(OpenWindows(), QStringList{"frmT2Setup"});
        if (message.isEmpty()) {
            EXPECT_TRUE(prompts.asked.empty());
            continue;
        }
        ASSERT_EQ(prompts.asked.size(), 1u);
        EXPECT_EQ(prompts.asked[0].text, message);
        EXPECT_EQ(prompts.asked[0].title, "VEL Tamberline II");
        EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Information);
        EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::Ok);
    }
}

TEST_F(MainWindowTest, ShowingAWindowActivatesItOnceEachTime)
{
    auto* connect = static_cast<FakeConnect*>(w->Window("frmT2Connect"));
    int before = connect->activations;
    w->MenuItem("mnuConnect")->trigger();
    EXPECT_EQ(connect->activations, before + 1);
    w->MenuItem("mnuSetup")->trigger();
    w->MenuItem("mnuConnect")->trigger();
    EXPECT_EQ(connect->activations, before + 2);

    // The About window copies its version into VersionText when activated.
    state.VersionText.clear();
    w->MenuItem("mnuAbout")->trigger();
    EXPECT_EQ(state.VersionText, "Version 8.09");
}

TEST_F(MainWindowTest, StartupLeavesACleanFreshConfiguration)
{
    EXPECT_TRUE(QFileInfo(Q(ProgramFolder())).isDir());
    EXPECT_TRUE(QFileInfo(Q(DocumentationFolder())).isDir());
    EXPECT_EQ(state.SettingsFileName, "None");
    EXPECT_FALSE(state.DataChanged);
    EXPECT_EQ(state.Config.NodeIOCount[0], 1);
    EXPECT_EQ(state.Config.RelayNames[0], "RELAY 01");
    EXPECT_EQ(OpenWindows(), QStringList{"frmT2About"});
    EXPECT_EQ(state.VersionText, "Version 8.09");
    EXPECT_EQ(w->StatusPanel1->text(), " File Name: None");
    EXPECT_EQ(w->StatusPanel2->text(), "Disconnected");
    EXPECT_EQ(w->windowTitle(), "VEL Tamberline II");
    EXPECT_EQ(w->size(), frmT2MasterMDI::NormalSize());
    EXPECT_FALSE(w->NetworkDiagnosticsVisible());

    // tmrFix: once, after a second, clears DataChanged.
    EXPECT_TRUE(w->tmrFix->isSingleShot());
    EXPECT_EQ(w->tmrFix->interval(), 1000);
    SetDataChanged(state, true);
    w->tmrFix->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !state.DataChanged; }, 3000));
    EXPECT_FALSE(w->tmrFix->isActive());
    EXPECT_EQ(w->windowTitle(), "VEL Tamberline II");
}

TEST_F(MainWindowTest, CaptionShowsFileNameAndUnsavedMark)
{
    SetDataChanged(state, true);
    EXPECT_EQ(w->windowTitle(), "VEL Tamberline II *");
    prompts.fileNames = {Q(Path("SITE.TMB"))};
    w->MenuItem("mnuSave")->trigger();
    EXPECT_EQ(w->windowTitle(), "VEL Tamberline II - SITE.TMB");
    SetDataChanged(state, true);
    EXPECT_EQ(w->windowTitle(), "VEL Tamberline II - SITE.TMB *");
}

// New, Open, Exit and the close box, each answered No to the discard question.
TEST_F(MainWindowTest, DiscardQuestionAnsweredNoLeavesEverythingAsItWas)
{
    const std::vector<std::pair<const char*, std::function<void()>>> commands = {
        {"New", [&] { w->MenuItem("mnuNew")->trigger(); }},
        {"Open", [&] { w->MenuItem("mnuOpen")->trigger(); }},
        {"Exit", [&] { w->MenuItem("mnuExit")->trigger(); }},
        {"close box", [&] { w->close(); }},
    };
    for (const auto& [label, command] : commands) {
        SCOPED_TRACE(label);
        MakeChanged();
        const PanelConfig config = state.Config;
        const QString caption = w->windowTitle();
        prompts.asked.clear();
        prompts.answers = {PromptAnswer::No};
        command();
        ASSERT_EQ(prompts.asked.size(), 1u);
        EXPECT_EQ(prompts.asked[0].text, "Discard Any Changes?");
        EXPECT_EQ(prompts.asked[0].title, "VEL Tamberline II");
        EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::YesNo);
        EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Question);
        EXPECT_TRUE(prompts.fileAsked.empty());
        EXPECT_TRUE(state.Config == config);
        EXPECT_EQ(state.SettingsFileName, "/somewhere/SITE.TMB");
        EXPECT_TRUE(state.DataChanged);
        EXPECT_EQ(OpenWindows(), QStringList{"frmT2Setup"});
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->windowTitle(), caption);
    }
}

TEST_F(MainWindowTest, CancelledFileDialogsChangeNothing)
{
    // Open after Yes, cancelled or given the start pattern; Save As likewise.
    const std::vector<std::tuple<const char*, const char*, QString>> cases = {
        {"Open cancelled", "mnuOpen", ""},
        {"Open start pattern", "mnuOpen", frmT2MasterMDI::StartPattern()},
        {"Save As cancelled", "mnuSaveAs", ""},
        {"Save As start pattern", "mnuSaveAs", frmT2MasterMDI::StartPattern()},
    };
    for (const auto& [label, menu, answer] : cases) {
        SCOPED_TRACE(label);
        MakeChanged();
        const PanelConfig config = state.Config;
        prompts.answers = {PromptAnswer::Yes};
        prompts.fileNames = {answer};
        prompts.fileAsked.clear();
        w->MenuItem(menu)->trigger();
        EXPECT_EQ(prompts.fileAsked.size(), 1u);
        EXPECT_TRUE(prompts.fileNames.empty());
        EXPECT_TRUE(state.Config == config);
        EXPECT_EQ(state.SettingsFileName, "/somewhere/SITE.TMB");
        EXPECT_TRUE(state.DataChanged);
        EXPECT_EQ(OpenWindows(), QStringList{"frmT2Setup"});
    }
    EXPECT_FALSE(QFileInfo::exists(frmT2MasterMDI::StartPattern()));
}

TEST_F(MainWindowTest, SaveWithoutAFileAsksForOneThenSavesInPlace)
{
    state.Config.PanelName = "LOBBY";
    SetDataChanged(state, true);
    const std::string path = Path("SITE.TMB");
    prompts.fileNames = {Q(path)};
    w->MenuItem("mnuSave")->trigger();
    ASSERT_EQ(prompts.fileAsked.size(), 1u);
    EXPECT_TRUE(prompts.fileAsked[0].save);
    EXPECT_EQ(prompts.fileAsked[0].startName, frmT2MasterMDI::StartPattern());
    EXPECT_TRUE(prompts.fileAsked[0].filter.startsWith("Tamberline II Data Files (*.TMB"));
    EXPECT_EQ(state.SettingsFileName, path);
    EXPECT_FALSE(state.DataChanged);
    EXPECT_EQ(w->StatusPanel1->text(), " File Name: " + Q(path));

    PanelConfig read;
    VantelDevices devices;
    ASSERT_TRUE(ReadSettingsFile(path, read, devices, nullptr));
    EXPECT_EQ(read.PanelName, "LOBBY");

    // With a file name, Save writes without asking.
    state.Config.PanelName = "FOYER";
    SetDataChanged(state, true);
    w->MenuItem("mnuSave")->trigger();
    EXPECT_EQ(prompts.fileAsked.size(), 1u);
    EXPECT_FALSE(state.DataChanged);
    ASSERT_TRUE(ReadSettingsFile(path, read, devices, nullptr));
    EXPECT_EQ(read.PanelName, "FOYER");
}

TEST_F(MainWindowTest, OpenReadsTheFileAndNewResets)
{
    ProgramState other;
    ResetConfiguration(other);
    other.Config.PanelName = "WAREHOUSE";
    other.Config.NodeIOCount = {8, 4};
    other.Config.ModemPhoneNumber() = "5551234";
    other.Devices[5].DeviceType = 3;
    const std::string path = Path("OTHER.TMB");
    ASSERT_TRUE(WriteSettingsFile(path, other.Config, other.Devices, nullptr));

    w->OpenWindow("frmT2Setup");
    prompts.fileNames = {Q(path)};
    w->MenuItem("mnuOpen")->trigger();
    EXPECT_TRUE(prompts.asked.empty());  // nothing unsaved, no question
    ASSERT_EQ(prompts.fileAsked.size(), 1u);
    EXPECT_FALSE(prompts.fileAsked[0].save);
    EXPECT_EQ(prompts.fileAsked[0].startName, frmT2MasterMDI::StartPattern());
    EXPECT_TRUE(state.Config == other.Config);
    EXPECT_TRUE(state.Devices == other.Devices);
    EXPECT_EQ(state.SettingsFileName, path);
    EXPECT_FALSE(state.DataChanged);
    EXPECT_EQ(OpenWindows(), QStringList{"frmT2About"});
    EXPECT_EQ(w->windowTitle(), "VEL Tamberline II - OTHER.TMB");

    // The start pattern is offered to the first Open only.
    prompts.fileNames = {""};
    w->MenuItem("mnuOpen")->trigger();
    EXPECT_EQ(prompts.fileAsked.back().startName, "");

    // New after a change, answered Yes: fresh configuration and no file.
    SetDataChanged(state, true);
    prompts.answers = {PromptAnswer::Yes};
    w->MenuItem("mnuNew")->trigger();
    EXPECT_EQ(state.SettingsFileName, "None");
    EXPECT_FALSE(state.DataChanged);
    EXPECT_EQ(state.Config.PanelName, "");
    EXPECT_EQ(state.Config.NodeIOCount[0], 1);
    EXPECT_EQ(state.Devices[5].DeviceType, 0);
    EXPECT_EQ(OpenWindows(), QStringList{"frmT2About"});
    EXPECT_EQ(w->StatusPanel1->text(), " File Name: None");
}

#ifndef _WIN32  // named pipes as Linux has them
TEST_F(MainWindowTest, FailedOpenKeepsEverything)
{
    QFile bad(dir.filePath("SHORT.TMB"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a settings file");
    bad.close();
    // A named pipe nobody writes to would keep the window waiting for ever.
    const QString pipe = dir.filePath("PIPE.TMB");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (bool changed : {false, true}) {
        for (QString path : {bad.fileName(), dir.filePath("MISSING.TMB"), pipe, dir.path()}) {
            SCOPED_TRACE(path.toStdString());
            MakeChanged();
            SetDataChanged(state, changed);
            const PanelConfig config = state.Config;
            prompts.asked.clear();
            if (changed) prompts.answers = {PromptAnswer::Yes};
            prompts.fileNames = {path};
            w->MenuItem("mnuOpen")->trigger();
            ASSERT_FALSE(prompts.asked.empty());
            EXPECT_EQ(prompts.asked.back().icon, PromptIcon::Exclamation);
            EXPECT_TRUE(prompts.asked.back().text.startsWith("The settings file could not be opened."));
            EXPECT_TRUE(state.Config == config);
            EXPECT_EQ(state.SettingsFileName, "/somewhere/SITE.TMB");
            EXPECT_EQ(state.DataChanged, changed);
            EXPECT_EQ(w->StatusPanel1->text(), " File Name: /somewhere/SITE.TMB");
        }
    }
}
#endif

TEST_F(MainWindowTest, FailedSaveKeepsDataChanged)
{
    const std::string unreachable = Path("no such folder/SITE.TMB");
    // Save to the current file name.
    MakeChanged();
    state.SettingsFileName = unreachable;
    w->MenuItem("mnuSave")->trigger();
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_TRUE(prompts.asked[0].text.startsWith("The settings file could not be saved."));
    EXPECT_TRUE(state.DataChanged);
    EXPECT_TRUE(w->windowTitle().endsWith(" *"));

    // Save As to a place that cannot be written keeps the old name too.
    state.SettingsFileName = "None";
    prompts.fileNames = {Q(unreachable)};
    w->MenuItem("mnuSave")->trigger();
    EXPECT_EQ(prompts.asked.size(), 2u);
    EXPECT_TRUE(state.DataChanged);
    EXPECT_EQ(state.SettingsFileName, "None");
}

TEST_F(MainWindowTest, ExitAndCloseBoxCloseEverything)
{
    // Close box with changes, answered Yes.
    w->OpenWindow("frmT2Connect");
    w->OpenWindow("frmT2Setup");
    SetDataChanged(state, true);
    prompts.answers = {PromptAnswer::Yes};
    w->close();
    EXPECT_EQ(prompts.asked.size(), 1u);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(OpenWindows().isEmpty());

    // Exit with nothing unsaved asks nothing and disconnects.
    auto w2 = std::make_unique<frmT2MasterMDI>(state);
    w2->Startup();
    w2->show();
    int disconnects = 0;
    w2->SetDisconnectHandler([&] { ++disconnects; });
    prompts.asked.clear();
    w2->MenuItem("mnuExit")->trigger();
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_FALSE(w2->isVisible());
    EXPECT_TRUE(w2->ExitRequested);
    EXPECT_GE(disconnects, 1);
    w2.reset();
}

TEST_F(MainWindowTest, NewAndOpenDisconnectFirst)
{
    int disconnects = 0;
    w->SetDisconnectHandler([&] { ++disconnects; });
    w->MenuItem("mnuNew")->trigger();
    EXPECT_EQ(disconnects, 1);
    const std::string path = Path("A.TMB");
    ASSERT_TRUE(WriteSettingsFile(path, state.Config, state.Devices, nullptr));
    prompts.fileNames = {Q(path)};
    w->MenuItem("mnuOpen")->trigger();
    EXPECT_EQ(disconnects, 2);
    w->SetDisconnectHandler(nullptr);
}

TEST_F(MainWindowTest, MaintenanceFileRevealsNetworkDiagnosticsUntilNextStart)
{
    bool told = false;
    w->SetNetworkDiagnosticsHandler([&](bool visible) { told = visible; });
    prompts.fileNames = {Q(MaintenanceFileName())};
    w->MenuItem("mnuSaveAs")->trigger();
    EXPECT_TRUE(w->NetworkDiagnosticsVisible());
    EXPECT_TRUE(told);
    ASSERT_TRUE(QFileInfo::exists(Q(MaintenanceFileName())));

    // Compared without regard to case.
    state.SettingsFileName = Q(MaintenanceFileName()).toUpper().toStdString();
    w->UpdateStatusBar();
    EXPECT_TRUE(w->NetworkDiagnosticsVisible());
    state.SettingsFileName = Path("OTHER.TMB");
    w->UpdateStatusBar();
    EXPECT_FALSE(w->NetworkDiagnosticsVisible());
    EXPECT_FALSE(told);
    w->SetNetworkDiagnosticsHandler(nullptr);

    // The next start deletes the file, under any spelling of its name, and
    // hides the button again.
    const QString lower = QFileInfo(Q(MaintenanceFileName())).dir().filePath("tamberline ii maintenance.tmb");
    prompts.fileNames = {lower};
    w->MenuItem("mnuSaveAs")->trigger();
    EXPECT_TRUE(w->NetworkDiagnosticsVisible());
    const QString other = QFileInfo(Q(MaintenanceFileName())).dir().filePath("Tamberline II Site.TMB");
    ASSERT_TRUE(WriteSettingsFile(other.toStdString(), state.Config, state.Devices, nullptr));
    w.reset();
    ProgramState fresh;
    w = std::make_unique<frmT2MasterMDI>(fresh);
    w->Startup();
    EXPECT_FALSE(QFileInfo::exists(Q(MaintenanceFileName())));
    EXPECT_FALSE(QFileInfo::exists(lower));
    EXPECT_TRUE(QFileInfo::exists(other));
    EXPECT_FALSE(w->NetworkDiagnosticsVisible());
    w.reset();
    w = std::make_unique<frmT2MasterMDI>(state);
}

TEST_F(MainWindowTest, MainMenusSwitchTogether)
{
    w->DisableMainMenus();
    QStringList disabled;
    for (QAction* a : w->TopMenus())
        if (!a->isEnabled()) disabled << a->objectName();
    EXPECT_EQ(disabled, (QStringList{"mnuFile", "mnuConnect", "mnuSetup", "mnuEdit", "mnuDocument",
                                     "mnuAbout"}));
    w->EnableMainMenus();
    for (QAction* a : w->TopMenus()) EXPECT_TRUE(a->isEnabled());
}

// While a transfer or an automatic update holds the menus, the File keys do
// nothing either: New must not drop the connection in the middle of it.
TEST_F(MainWindowTest, FileKeysWaitWhileTheMenusAreDisabled)
{
    w->activateWindow();
    QApplication::setActiveWindow(w.get());
    state.SettingsFileName = "/somewhere/SITE.TMB";
    SetDataChanged(state, false);
    w->DisableMainMenus();
    QTest::keyClick(w.get(), Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(w.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(state.SettingsFileName, "/somewhere/SITE.TMB");
    EXPECT_TRUE(w->isVisible());
    w->EnableMainMenus();
    QTest::keyClick(w.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(state.SettingsFileName, "None");
}

TEST_F(MainWindowTest, NormalStateKeepsItsSize)
{
    w->resize(300, 200);
    EXPECT_EQ(w->size(), frmT2MasterMDI::NormalSize());
    EXPECT_EQ(frmT2MasterMDI::NormalSize(), TwipsSize(11055, 8145));
}

namespace {

// What of an open child window does not show whole: its frame outside the
// main window's client area, a label outside the window, or a label whose
// text is cut without a tool tip that shows it whole.
QStringList WhatDoesNotFit(frmT2MasterMDI& w, QWidget* window)
{
    QStringList problems;
    auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    if (!sub) return {"not in a frame of the main window"};
    const QRect area = w.mdiArea->viewport()->rect();
    if (!area.contains(sub->geometry()))
        problems << QString("frame %1x%2 at %3,%4 outside the client area %5x%6")
                        .arg(sub->width()).arg(sub->height()).arg(sub->x()).arg(sub->y())
                        .arg(area.width()).arg(area.height());
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(window) || label->text().isEmpty()) continue;
        const QRect inWindow(label->mapTo(window, QPoint(0, 0)), label->size());
        if (!window->rect().contains(inWindow))
            problems << label->objectName() + " outside the window";
        if (!LabelTextFits(label) && !ShowsWholeNameInToolTip(label) && !label->toolTip().contains(label->text()))
            problems << label->objectName() + " cut: \"" + label->text() + "\"";
    }
    return problems;
}

// The most a configuration can make the windows show: 48 I/O points, every
// name ten wide letters, a device of every type, every input type and an
// astronomical timer whose time lies on the next day.
void FillWidest(ProgramState& s)
{
    ResetConfiguration(s);
    s.Config.NodeIOCount.fill(0);
    for (int node = 0; node < 6; ++node) s.Config.NodeIOCount[node] = 2;
    const std::string wide(10, 'W');
    s.Config.PanelName = wide;
    for (std::size_t i = 0; i < ItemSlots; ++i) {
        s.Config.RelayNames[i] = s.Config.GroupNames[i] = s.Config.InputNames[i] = wide;
        s.Config.TimerNames[i] = s.Config.PresetNames[i] = wide;
        s.Config.InputType[i] = static_cast<Integer>(i % 13);
    }
    for (int d = 1; d < DeviceSlots; ++d) {
        s.Devices[d].DeviceType = static_cast<Integer>(d % 10);
        s.Devices[d].DeviceName = wide;
        for (std::size_t k = 0; k < DeviceInputSlots; ++k) s.Devices[d].DeviceInputType[k] = static_cast<Integer>(k);
    }
    s.Config.Latitude = 65;
    s.Config.Longitude = 148;
    s.Config.TimeZone = 4;
    s.Config.TimerTimeCode[0] = 24 + 96;   // 30 Min After Sunset
    s.Config.TimerMinute[0] = 30;
    s.Config.AddOnModuleType = 1;
}

}  // namespace

// Every window of the catalog, the ones added later included, opens whole
// inside the main window with the most it can show; the main window grows
// for one that needs more room than its normal size gives.
TEST_F(MainWindowTest, EveryWindowFitsTheMainWindow)
{
    // The real connection window, not the stand-in of the other tests.
    RegisterAllWindows();
    struct StandInBack {
        ~StandInBack() { RegisterWindow("frmT2Connect", [](ProgramState&) { return new FakeConnect; }); }
    } standIn;
    FillWidest(state);
    w->UpdateStatusBar();
    QStringList grown;
    for (const WindowEntry& entry : RegisteredWindows()) {
        SCOPED_TRACE(entry.name.toStdString());
        QWidget* window = w->OpenWindow(entry.name);
        ASSERT_NE(window, nullptr);
        QCoreApplication::processEvents();
        EXPECT_EQ(WhatDoesNotFit(*w, window).join("; ").toStdString(), "");
        if (w->size() != frmT2MasterMDI::NormalSize()) grown << entry.name;
        EXPECT_EQ(w->size(), w->KeptSize());
        // A window that picks a device shows each type in turn.
        for (QComboBox* devices : window->findChildren<QComboBox*>()) {
            if (!devices->isVisible() || devices->count() < 11 || devices->itemText(0) != "Select Device") continue;
            for (int d = 1; d <= 10; ++d) {
                SCOPED_TRACE("device type " + std::to_string(d % 10));
                devices->setCurrentIndex(d);
                emit devices->activated(d);
                QCoreApplication::processEvents();
                EXPECT_EQ(WhatDoesNotFit(*w, window).join("; ").toStdString(), "");
            }
        }
    }
    // Input Options needs more room than the normal size gives; the main
    // window goes back to its normal size for a window that fits it.
    EXPECT_TRUE(grown.contains("frmT2InputOptions")) << grown.join(' ').toStdString();
    w->OpenWindow("frmT2Setup");
    EXPECT_EQ(w->size(), frmT2MasterMDI::NormalSize());
    w->resize(300, 200);
    EXPECT_EQ(w->size(), frmT2MasterMDI::NormalSize());
    w->OpenWindow("frmT2InputOptions");
    EXPECT_GT(w->width(), frmT2MasterMDI::NormalSize().width());
    w->resize(300, 200);
    EXPECT_EQ(w->size(), w->KeptSize());
}

TEST(Twips, FifteenTwipsArePixelAt96Dpi)
{
    const double dpi = LogicalDpi();
    EXPECT_EQ(Twips(1440), qRound(dpi));
    EXPECT_EQ(Twips(0), 0);
    if (dpi == 96.0) {
        EXPECT_EQ(Twips(15), 1);
        EXPECT_EQ(TwipsRect(120, 240, 1500, 300), QRect(8, 16, 100, 20));
    }
}

TEST(Registry, KnowsTheWindowListAndAddOnWindows)
{
    EXPECT_EQ(WindowList().size(), 55);   // the fixed list, the Timer Schedule and Compare With Tamberline II
    EXPECT_EQ(WindowList().front(), "frmT2Setup");
    EXPECT_EQ(WindowList().back(), "frmT2SystemDiagnostic");
    EXPECT_TRUE(IsWindowBuilt("frmT2Setup"));
    EXPECT_TRUE(IsWindowBuilt("frmT2About"));
    EXPECT_TRUE(RegisteredWindowNames().contains("frmT2Setup"));
    EXPECT_EQ(RegisteredWindowNames(), WindowList());   // every window of the list is built
    EXPECT_EQ(AddOnModuleWindowName(0), "frmT2AddOnModuleNone");
    EXPECT_EQ(AddOnModuleWindowName(5), "frmT2AddOnModuleBACnet");
    EXPECT_EQ(AddOnModuleWindowName(6), "");
    EXPECT_EQ(AddOnModuleWindowName(-1), "");
}

// The Timer Schedule's Checks open the window that fixes each, on its timer.
TEST_F(MainWindowTest, TimerScheduleChecksOpenTheWindowToFixThem)
{
    for (int t = 0; t < ItemCount; ++t) state.Config.TimerPresetControl(t, 0) = 1;
    state.Config.TimerDays[2] = 0x7F;              // timer 3: no weekday
    state.Config.TimerPresetControl(6, 0) = 0;     // timer 7 does nothing
    w->MenuItem("mnuTimerSchedule")->trigger();
    auto* schedule = dynamic_cast<frmT2TimerSchedule*>(w->FindWindow("frmT2TimerSchedule"));
    ASSERT_NE(schedule, nullptr);
    EXPECT_EQ(OpenWindows(), QStringList{"frmT2TimerSchedule"});
    schedule->Views()->setCurrentIndex(2);
    QTreeWidget* checks = schedule->ChecksList();
    ASSERT_EQ(checks->topLevelItemCount(), 2);
    EXPECT_EQ(checks->topLevelItem(0)->text(4), "Configure Timers");
    checks->setCurrentItem(checks->topLevelItem(0));
    QTest::mouseClick(schedule->FixButton(), Qt::LeftButton);
    EXPECT_EQ(OpenWindows(), QStringList{"frmT2TimersConfigure"});
    auto* timers = dynamic_cast<frmT2TimersConfigure*>(w->FindWindow("frmT2TimersConfigure"));
    ASSERT_NE(timers, nullptr);
    EXPECT_EQ(timers->Timer(), 2);

    // From the keyboard: Return on a line.
    w->MenuItem("mnuTimerSchedule")->trigger();
    schedule->Views()->setCurrentIndex(2);
    checks->setFocus();
    checks->setCurrentItem(checks->topLevelItem(1));
    EXPECT_EQ(checks->topLevelItem(1)->text(0), "T07");
    QTest::keyClick(checks, Qt::Key_Return);
    EXPECT_EQ(OpenWindows(), QStringList{"frmT2TimerToRelayControl"});
    auto* relays = dynamic_cast<frmT2TimerToRelayControl*>(w->FindWindow("frmT2TimerToRelayControl"));
    ASSERT_NE(relays, nullptr);
    EXPECT_EQ(relays->TimerList()->currentIndex(), 6);
    EXPECT_FALSE(state.DataChanged);
}

// Names and paths come from files: markup in them is shown as it is.
TEST_F(MainWindowTest, LabelsShowMarkupAsText)
{
    state.Config.RelayNames[0] = "<b>HALL</b>";
    state.SettingsFileName = "/sites/<i>A</i>.TMB";
    w->UpdateStatusBar();
    w->OpenWindow("frmT2RelayOutputOptions");
    QCoreApplication::processEvents();
    bool seen = false;
    for (QLabel* label : w->findChildren<QLabel*>()) {
        if (!label->isVisible()) continue;
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
        if (label->text() == "<b>HALL</b>") seen = true;
    }
    EXPECT_TRUE(seen);
    EXPECT_EQ(w->StatusPanel1->textFormat(), Qt::PlainText);
}

// ---------------------------------------------------------------------------
// Recent files

namespace {

// The File menu's visible items from Save As to Exit, as captions.
QStringList RecentItems(frmT2MasterMDI& w)
{
    QStringList items;
    bool inside = false;
    for (QAction* a : w.MenuItem("mnuFile")->menu()->actions()) {
        if (a->objectName() == "mnuExit") break;
        if (inside && a->isVisible()) items << (a->isSeparator() ? "-" : a->text());
        if (a->objectName() == "mnuImportNames") inside = true;   // the recent files come below the names items
    }
    return items;
}

}  // namespace

TEST_F(MainWindowTest, RecentFilesListOpenedAndSavedFilesAndReopenThem)
{
    ProgramState other;
    ResetConfiguration(other);
    other.Config.PanelName = "WAREHOUSE";
    const std::string site = Path("SITE.TMB");
    ASSERT_TRUE(WriteSettingsFile(site, other.Config, other.Devices, nullptr));
    EXPECT_EQ(RecentItems(*w), QStringList{"-"});

    // Open, then Save As under another name: newest first, with access keys.
    prompts.fileNames = {Q(site)};
    w->MenuItem("mnuOpen")->trigger();
    EXPECT_EQ(RecentItems(*w), (QStringList{"-", "&1 SITE.TMB", "-"}));
    state.Config.PanelName = "FOYER";
    SetDataChanged(state, true);
    const std::string copy = Path("COPY & MORE.TMB");
    prompts.fileNames = {Q(copy)};
    w->MenuItem("mnuSaveAs")->trigger();
    EXPECT_EQ(RecentItems(*w), (QStringList{"-", "&1 COPY && MORE.TMB", "&2 SITE.TMB", "-"}));
    EXPECT_EQ(w->MenuItem("mnuRecentFile_1")->statusTip(), Q(site));

    // Reopen SITE from the menu: read again, first in the list, nothing asked.
    prompts.asked.clear();
    prompts.fileAsked.clear();
    w->OpenWindow("frmT2Setup");
    w->MenuItem("mnuRecentFile_1")->trigger();
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_TRUE(prompts.fileAsked.empty());
    EXPECT_EQ(state.SettingsFileName, site);
    EXPECT_EQ(state.Config.PanelName, "WAREHOUSE");
    EXPECT_FALSE(state.DataChanged);
    EXPECT_EQ(OpenWindows(), QStringList{"frmT2About"});
    EXPECT_EQ(w->windowTitle(), "VEL Tamberline II - SITE.TMB");
    EXPECT_EQ(RecentItems(*w), (QStringList{"-", "&1 SITE.TMB", "&2 COPY && MORE.TMB", "-"}));

    // Saving in place keeps one entry per file; the list holds the last four,
    // and a name that two folders share shows its whole path.
    w->MenuItem("mnuSave")->trigger();
    QDir(dir.path()).mkdir("other");
    for (const char* name : {"B.TMB", "C.TMB", "other/SITE.TMB"}) {
        prompts.fileNames = {Q(Path(name))};
        w->MenuItem("mnuSaveAs")->trigger();
    }
    EXPECT_EQ(RecentItems(*w), (QStringList{"-", "&1 " + QDir::toNativeSeparators(Q(Path("other/SITE.TMB"))),
                                            "&2 C.TMB", "&3 B.TMB", "&4 " + QDir::toNativeSeparators(Q(site)), "-"}));

    // Kept between runs.
    w.reset();
    w = std::make_unique<frmT2MasterMDI>(state);
    EXPECT_EQ(RecentItems(*w).size(), 6);
    EXPECT_EQ(RecentFiles::List().front(), Q(Path("other/SITE.TMB")));
}

TEST_F(MainWindowTest, RecentFileAsksTheDiscardQuestionFirst)
{
    const std::string site = Path("SITE.TMB");
    ASSERT_TRUE(WriteSettingsFile(site, state.Config, state.Devices, nullptr));
    RecentFiles::Remember(Q(site));
    w->UpdateRecentFileItems();

    // No: everything stays as it was.
    MakeChanged();
    const PanelConfig config = state.Config;
    prompts.answers = {PromptAnswer::No};
    w->MenuItem("mnuRecentFile_0")->trigger();
    ASSERT_EQ(prompts.Texts(), QStringList{"Discard Any Changes?"});
    EXPECT_TRUE(state.Config == config);
    EXPECT_EQ(state.SettingsFileName, "/somewhere/SITE.TMB");
    EXPECT_TRUE(state.DataChanged);
    EXPECT_EQ(OpenWindows(), QStringList{"frmT2Setup"});

    // Yes: the file is opened.
    prompts.asked.clear();
    prompts.answers = {PromptAnswer::Yes};
    w->MenuItem("mnuRecentFile_0")->trigger();
    EXPECT_EQ(prompts.Texts(), QStringList{"Discard Any Changes?"});
    EXPECT_EQ(state.SettingsFileName, site);
    EXPECT_EQ(state.Config.PanelName, "");
    EXPECT_FALSE(state.DataChanged);
}

TEST_F(MainWindowTest, VanishedRecentFileIsRemovedWithAMessage)
{
    const std::string gone = Path("GONE.TMB");
    const std::string kept = Path("KEPT.TMB");
    ASSERT_TRUE(WriteSettingsFile(gone, state.Config, state.Devices, nullptr));
    ASSERT_TRUE(WriteSettingsFile(kept, state.Config, state.Devices, nullptr));
    RecentFiles::Remember(Q(kept));
    RecentFiles::Remember(Q(gone));
    ASSERT_TRUE(QFile::remove(Q(gone)));

    // The menu is read afresh when it opens.
    emit w->MenuItem("mnuFile")->menu()->aboutToShow();
    EXPECT_EQ(RecentItems(*w), (QStringList{"-", "&1 GONE.TMB", "&2 KEPT.TMB", "-"}));
    MakeChanged();
    const PanelConfig config = state.Config;
    prompts.answers = {PromptAnswer::Yes};
    w->MenuItem("mnuRecentFile_0")->trigger();
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[0].text, "Discard Any Changes?");
    EXPECT_EQ(prompts.asked[1].text, "The settings file " + QDir::toNativeSeparators(Q(gone)) +
                                         " no longer exists.\n\nIt has been removed from the list of recent files.");
    EXPECT_EQ(prompts.asked[1].icon, PromptIcon::Exclamation);
    EXPECT_EQ(prompts.asked[1].title, "VEL Tamberline II");
    // Nothing else changed; the list has lost the file.
    EXPECT_TRUE(state.Config == config);
    EXPECT_EQ(state.SettingsFileName, "/somewhere/SITE.TMB");
    EXPECT_TRUE(state.DataChanged);
    EXPECT_EQ(RecentItems(*w), (QStringList{"-", "&1 KEPT.TMB", "-"}));
    EXPECT_EQ(RecentFiles::List(), QStringList{Q(kept)});

    // A file that exists but cannot be read stays in the list.
    QFile bad(Q(kept));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bad.write("short");
    bad.close();
    prompts.asked.clear();
    prompts.answers = {PromptAnswer::Yes};
    w->MenuItem("mnuRecentFile_0")->trigger();
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_TRUE(prompts.asked[1].text.startsWith("The settings file could not be opened."));
    EXPECT_EQ(RecentFiles::List(), QStringList{Q(kept)});
}

// The Document window names the report after the settings file open: Open
// gives each site its own report, a file chosen with Browse stays through
// Save As, New goes back to "Tamberline II.txt".
TEST_F(MainWindowTest, TheReportFollowsTheOpenSettingsFile)
{
    ProgramState site;
    ResetConfiguration(site);
    for (const char* name : {"SITE.TMB", "NORTH.TMB"})
        ASSERT_TRUE(WriteSettingsFile(Path(name), site.Config, site.Devices, nullptr));
    const QDir docs(Q(DocumentationFolder()));
    auto report = [&] {
        auto* doc = dynamic_cast<frmT2Document*>(w->OpenWindow("frmT2Document"));
        return doc ? doc->DocFileName()->text() : QString();
    };
    EXPECT_EQ(report(), docs.filePath("Tamberline II.txt"));
    prompts.fileNames = {Q(Path("SITE.TMB"))};
    w->MenuItem("mnuOpen")->trigger();
    EXPECT_EQ(report(), docs.filePath("SITE.TXT"));

    prompts.fileNames = {Q(Path("Chosen.txt"))};
    QTest::mouseClick(dynamic_cast<frmT2Document*>(w->FindWindow("frmT2Document"))->BrowseButton(), Qt::LeftButton);
    prompts.fileNames = {Q(Path("SITE2.TMB"))};
    w->FileSaveAs();
    EXPECT_EQ(report(), Q(Path("Chosen.txt")));

    prompts.fileNames = {Q(Path("NORTH.TMB"))};
    w->MenuItem("mnuOpen")->trigger();
    EXPECT_EQ(report(), docs.filePath("NORTH.TXT"));
    w->FileNew();
    EXPECT_EQ(report(), docs.filePath("Tamberline II.txt"));
    EXPECT_TRUE(prompts.asked.empty()) << prompts.Texts().join(" | ").toStdString();
}
