// The status windows driven on the offscreen platform against the simulated
// panel over real loopback TCP/IP and a real pseudo-terminal, through the
// program's session and main window.
#include "StatusSession.h"
#include "StatusTestSupport.h"
#include "StatusWindows.h"

#include "Defaults.h"
#include "NameTips.h"
#include "PanelSession.h"
#include "PanelSimulator.h"
#include "Prompts.h"
#include "frmT2MasterMDI.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <algorithm>

using namespace t2;

namespace {

QColor Bg(const QWidget* w) { return w->palette().color(QPalette::Window); }

int CountOf(const std::vector<std::string>& commands, const std::string& text)
{
    return static_cast<int>(std::count(commands.begin(), commands.end(), text));
}

struct StatusWindows : ::testing::Test {
    ProgramState state;
    std::unique_ptr<frmT2MasterMDI> main;
    sim::PanelSimulator sim;
    std::unique_ptr<PanelSession> session;
    ScriptedPrompts prompts;

    void SetUp() override
    {
        ResetConfiguration(state);
        SetIoPoints(8);
        state.DataChanged = false;
        main = std::make_unique<frmT2MasterMDI>(state);
        main->show();
        session = std::make_unique<PanelSession>(state);
        SetActiveSession(session.get());
        // Time-outs in tenths of a second of a real one: a dead panel is found quickly.
        session->Exchange().SetMillisecondsPerSecond(50);
        SetStatusIntervalOverride(20);
    }
    void TearDown() override
    {
        main->CloseAllWindows();
        session->Disconnect();
        SetActiveSession(nullptr);
        SetStatusIntervalOverride(0);
        main.reset();
    }

    void SetIoPoints(int points)
    {
        state.Config.NodeIOCount.fill(0);
        for (int node = 0; points > 0 && node < NodeCount; ++node) {
            const int units = std::min(points / 4, 8);
            state.Config.NodeIOCount[node] = static_cast<Integer>(units);
            points -= units * 4;
        }
    }

    void ConnectTcp()
    {
        ASSERT_TRUE(sim.StartTcp(0));
        state.Config.ConnectionType() = ConnectTcpIp;
        LinkSettings link;
        link.connectionType = ConnectTcpIp;
        link.address = "127.0.0.1";
        link.tcpPort = sim.TcpPort();
        QString error;
        ASSERT_EQ(session->Connect(link, &error), ConnectResult::Connected) << error.toStdString();
        sim.Panel().ClearLog();
    }
    void ConnectPty()
    {
        QString error;
        ASSERT_TRUE(sim.StartPty(&error)) << error.toStdString();
        state.Config.ConnectionType() = ConnectDirectSerial;
        LinkSettings link;
        link.connectionType = ConnectDirectSerial;
        link.serialDevice = sim.PtyPath();
        ASSERT_EQ(session->Connect(link, &error), ConnectResult::Connected) << error.toStdString();
        sim.Panel().ClearLog();
    }

    template <typename W>
    W* Open(const QString& name)
    {
        auto* w = dynamic_cast<W*>(main->OpenWindow(name));
        EXPECT_NE(w, nullptr);
        return w;
    }
    template <typename W = QWidget>
    W* Child(QWidget* window, const QString& name)
    {
        W* w = window->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    std::vector<std::string> Commands() { return sim.Panel().Commands(); }
    bool MenusEnabled()
    {
        for (QAction* a : main->TopMenus())
            if (!a->isEnabled()) return false;
        return true;
    }
    void Click(QWidget* w)
    {
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(w->isVisible()) << w->objectName().toStdString();
        QTest::mouseClick(w, Qt::LeftButton);
    }
    // Panel memory: group g uses relay 0 (a group without relays is unused).
    void UseGroup(int g) { sim.Panel().SetMemory(0x7E0 + 6 * g, {0x01}); }
    void UsePreset(int p) { sim.Panel().SetMemory(0xED0 + 6 * p, {0x01}); }
};

}  // namespace

TEST_F(StatusWindows, NotConnectedShowsOnlyTheMessage)
{
    for (const char* name : {"frmT2RelayStatus", "frmT2RelayGroupStatus", "frmT2InputStatus", "frmT2VantelStatus",
                             "frmT2CapturePresets", "frmT2ForceTimers", "frmT2VirtualKeypad",
                             "frmT2SystemDiagnostic"}) {
        SCOPED_TRACE(name);
        QWidget* w = main->OpenWindow(name);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(Child(w, "lblNoConnection")->isVisible());
        EXPECT_EQ(Child<QLabel>(w, "lblNoConnection")->text(), "Not Connected To Tamberline II");
        int visibleButtons = 0;
        for (QPushButton* b : w->findChildren<QPushButton*>()) visibleButtons += b->isVisible();
        EXPECT_EQ(visibleButtons, 0);
        EXPECT_TRUE(MenusEnabled());
    }
    EXPECT_EQ(sim.Panel().CommandCount(), 0);
    EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(StatusWindows, RelayRowsCaptionsColoursAndSwitching)
{
    ConnectTcp();
    sim.Panel().SetRelay(0, true);
    sim.Panel().SetRelay(2, true);
    sim.Panel().SetRelay(9, true);  // beyond the 8 installed
    state.Config.RelayNames[1] = "HALL";
    auto* w = Open<frmT2RelayStatus>("frmT2RelayStatus");
    // TCP/IP: one reading on activation.
    EXPECT_EQ(Commands(), std::vector<std::string>{"23FF"});
    for (int i = 0; i < ItemCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(w->lblRelayName[i]->isVisible(), i < 8);
        EXPECT_EQ(w->cmdTurnOn[i]->isVisible(), i < 8);
        if (i >= 8) continue;
        const bool on = i == 0 || i == 2;
        EXPECT_EQ(w->lblRelayStatus[i]->text(), on ? "On" : "Off");
        EXPECT_EQ(Bg(w->lblRelayStatus[i]), on ? QColor(255, 255, 255) : QColor(128, 128, 128));
    }
    EXPECT_EQ(w->lblRelayName[1]->text(), "HALL");
    EXPECT_EQ(w->lblRelayName[1]->toolTip(), "Relay 02");
    EXPECT_EQ(w->lblRelayStatus[9]->text(), "Off");  // row 10 is not used

    // With auto updates off each switch is followed by one reading, so the
    // rows show what the panel did without "Update Status".
    Click(w->cmdTurnOn[3]);
    EXPECT_EQ(w->lblRelayStatus[3]->text(), "On");
    Click(w->cmdTurnOff[0]);
    EXPECT_EQ(w->lblRelayStatus[0]->text(), "Off");
    Click(w->cmdAllRelaysOn);
    EXPECT_TRUE(w->cmdAllRelaysOn->isEnabled());
    EXPECT_EQ(w->lblRelayStatus[7]->text(), "On");
    EXPECT_EQ(Commands(), (std::vector<std::string>{"23FF", "10031", "23FF", "10000", "23FF", "10FF1", "23FF"}));
    EXPECT_TRUE(sim.Panel().Relay(47));
    EXPECT_EQ(sim.Panel().ViolationCount(), 0);
}

// The reading after a switch waits its turn behind it, and switches given
// while another exchange waits are read once after the last of them; with
// auto updates on the timer reads.
TEST_F(StatusWindows, AReadingFollowsTheSwitchesInItsTurn)
{
    ConnectTcp();
    UseGroup(2);
    UseGroup(7);
    auto* g = Open<frmT2RelayGroupStatus>("frmT2RelayGroupStatus");
    ASSERT_EQ(g->lblGroupStatus[2]->text(), "Off");
    sim.Panel().SetWaitReplyDelayMs(300);
    QTimer::singleShot(50, g, [&] {
        QTest::mouseClick(g->cmdTurnOn[2], Qt::LeftButton);
        QTest::mouseClick(g->cmdTurnOff[7], Qt::LeftButton);
    });
    EXPECT_TRUE(session->Exchange().Send(ForceTimerWaitCommand()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return CountOf(Commands(), "24FF") == 2; }, 2000));
    EXPECT_EQ(Commands(), (std::vector<std::string>{"24FF", "02", "11021", "11070", "24FF"}));
    EXPECT_EQ(g->lblGroupStatus[2]->text(), "On");

    // Auto updates on: the timer's readings, none queued by the switch.
    Click(g->cmdAutoUpdate);
    sim.Panel().ClearLog();
    Click(g->cmdTurnOff[2]);
    EXPECT_EQ(Commands().front(), "11020");
    EXPECT_EQ(session->Exchange().QueuedActions(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return g->lblGroupStatus[2]->text() == "Off"; }, 3000));
    Click(g->cmdAutoUpdate);
    EXPECT_EQ(sim.Panel().ViolationCount(), 0);
}

// A name longer than its label is shown whole in the row's tool tip, after
// the row's own ("Relay 02"); a name that fits keeps the own tool tip alone.
TEST_F(StatusWindows, NamesThatDoNotFitShowWholeInTheToolTip)
{
    ConnectTcp();
    const std::string longName = "THE LONG NAME OF ROW TWO, WEST";
    struct Row {
        const char* window;
        const char* label;
        NameArray* names;
        const char* toolTip;
    };
    const std::vector<Row> rows = {
        {"frmT2RelayStatus", "lblRelayName_1", &state.Config.RelayNames, "Relay 02"},
        {"frmT2RelayGroupStatus", "lblGroupName_1", &state.Config.GroupNames, "Group 02"},
        {"frmT2InputStatus", "lblInputName_1", &state.Config.InputNames, "Input 02"},
        {"frmT2CapturePresets", "lblPresetName_1", &state.Config.PresetNames, "Preset 02"},
        {"frmT2ForceTimers", "lblTimerName_1", &state.Config.TimerNames, "Timer 02"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.window);
        (*row.names)[1] = longName;
        (*row.names)[2] = "HALL";
        QWidget* w = main->OpenWindow(row.window);
        ASSERT_NE(w, nullptr);
        auto* cut = Child<QLabel>(w, row.label);
        auto* fits = Child<QLabel>(w, QString(row.label).replace("_1", "_2"));
        ASSERT_TRUE(cut && fits);
        ASSERT_TRUE(cut->isVisible());
        EXPECT_EQ(NameToolTip(cut), QString(row.toolTip) + "\n" + QString::fromStdString(longName));
        EXPECT_EQ(NameToolTip(fits), QString(row.toolTip).replace("02", "03"));

        // Pointed at, the label shows it.
        const QPoint pos = cut->rect().center();
        QHelpEvent event(QEvent::ToolTip, pos, cut->mapToGlobal(pos));
        QApplication::sendEvent(cut, &event);
        ASSERT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000));
        EXPECT_TRUE(QToolTip::text().contains(QString::fromStdString(longName))) << QToolTip::text().toStdString();
        QToolTip::hideText();
        ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
    }
}

TEST_F(StatusWindows, AllRelaysClickedDuringAnotherExchangeWaitsItsTurn)
{
    ConnectTcp();
    auto* w = Open<frmT2RelayStatus>("frmT2RelayStatus");
    sim.Panel().SetWaitReplyDelayMs(300);
    // A click while another exchange waits for its reply: the command goes after it.
    QTimer::singleShot(50, w, [&] { QTest::mouseClick(w->cmdAllRelaysOn, Qt::LeftButton); });
    EXPECT_TRUE(session->Exchange().Send(ForceTimerWaitCommand()));
    EXPECT_FALSE(w->cmdAllRelaysOn->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return CountOf(Commands(), "10FF1") == 1; }, 2000));
    EXPECT_TRUE(w->cmdAllRelaysOn->isEnabled());
    EXPECT_TRUE(w->cmdAllRelaysOff->isEnabled());

    // The session ends before the command could go: the buttons come back all the same.
    QTimer::singleShot(50, w, [&] { QTest::mouseClick(w->cmdAllRelaysOff, Qt::LeftButton); });
    QTimer::singleShot(150, w, [&] { session->Disconnect(); });
    EXPECT_FALSE(session->Exchange().Send(ForceTimerWaitCommand()));
    QTest::qWait(100);
    EXPECT_EQ(CountOf(Commands(), "10FF0"), 0);
    EXPECT_TRUE(w->cmdAllRelaysOn->isEnabled());
    EXPECT_TRUE(w->cmdAllRelaysOff->isEnabled());
}

TEST_F(StatusWindows, TcpReadsOnRequestUntilAutoUpdatesAndGivesTheMenusBack)
{
    ConnectTcp();
    SetStatusIntervalOverride(0);  // the real intervals
    auto* w = Open<frmT2RelayStatus>("frmT2RelayStatus");
    EXPECT_TRUE(w->cmdUpdateStatus->isVisible());
    EXPECT_EQ(w->cmdAutoUpdate->text(), "Enable Auto Updates");
    EXPECT_EQ(w->lblAutoUpdate->text(), "Updates Disabled");
    EXPECT_EQ(Bg(w->lblAutoUpdate), QColor(255, 128, 128));
    EXPECT_FALSE(w->Timer1->isActive());
    EXPECT_EQ(w->Timer1->interval(), 750);
    QTest::qWait(100);
    EXPECT_EQ(CountOf(Commands(), "23FF"), 1);

    Click(w->cmdAutoUpdate);
    EXPECT_EQ(w->cmdAutoUpdate->text(), "Disable Auto Updates");
    EXPECT_EQ(w->lblAutoUpdate->text(), "Updates Enabled");
    EXPECT_EQ(Bg(w->lblAutoUpdate), QColor(128, 255, 128));
    EXPECT_FALSE(MenusEnabled());
    EXPECT_FALSE(w->cmdUpdateStatus->isEnabled());
    EXPECT_FALSE(w->cmdAllRelaysOn->isEnabled());
    EXPECT_TRUE(w->Timer1->isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return CountOf(Commands(), "23FF") >= 2; }, 3000));

    Click(w->cmdAutoUpdate);
    EXPECT_TRUE(MenusEnabled());
    EXPECT_TRUE(w->cmdAllRelaysOn->isEnabled());
    EXPECT_FALSE(w->Timer1->isActive());

    // Closing the window while auto updates run gives the menus back.
    Click(w->cmdAutoUpdate);
    EXPECT_FALSE(MenusEnabled());
    main->CloseWindow("frmT2RelayStatus");
    EXPECT_TRUE(MenusEnabled());
    EXPECT_FALSE(w->Timer1->isActive());
    Open<frmT2RelayStatus>("frmT2RelayStatus");
    Click(w->cmdAutoUpdate);
    EXPECT_FALSE(MenusEnabled());
    w->parentWidget()->close();  // the frame's close box
    EXPECT_TRUE(MenusEnabled());
    EXPECT_FALSE(w->Timer1->isActive());
}

TEST_F(StatusWindows, SerialLinkPollsAtOnce)
{
    ConnectPty();
    SetStatusIntervalOverride(0);
    auto* w = Open<frmT2InputStatus>("frmT2InputStatus");
    EXPECT_FALSE(w->cmdUpdateStatus->isVisible());
    EXPECT_FALSE(w->cmdAutoUpdate->isVisible());
    EXPECT_FALSE(w->lblAutoUpdate->isVisible());
    EXPECT_TRUE(w->Timer1->isActive());
    EXPECT_EQ(w->Timer1->interval(), 250);
    sim.Panel().SetInput(1, 3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return CountOf(Commands(), "20FF") >= 2; }, 3000));
    EXPECT_EQ(Bg(w->lblInputOnStatus[1]), QColor(255, 255, 255));
    EXPECT_TRUE(MenusEnabled());
    main->CloseAllWindows();
    EXPECT_FALSE(w->Timer1->isActive());
}

TEST_F(StatusWindows, InputDigitsToTheTwoFields)
{
    ConnectTcp();
    const int values[] = {0, 1, 2, 3};
    for (int i = 0; i < 4; ++i) sim.Panel().SetInput(i, values[i]);
    auto* w = Open<frmT2InputStatus>("frmT2InputStatus");
    const QColor white(255, 255, 255), grey(128, 128, 128);
    const QColor off[] = {grey, grey, white, white};
    const QColor on[] = {grey, white, grey, white};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Bg(w->lblInputOffStatus[i]), off[i]);
        EXPECT_EQ(Bg(w->lblInputOnStatus[i]), on[i]);
        EXPECT_EQ(w->lblInputOffStatus[i]->text(), "Off");
        EXPECT_EQ(w->lblInputOnStatus[i]->text(), "On");
    }
    EXPECT_FALSE(w->lblInputName[8]->isVisible());
    EXPECT_EQ(w->lblInputName[0]->toolTip(), "Input 01");
}

TEST_F(StatusWindows, UnusedGroupsAndPresetsOfferNoButtons)
{
    ConnectTcp();
    UseGroup(0);
    UseGroup(1);
    sim.Panel().SetGroup(1, true);
    auto* g = Open<frmT2RelayGroupStatus>("frmT2RelayGroupStatus");
    EXPECT_EQ(g->lblGroupStatus[0]->text(), "Off");
    EXPECT_EQ(g->lblGroupStatus[1]->text(), "On");
    EXPECT_EQ(Bg(g->lblGroupStatus[1]), QColor(255, 255, 255));
    EXPECT_EQ(g->lblGroupStatus[5]->text(), "---");
    EXPECT_EQ(Bg(g->lblGroupStatus[5]), QColor(128, 128, 128));
    EXPECT_FALSE(g->cmdTurnOn[5]->isVisible());
    EXPECT_TRUE(g->lblGroupName[47]->isVisible());  // all 48 rows, whatever the I/O count
    UseGroup(5);
    Click(g->cmdUpdateStatus);
    EXPECT_TRUE(g->cmdTurnOn[5]->isVisible());
    EXPECT_EQ(g->lblGroupStatus[5]->text(), "Off");
    Click(g->cmdTurnOn[5]);
    EXPECT_EQ(Commands().rbegin()[1], "11051");
    EXPECT_EQ(g->lblGroupStatus[5]->text(), "On");

    UsePreset(3);
    auto* p = Open<frmT2CapturePresets>("frmT2CapturePresets");
    EXPECT_TRUE(p->cmdSet[3]->isVisible());
    EXPECT_EQ(p->lblPresetStatus[3]->text(), "Off");
    EXPECT_FALSE(p->cmdSet[4]->isVisible());
    EXPECT_TRUE(p->cmdCapture[4]->isVisible());
    EXPECT_EQ(p->lblPresetStatus[4]->text(), "---");
    Click(p->cmdSet[3]);
    EXPECT_EQ(Commands().rbegin()[1], "40030");
    EXPECT_EQ(p->lblPresetStatus[3]->text(), "Set");
}

TEST_F(StatusWindows, CaptureStoresTheRelayStatesInTheConfiguration)
{
    ConnectTcp();
    sim.Panel().SetRelay(0, true);
    sim.Panel().SetRelay(2, true);
    sim.Panel().SetRelay(10, true);
    state.Config.PresetRelayControl(4, 10) = 0;   // beyond the 8 installed: kept
    state.Config.PresetRelayControl(4, 1) = 1;
    auto* p = Open<frmT2CapturePresets>("frmT2CapturePresets");
    EXPECT_FALSE(state.DataChanged);
    state.History.Reset(state);
    Click(p->cmdCapture[4]);
    const std::vector<std::string> c = Commands();
    ASSERT_GE(c.size(), 3u);
    EXPECT_EQ(c[c.size() - 2], "41040");
    EXPECT_EQ(c.back(), "23FF");
    const Integer expected[] = {1, 2, 1, 2, 2, 2, 2, 2};
    for (int r = 0; r < 8; ++r) EXPECT_EQ(state.Config.PresetRelayControl(4, r), expected[r]) << r;
    EXPECT_EQ(state.Config.PresetRelayControl(4, 10), 0);
    EXPECT_TRUE(state.DataChanged);
    EXPECT_TRUE(sim.Panel().PresetActive(4));
    // A capture is one step to undo, like an edit of the preset.
    QAction* undo = main->MenuItem("mnuUndo");
    EXPECT_EQ(undo->text(), "Undo Capture Presets");
    undo->trigger();
    EXPECT_EQ(state.Config.PresetRelayControl(4, 0), 0);
    EXPECT_EQ(state.Config.PresetRelayControl(4, 1), 1);
}

TEST_F(StatusWindows, VantelDeviceViews)
{
    ConnectTcp();
    state.Devices[1].DeviceType = 4;
    state.Devices[1].DeviceName = "CONF ROOM";
    state.Devices[2].DeviceType = 9;
    state.Devices[3].DeviceType = 7;
    state.Devices[4].DeviceType = 6;
    sim.Panel().SetDevice(1, {0b0101, 1, 0});
    sim.Panel().SetDevice(2, {0x01, 1, 128});
    sim.Panel().SetDevice(3, {0b10000010, 1, 0});
    sim.Panel().SetDevice(4, {0x3F, 0, 0});
    auto* w = Open<frmT2VantelStatus>("frmT2VantelStatus");
    EXPECT_TRUE(Commands().empty());  // TCP/IP: nothing until asked
    ASSERT_EQ(w->cboVLinkDevice->count(), 33);
    EXPECT_EQ(w->cboVLinkDevice->itemText(0), "Select Device");
    EXPECT_EQ(w->cboVLinkDevice->itemText(1), "CONF ROOM");

    // "Select Device" sends nothing and shows no frame.
    Click(w->cmdUpdateStatus);
    EXPECT_TRUE(Commands().empty());
    EXPECT_FALSE(w->fraStatus16->isVisible());

    auto choose = [&](int index) {
        w->cboVLinkDevice->showPopup();
        QAbstractItemView* view = w->cboVLinkDevice->view();
        const QModelIndex item = w->cboVLinkDevice->model()->index(index, 0);
        view->scrollTo(item);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
        EXPECT_EQ(w->SelectedDevice, index);
        Click(w->cmdUpdateStatus);
    };

    choose(1);  // a 4-button station
    EXPECT_EQ(Commands().back(), "49");
    EXPECT_TRUE(w->fraStatus16->isVisible());
    EXPECT_FALSE(w->fraStatusF->isVisible());
    EXPECT_EQ(w->fraStatus16->height(), w->Px(2775));
    EXPECT_EQ(w->lblVLinkDeviceType->text(), "4 Push Button");
    EXPECT_EQ(w->lblPresent16->text(), "Connected");
    for (int r = 0; r < 6; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(w->lblInput16Status[r]->isVisible(), r < 4);
        if (r >= 4) continue;
        EXPECT_EQ(w->lblInput16Status[r]->text(), r % 2 == 0 ? "On" : "Off");
        EXPECT_EQ(Bg(w->lblInput16Status[r]), r % 2 == 0 ? QColor(255, 255, 255) : QColor(128, 128, 128));
    }

    choose(2);  // a photocell at level 128
    EXPECT_TRUE(w->fraStatusF->isVisible());
    EXPECT_FALSE(w->fraStatus16->isVisible());
    EXPECT_EQ(w->lblVLinkDeviceType->text(), "PhotoCell");
    EXPECT_EQ(w->lblLightLevel->text(), "128/255 (50%)");
    EXPECT_TRUE(w->lblLightLevel->isVisible());
    EXPECT_EQ(w->lblInputFStatus[0]->text(), "On");

    choose(3);  // KIM-4: fields lit by their bits, texts fixed
    EXPECT_EQ(w->lblVLinkDeviceType->text(), "KIM-4");
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Bg(w->lblInput7Status[i]), (i == 1 || i == 7) ? QColor(255, 255, 255) : QColor(128, 128, 128)) << i;
        EXPECT_EQ(w->lblInput7Status[i]->text(), i % 2 ? "Off" : "On");
    }

    choose(4);  // not answering: no rows, whatever its input bits say
    EXPECT_EQ(w->lblPresent16->text(), "No Response");
    for (int r = 0; r < 6; ++r) EXPECT_FALSE(w->lblInput16Status[r]->isVisible()) << r;

    // Back to "Select Device": every frame and the type label go, nothing is sent.
    const std::size_t sent = Commands().size();
    choose(0);
    EXPECT_EQ(Commands().size(), sent);
    for (QWidget* f : {w->fraStatus16, w->fraStatus7, w->fraStatus8, w->fraStatusF}) EXPECT_FALSE(f->isVisible());
    EXPECT_FALSE(w->lblVLinkDeviceType->isVisible());
    choose(4);

    // The selection is kept between activations.
    Open<frmT2VantelStatus>("frmT2VantelStatus");
    EXPECT_EQ(w->cboVLinkDevice->currentIndex(), 4);
}

TEST_F(StatusWindows, VirtualKeypadDisplayLampsAndKeys)
{
    ConnectTcp();
    std::string display(80, ' ');
    display[0] = 'A';
    display[1] = '\x03';
    display[79] = '\x07';
    sim.Panel().SetDisplay(display);
    sim.Panel().SetLamps(0x21);
    auto* w = Open<frmT2VirtualKeypad>("frmT2VirtualKeypad");
    ASSERT_EQ(CountOf(Commands(), "0700"), 1);  // TCP/IP: one reading on activation
    EXPECT_EQ(w->lblLCD[0]->text(), "A");
    EXPECT_TRUE(w->lblLCD[0]->isVisible());
    EXPECT_FALSE(w->imgCustomChar[0]->isVisible());
    EXPECT_FALSE(w->lblLCD[1]->isVisible());
    EXPECT_TRUE(w->imgCustomChar[1]->isVisible());
    EXPECT_EQ(w->imgCustomChar[1]->pixmap().toImage(), w->imgSourceChar[3]->pixmap().toImage());
    EXPECT_EQ(w->imgCustomChar[79]->pixmap().toImage(), w->imgSourceChar[7]->pixmap().toImage());
    EXPECT_NE(w->imgSourceChar[3]->pixmap().toImage(), w->imgSourceChar[7]->pixmap().toImage());
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(w->cmdKey[k]->palette().color(QPalette::Button),
                  (k == 0 || k == 5) ? QColor(192, 192, 0) : QColor(192, 192, 192))
            << k;

    // Two keys between readings: only the last one goes, with the next reading.
    Click(w->cmdKey[1]);
    Click(w->cmdKey[6]);
    QTest::qWait(60);
    EXPECT_EQ(CountOf(Commands(), "0700"), 1);
    EXPECT_TRUE(sim.Panel().KeysPressed().empty());
    Click(w->cmdUpdateStatus);
    EXPECT_EQ(sim.Panel().KeysPressed(), std::vector<int>{48});
    EXPECT_EQ(w->PendingKey, 0);

    // A panel that stops answering is not a lost link here.
    sim.Panel().SetFaults({.stopAfter = sim.Panel().CommandCount()});
    Click(w->cmdKey[2]);
    Click(w->cmdUpdateStatus);
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_TRUE(state.PanelConnected);
    EXPECT_EQ(w->PendingKey, 4);  // still waiting to go
    EXPECT_TRUE(main->IsWindowOpen("frmT2VirtualKeypad"));
}

TEST_F(StatusWindows, PanelThatStopsAnsweringEndsTheSession)
{
    ConnectTcp();
    auto* w = Open<frmT2RelayStatus>("frmT2RelayStatus");
    Click(w->cmdAutoUpdate);
    ASSERT_FALSE(MenusEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return CountOf(Commands(), "23FF") >= 3; }, 3000));
    sim.Panel().SetFaults({.stopAfter = sim.Panel().CommandCount()});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.asked.empty(); }, 5000));
    EXPECT_EQ(prompts.Texts(), QStringList{"Connection To Tamberline II Panel Lost"});
    EXPECT_EQ(prompts.asked[0].title, "VEL Tamberline II");
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Exclamation);
    EXPECT_FALSE(state.PanelConnected);
    EXPECT_FALSE(main->IsWindowOpen("frmT2RelayStatus"));
    EXPECT_TRUE(main->IsWindowOpen("frmT2Connect"));
    EXPECT_EQ(main->mdiArea->activeSubWindow()->widget(), main->FindWindow("frmT2Connect"));
    EXPECT_TRUE(MenusEnabled());
    EXPECT_FALSE(w->Timer1->isActive());
    EXPECT_EQ(main->StatusPanel2->text(), "Disconnected");
}

TEST_F(StatusWindows, SerialPollingLossEndsTheSessionForEachReadingWindow)
{
    ConnectPty();
    for (const char* name : {"frmT2RelayStatus", "frmT2RelayGroupStatus", "frmT2InputStatus",
                             "frmT2CapturePresets"}) {
        SCOPED_TRACE(name);
        if (!state.PanelConnected) {
            LinkSettings link;
            link.connectionType = ConnectDirectSerial;
            link.serialDevice = sim.PtyPath();
            sim.Panel().SetFaults({});
            ASSERT_EQ(session->Connect(link), ConnectResult::Connected);
        }
        prompts.asked.clear();
        main->OpenWindow(name);
        sim.Panel().SetFaults({.stopAfter = sim.Panel().CommandCount() + 2});
        ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.asked.empty(); }, 5000));
        EXPECT_EQ(prompts.Texts(), QStringList{"Connection To Tamberline II Panel Lost"});
        EXPECT_FALSE(main->IsWindowOpen(name));
    }
}

TEST_F(StatusWindows, ForceTimerWaitsForThePanelAndStaysResponsive)
{
    ConnectTcp();
    state.Config.TimerNames[11] = "DUSK";
    auto* w = Open<frmT2ForceTimers>("frmT2ForceTimers");
    EXPECT_FALSE(w->lblPleaseWait->isVisible());
    EXPECT_EQ(w->lblTimerName[11]->text(), "DUSK");
    EXPECT_EQ(w->lblTimerName[11]->toolTip(), "Timer 12");
    EXPECT_TRUE(w->cmdForce[47]->isVisible());

    // The panel takes 30 "seconds" of the 80 it is given (time-outs scaled to 50 ms).
    sim.Panel().SetWaitReplyDelayMs(1500);
    bool waitShown = false;
    int ticks = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        ++ticks;
        if (w->lblPleaseWait->isVisible() && w->Forcing()) waitShown = true;
    });
    probe.start(50);
    Click(w->cmdForce[11]);
    probe.stop();
    EXPECT_TRUE(waitShown);
    EXPECT_GE(ticks, 10);  // events ran while the panel worked
    EXPECT_EQ(Commands(), (std::vector<std::string>{"130B0", "02"}));
    EXPECT_EQ(session->Exchange().LastAttempts(), 1);
    EXPECT_FALSE(w->lblPleaseWait->isVisible());
    EXPECT_EQ(sim.Panel().TimersForced(), std::vector<int>{11});
    EXPECT_TRUE(prompts.asked.empty());

    // No answer to "02" at all: the link is lost (80 "seconds" of 5 ms, three times).
    sim.Panel().SetWaitReplyDelayMs(0);
    session->Exchange().SetMillisecondsPerSecond(5);
    sim.Panel().SetFaults({.stopAfter = sim.Panel().CommandCount() + 1});
    Click(w->cmdForce[0]);
    EXPECT_EQ(prompts.Texts(), QStringList{"Connection To Tamberline II Panel Lost"});
    EXPECT_FALSE(main->IsWindowOpen("frmT2ForceTimers"));
    EXPECT_FALSE(w->lblPleaseWait->isVisible());
}

TEST_F(StatusWindows, SystemDiagnosticCountsMissesAndChanges)
{
    ConnectTcp();
    sim.Panel().SetDevice(1, {0, 1, 0});
    sim.Panel().SetDevice(2, {0, 1, 0});
    auto* w = Open<frmT2SystemDiagnostic>("frmT2SystemDiagnostic");
    EXPECT_FALSE(MenusEnabled());
    EXPECT_EQ(w->cmdStop->text(), "Stop");
    EXPECT_FALSE(w->cmdClearTotals->isEnabled());
    EXPECT_EQ(w->lblVTNode[0]->text(), "01");
    EXPECT_EQ(w->lblVTNode[31]->text(), "20");
    EXPECT_EQ(Bg(w->lblVTNode[0]), QColor(255, 255, 255));
    EXPECT_EQ(Bg(w->lblVTNode[2]), QColor(128, 128, 128));

    // Stop, then drive the cycles by hand.
    Click(w->cmdStop);
    EXPECT_EQ(w->cmdStop->text(), "Start");
    EXPECT_TRUE(MenusEnabled());
    EXPECT_TRUE(w->cmdClearTotals->isEnabled());
    sim.Panel().SetDevice(2, {0, 0, 0});
    for (int i = 0; i < 150; ++i) w->Timer1_Timer();
    EXPECT_EQ(w->lblCycleCount->text(), "Cycle: 150");
    EXPECT_EQ(w->lblVTComError[1]->text(), ">99");
    EXPECT_EQ(Bg(w->lblVTComError[1]), QColor(255, 0, 0));
    EXPECT_EQ(w->lblVTComError[0]->text(), "0");
    EXPECT_EQ(Bg(w->lblVTComError[0]), QColor(0, 255, 0));
    EXPECT_EQ(w->lblVTComError[2]->text(), "---");  // not watched, not counted

    sim.Panel().SetDevice(2, {0, 1, 0});
    sim.Panel().SetDevice(1, {0x04, 1, 0});
    w->Timer1_Timer();
    EXPECT_EQ(Bg(w->lblVTComError[1]), QColor(255, 255, 0));
    EXPECT_EQ(Bg(w->lblVTNode[0]), QColor(0, 0, 255));
    EXPECT_EQ(w->lblVTNode[0]->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    Click(w->cmdClearVTChanges);
    EXPECT_EQ(Bg(w->lblVTNode[0]), QColor(255, 255, 255));
    EXPECT_EQ(w->lblVTNode[0]->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    Click(w->cmdClearTotals);
    EXPECT_EQ(w->lblCycleCount->text(), "Cycle: 0");
    EXPECT_EQ(w->lblVTComError[1]->text(), "0");
    EXPECT_EQ(Bg(w->lblVTComError[1]), QColor(0, 255, 0));

    // A node clicked in while stopped is watched from then on.
    Click(w->lblVTNode[2]);
    EXPECT_EQ(Bg(w->lblVTNode[2]), QColor(255, 255, 255));
    EXPECT_TRUE(w->Test().Monitored(3));
    w->Timer1_Timer();
    EXPECT_EQ(w->lblVTComError[2]->text(), "1");

    // The cycle limit: the timer keeps firing but only says so.
    w->CycleLimit = 3;
    for (int i = 0; i < 5; ++i) w->Timer1_Timer();
    EXPECT_EQ(w->lblCycleCount->text(), "Test Stopped");
    EXPECT_EQ(w->Test().CycleCount(), 3);

    // Running again: node clicks do nothing; closing gives the menus back.
    w->CycleLimit = 10000;
    Click(w->cmdStop);
    EXPECT_FALSE(MenusEnabled());
    EXPECT_TRUE(w->Timer1->isActive());
    Click(w->lblVTNode[2]);
    EXPECT_TRUE(w->Test().Monitored(3));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->Test().CycleCount() >= 5; }, 3000));
    main->CloseAllWindows();
    EXPECT_TRUE(MenusEnabled());
    EXPECT_FALSE(w->Timer1->isActive());
    EXPECT_TRUE(prompts.asked.empty());
}

// The keyboard alone switches a relay; a screen reader hears each row's
// status field by its row and column, and what it shows.
TEST_F(StatusWindows, KeyboardSwitchesARelayAndTheStatusIsHeard)
{
    ConnectTcp();
    state.Config.RelayNames[3] = "LOBBY";
    auto* w = Open<frmT2RelayStatus>("frmT2RelayStatus");
    QApplication::setActiveWindow(main.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    w->cmdTurnOff[0]->setFocus(Qt::TabFocusReason);
    for (int n = 0; n < 20 && QApplication::focusWidget() != w->cmdTurnOn[3]; ++n)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w->cmdTurnOn[3]);
    sim.Panel().ClearLog();
    QTest::keyClick(w->cmdTurnOn[3], Qt::Key_Space);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->lblRelayStatus[3]->text() == "On"; }, 2000));
    EXPECT_EQ(Commands(), (std::vector<std::string>{"10031", "23FF"}));
    EXPECT_TRUE(sim.Panel().Relay(3));

    QAccessibleInterface* status = QAccessible::queryAccessibleInterface(w->lblRelayStatus[3]);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(QAccessible::Name), "Relay 04 LOBBY, Status");
    EXPECT_EQ(status->text(QAccessible::Value), "On");
    EXPECT_EQ(w->lblRelayStatus[3]->objectName(), "lblRelayStatus_3");
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(w->cmdTurnOn[3]);
    EXPECT_EQ(button->text(QAccessible::Name), "Relay 04 LOBBY, Turn On");
    EXPECT_EQ(sim.Panel().ViolationCount(), 0);
}
