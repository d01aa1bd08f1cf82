// The Vantel editors driven as a user does: the device window with its four
// frames, the input to relay and group control windows, and the pilots with
// their auto mapping.
#include "ClickLabel.h"
#include "EditorGrid.h"
#include "GuiHelpers.h"
#include "NameTips.h"
#include "Prompts.h"
#include "ScreenText.h"
#include "VantelWindows.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

using namespace t2;
using namespace t2::test;

namespace {

QStringList Entries(QComboBox* combo)
{
    QStringList entries;
    for (int k = 0; k < combo->count(); ++k) entries << combo->itemText(k);
    return entries;
}

int VisibleRows(QWidget& w, const QString& array, int rows = ItemCount)
{
    int shown = 0;
    for (int r = 0; r < rows; ++r) shown += Label(w, array, r)->isVisible() ? 1 : 0;
    return shown;
}

using Frame = frmT2ConfigureVantelDevices::FrameKind;

std::unique_ptr<VantelControlWindow> ControlWindow(ProgramState& s, bool groups)
{
    if (groups) return std::make_unique<frmT2VantelInputToGroupControl>(s);
    return std::make_unique<frmT2VantelInputToRelayControl>(s);
}

}  // namespace

// ---------------------------------------------------------------------------
// Configure Vantel Devices

TEST(ConfigureVantelDevices, FrameOfTheDeviceTypeWithItsInputs)
{
    struct Case {
        int type;
        int frame;   // -1: none
        int inputs;
        int height;  // of the frame shown, twips
    };
    const Case cases[] = {
        {0, -1, 0, 0},           {1, Frame::ButtonFrame, 1, 1095},  {3, Frame::ButtonFrame, 3, 2055},
        {6, Frame::ButtonFrame, 6, 3495}, {7, Frame::Kim4Frame, 4, 2535},    {8, Frame::R6Frame, 6, 3495},
        {9, Frame::PhotocellFrame, 8, 4455}, {10, -1, 0, 0},      {-2, -1, 0, 0},
    };
    const char* const numbers[] = {"lblInput16Number", "lblInput7Number", "lblInput8Number", "lblInputFNumber"};
    const int rows[] = {6, 4, 6, 8};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        ProgramState s = FreshState();
        s.Devices[3].DeviceType = static_cast<Integer>(c.type);
        frmT2ConfigureVantelDevices w(s);
        w.show();
        EXPECT_FALSE(w.TypeList()->isVisible());    // "Select Device": nothing to edit
        for (int k = 0; k < Frame::FrameCount; ++k) EXPECT_FALSE(w.Frame(Frame(k))->isVisible());
        Choose(w.DeviceList(), 3);
        EXPECT_EQ(w.CurrentDevice(), 3);
        EXPECT_TRUE(w.TypeList()->isVisible());
        EXPECT_EQ(w.TypeList()->currentIndex(), c.type >= 0 && c.type <= 9 ? c.type : -1);
        for (int k = 0; k < Frame::FrameCount; ++k) {
            QGroupBox* frame = w.Frame(Frame(k));
            EXPECT_EQ(frame->isVisible(), k == c.frame) << k;
            EXPECT_EQ(frame->pos(), w.Frame(Frame::ButtonFrame)->pos());   // all four in one place
            if (k != c.frame) continue;
            EXPECT_EQ(frame->height(), w.Px(c.height));
            EXPECT_EQ(VisibleRows(w, numbers[k], rows[k]), c.inputs);
            EXPECT_EQ(Label(w, numbers[k], c.inputs - 1)->text(), QString("Input %1").arg(c.inputs));
        }
        if (c.frame == Frame::ButtonFrame) {
            for (int i = 0; i < 6; ++i)
                EXPECT_EQ(Find<QComboBox>(w, Element("cboInput16Type", i))->isVisible(), i < c.inputs) << i;
        }
        EXPECT_FALSE(s.DataChanged);
    }
}

TEST(ConfigureVantelDevices, TypesFoldForPushButtonsAndR6WhenShown)
{
    ProgramState s = FreshState();
    VantelDevice& d = s.Devices[3];
    d.DeviceType = 7;
    d.DeviceInputType = {9, 4, 12, -1, 0, 0, 0, 0, 0};   // Output Override, Timed On, two outside the list
    frmT2ConfigureVantelDevices w(s);
    w.show();
    Choose(w.DeviceList(), 3);
    QComboBox* kim1 = Find<QComboBox>(w, Element("cboInput7Type", 0));
    EXPECT_EQ(kim1->currentText(), "Output Override");
    EXPECT_EQ(Find<QComboBox>(w, Element("cboInput7Type", 2))->currentIndex(), -1);   // 12 selects none
    EXPECT_EQ(Find<QComboBox>(w, Element("cboInput7Type", 3))->currentIndex(), -1);
    EXPECT_EQ(d.DeviceInputType[2], 12);                 // a KIM-4 keeps its types as stored
    EXPECT_TRUE(Label(w, "lblInput7TimedOn", 1)->isVisible());
    EXPECT_FALSE(s.DataChanged);

    Choose(w.TypeList(), 6);                             // "6 Button"
    EXPECT_EQ(d.DeviceType, 6);
    EXPECT_TRUE(s.DataChanged);
    EXPECT_TRUE(w.Frame(Frame::ButtonFrame)->isVisible());
    // 9, 4 and 12 folded into 0..4; -1 from a damaged file keeps its sign,
    // so it stays as it is and selects no entry.
    const int folded[] = {4, 4, 2, -1};
    const char* const texts[] = {"4 Step", "4 Step", "Timed On", ""};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(d.DeviceInputType[static_cast<std::size_t>(i)], folded[i]) << i;
        EXPECT_EQ(Find<QComboBox>(w, Element("cboInput16Type", i))->currentText(), texts[i]) << i;
    }
    EXPECT_EQ(Find<QComboBox>(w, Element("cboInput16Type", 3))->currentIndex(), -1);
    EXPECT_FALSE(Label(w, "lblInput16TimedOn", 3)->isVisible());
    EXPECT_FALSE(Label(w, "lblInput16TimedOn", 1)->isVisible());   // 4 is "Timed On" on a KIM-4 only
    EXPECT_TRUE(Label(w, "lblInput16TimedOn", 2)->isVisible());

    // A type chosen in a frame is stored and shows or hides the timed-on time.
    s.DataChanged = false;
    Choose(Find<QComboBox>(w, Element("cboInput16Type", 0)), 2);
    EXPECT_EQ(d.DeviceInputType[0], 2);
    EXPECT_TRUE(Label(w, "lblInput16TimedOn", 0)->isVisible());
    EXPECT_EQ(Label(w, "lblInput16TimedOn", 0)->text(), " 10 Minutes");
    EXPECT_TRUE(s.DataChanged);
    EXPECT_TRUE(s.History.CanUndo());
}

TEST(ConfigureVantelDevices, TimedOnMinutesPicker)
{
    ProgramState s = FreshState();
    VantelDevice& d = s.Devices[8];
    d.DeviceType = 8;   // R6
    d.DeviceInputType = {2, 0, 2, 7, 0, 0, 0, 0, 0};
    d.DeviceInputTimedOnTime[2] = 1200;   // outside 5..999
    frmT2ConfigureVantelDevices w(s);
    w.show();
    Choose(w.DeviceList(), 8);
    QLabel* first = Label(w, "lblInput8TimedOn", 0);
    EXPECT_EQ(first->text(), " 10 Minutes");
    EXPECT_FALSE(Label(w, "lblInput8TimedOn", 1)->isVisible());
    EXPECT_EQ(Label(w, "lblInput8TimedOn", 2)->text(), " 1200 Minutes");
    EXPECT_EQ(d.DeviceInputType[3], 2);                      // 7 folded to "Timed On" and shown
    EXPECT_TRUE(Label(w, "lblInput8TimedOn", 3)->isVisible());

    QComboBox* picker = Find<QComboBox>(w, "cboInput8NewTime");
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->count(), 995);
    EXPECT_EQ(picker->itemText(0), "5 Minutes");
    EXPECT_FALSE(picker->isVisible());
    Click(first);
    EXPECT_TRUE(picker->isVisible());
    EXPECT_EQ(picker->currentText(), "10 Minutes");
    Choose(picker, 40);
    EXPECT_EQ(d.DeviceInputTimedOnTime[0], 45);
    EXPECT_EQ(first->text(), " 45 Minutes");
    EXPECT_FALSE(picker->isVisible());
    EXPECT_TRUE(s.DataChanged);

    Click(Label(w, "lblInput8TimedOn", 2));
    EXPECT_EQ(picker->currentIndex(), -1);                  // a time outside the list selects none
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(w.width() - 3, w.height() - 3));
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(d.DeviceInputTimedOnTime[2], 1200);
}

TEST(ConfigureVantelDevices, PhotocellLevelsFollowTheBars)
{
    ProgramState s = FreshState();
    VantelDevice& d = s.Devices[5];
    d.DeviceType = 9;
    d.DeviceInputOffLevel[0] = 128;
    d.DeviceInputOnLevel[0] = 255;
    d.DeviceInputOffLevel[7] = 30;
    frmT2ConfigureVantelDevices w(s);
    w.show();
    Choose(w.DeviceList(), 5);
    struct Case {
        const char* label;
        int channel;
        const char* caption;
    };
    for (const Case c : {Case{"lblInputFOffLevel", 0, " Off 128/255 (50%)"}, Case{"lblInputFOnLevel", 0, " On 255/255 (100%)"},
                         Case{"lblInputFOffLevel", 1, " Off 000/255 (0%)"}, Case{"lblInputFOffLevel", 7, " Off 030/255 (11%)"}}) {
        EXPECT_EQ(Label(w, c.label, c.channel)->text(), c.caption) << c.label << c.channel;
    }
    QScrollBar* off = Find<QScrollBar>(w, Element("hsInputFOffLevel", 0));
    ASSERT_NE(off, nullptr);
    EXPECT_EQ(off->value(), 128);
    EXPECT_EQ(off->maximum(), 255);
    EXPECT_EQ(off->pageStep(), 30);
    EXPECT_EQ(Find<QScrollBar>(w, Element("hsInputFOnLevel", 1))->pageStep(), 25);
    EXPECT_EQ(Find<QScrollBar>(w, Element("hsInputFOnLevel", 0))->value(), 255);
    EXPECT_FALSE(s.DataChanged);

    // Dragging stores the level and redraws its caption at every step.
    QScrollBar* on = Find<QScrollBar>(w, Element("hsInputFOnLevel", 3));
    on->setSliderDown(true);
    for (const int v : {51, 52, 200}) {
        on->setSliderPosition(v);
        EXPECT_EQ(d.DeviceInputOnLevel[3], v);
        EXPECT_EQ(Label(w, "lblInputFOnLevel", 3)->text(),
                  QString::fromStdString(" On " + Digits(v, 3) + "/255 (" + std::to_string(v * 100 / 255) + "%)"));
    }
    on->setSliderDown(false);
    EXPECT_TRUE(s.DataChanged);
    EXPECT_EQ(s.History.Steps(), 1u);
    EXPECT_EQ(d.DeviceInputOffLevel[3], 0);   // no cross-check of off and on levels
}

TEST(ConfigureVantelDevices, CurrentDeviceSurvivesReactivation)
{
    ProgramState s = FreshState();
    s.Devices[4].DeviceType = 2;
    frmT2ConfigureVantelDevices w(s);
    w.show();
    EXPECT_EQ(Entries(w.DeviceList()).size(), 33);
    EXPECT_EQ(w.DeviceList()->itemText(0), "Select Device");
    EXPECT_EQ(w.DeviceList()->itemText(32), "VANTEL 20");
    Choose(w.DeviceList(), 4);
    w.hide();
    s.Devices[4].DeviceName = "FOYER";
    w.show();
    EXPECT_EQ(w.CurrentDevice(), 4);
    EXPECT_EQ(w.DeviceList()->currentText(), "FOYER");
    EXPECT_TRUE(w.Frame(Frame::ButtonFrame)->isVisible());
    EXPECT_EQ(w.Frame(Frame::ButtonFrame)->height(), w.Px(1575));
    Choose(w.DeviceList(), 0);
    EXPECT_FALSE(w.TypeList()->isVisible());
    EXPECT_FALSE(w.Frame(Frame::ButtonFrame)->isVisible());
    EXPECT_FALSE(s.DataChanged);   // choosing what to show is no edit
}

// ---------------------------------------------------------------------------
// Vantel Input To Relay Control and Vantel Input To Group Control

TEST(VantelControl, ActivationShowsSelectDeviceWithNothingToEdit)
{
    ProgramState s = FreshState(8);
    s.Devices[2].DeviceType = 7;
    frmT2VantelInputToRelayControl relay(s);
    frmT2VantelInputToGroupControl group(s);
    for (VantelControlWindow* w : {static_cast<VantelControlWindow*>(&relay), static_cast<VantelControlWindow*>(&group)}) {
        SCOPED_TRACE(w->windowTitle().toStdString());
        w->show();
        Choose(w->DeviceList(), 2);
        EXPECT_GT(w->Grid().Shown(), 0);
        w->hide();
        w->show();
        EXPECT_EQ(w->Device(), 0);
        EXPECT_EQ(w->DeviceList()->currentText(), "Select Device");
        EXPECT_EQ(w->DeviceTypeLabel()->text(), " None");
        EXPECT_FALSE(w->InputList()->isVisible());
        EXPECT_FALSE(w->InputTypeLabel()->isVisible());
        EXPECT_EQ(w->Grid().Shown(), 0);
        EXPECT_EQ(w->Grid().NameLabel(0)->isVisible(), false);
        if (w->PresetList()) {
            EXPECT_FALSE(w->PresetList()->isVisible());
        }
    }
    EXPECT_EQ(relay.windowTitle(), "Vantel Input To Relay Control");
    EXPECT_EQ(group.windowTitle(), "Vantel Input To Group Control");
    EXPECT_FALSE(s.DataChanged);
}

TEST(VantelControl, ActionsAndRowsByDeviceAndInputType)
{
    const QStringList onOffBlink{"No Action", "On Only", "Off Only", "On And Off", "Blink Alert"};
    struct Case {
        const char* what;
        int device, input;
        bool groups;
        const char* caption;
        QStringList actions;
        int rows;
        const char* firstRow;   // name of row 0
        const char* toolTip;    // of row 0
    };
    const Case cases[] = {
        {"KIM-4 Timer Disable: timers", 7, 8, false, " Timer Disable", {"No Action", "Disable"}, 48, "DUSK", "Timer 01"},
        {"KIM-4 Timer Disable: no groups", 7, 8, true, " Timer Disable", {"."}, 0, "", ""},
        {"KIM-4 Output Override", 7, 9, false, " Output Override", {"No Action", "Hold On", "Hold Off", "Hold Status"}, 8, "LOBBY", "Relay 01"},
        {"KIM-4 Maint. On/Off", 7, 2, true, " Maint. On/Off", onOffBlink, 48, "ALL HALLS", "Group 01"},
        {"photocell relays", 9, 5, false, " Maintained On/Off", onOffBlink, 8, "LOBBY", "Relay 01"},
        {"photocell groups", 9, 5, true, " Maintained On/Off", onOffBlink, 48, "ALL HALLS", "Group 01"},
        {"R6 7 is Timed On", 8, 7, false, " Timed On", {"No Action", "Timed On"}, 8, "LOBBY", "Relay 01"},
        {"6 Button 9 is 4 Step", 6, 9, false, " 4 Step", {"No Action", "Step A", "Step B"}, 8, "LOBBY", "Relay 01"},
        {"3 Button Set Preset: no relays", 3, 1, false, " Set Preset", {"."}, 0, "", ""},
        {"3 Button Set Preset: no groups", 3, 1, true, " Set Preset", {"."}, 0, "", ""},
        {"1 Button Momentary PB groups", 1, 0, true, " Momentary PB", {"No Action", "On Only", "Off Only", "On And Off"}, 48, "ALL HALLS", "Group 01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramState s = FreshState(8);
        s.Config.RelayNames[0] = "LOBBY";
        s.Config.TimerNames[0] = "DUSK";
        s.Config.GroupNames[0] = "ALL HALLS";
        s.Devices[9].DeviceType = static_cast<Integer>(c.device);
        s.Devices[9].DeviceInputType[0] = static_cast<Integer>(c.input);
        const std::unique_ptr<VantelControlWindow> w = ControlWindow(s, c.groups);
        w->show();
        Choose(w->DeviceList(), 9);
        EXPECT_EQ(w->DeviceTypeLabel()->text(), ' ' + Texts(DeviceTypeTexts)[c.device]);
        EXPECT_TRUE(w->InputList()->isVisible());
        EXPECT_EQ(w->InputTypeLabel()->text(), c.caption);
        EXPECT_EQ(Entries(w->Grid().Picker("cboControl")), c.actions);
        EXPECT_EQ(w->MaxControlCode(), c.actions.size() - 1);
        EXPECT_EQ(w->Grid().Shown(), c.rows);
        EXPECT_EQ(VisibleRows(*w, c.groups ? "lblGroupName" : "lblRelayName"), c.rows);
        EXPECT_EQ(VisibleRows(*w, "lblControl"), c.rows);
        if (c.rows > 0) {
            EXPECT_EQ(w->Grid().NameLabel(0)->text(), c.firstRow);
            EXPECT_EQ(w->Grid().NameLabel(0)->toolTip(), c.toolTip);
            EXPECT_EQ(w->Grid().NameLabel(c.rows - 1)->toolTip(), ItemToolTip(QString(c.toolTip).left(6), c.rows - 1));
        }
        if (!c.groups) {
            EXPECT_EQ(w->PresetList()->isVisible(), c.actions == QStringList{"."});
        }
    }
}

TEST(VantelControl, InputsAreNamedAfterTheDeviceAndSetPresetShowsThePreset)
{
    ProgramState s = FreshState(8);
    VantelDevice& d = s.Devices[3];
    d.DeviceType = 4;
    d.DeviceInputType[1] = 1;   // "Set Preset"
    d.DeviceInputPreset[1] = 5;
    s.Config.PresetNames[5] = "DINNER";
    s.Devices[4].DeviceType = 9;
    s.Devices[4].DeviceName = "ROOF";
    frmT2VantelInputToRelayControl w(s);
    w.show();
    Choose(w.DeviceList(), 3);
    EXPECT_EQ(Entries(w.InputList()), (QStringList{"VANTEL 03.1", "VANTEL 03.2", "VANTEL 03.3", "VANTEL 03.4"}));
    EXPECT_EQ(w.InputList()->currentIndex(), 0);
    EXPECT_FALSE(w.PresetList()->isVisible());
    EXPECT_EQ(w.Grid().Shown(), 8);

    Choose(w.InputList(), 1);
    EXPECT_EQ(w.Input(), 1);
    EXPECT_EQ(w.InputTypeLabel()->text(), " Set Preset");
    EXPECT_EQ(w.Grid().Shown(), 0);
    EXPECT_EQ(VisibleRows(w, "lblRelayName"), 0);
    ASSERT_TRUE(w.PresetList()->isVisible());
    EXPECT_EQ(w.PresetList()->count(), 48);
    EXPECT_EQ(w.PresetList()->currentText(), "DINNER");
    EXPECT_FALSE(s.DataChanged);
    Choose(w.PresetList(), 7);
    EXPECT_EQ(d.DeviceInputPreset[1], 7);
    EXPECT_TRUE(s.DataChanged);

    // Another device lists its own inputs and starts at its first.
    Choose(w.DeviceList(), 4);
    EXPECT_EQ(w.InputList()->count(), 8);
    EXPECT_EQ(w.InputList()->itemText(7), "ROOF.8");
    EXPECT_EQ(w.Input(), 0);
    EXPECT_FALSE(w.PresetList()->isVisible());
}

TEST(VantelControl, CodesAboveTheHighestAreCutBackWhenShown)
{
    ProgramState s = FreshState(8);
    VantelDevice& d = s.Devices[6];
    d.DeviceType = 8;           // R6
    d.DeviceInputType[2] = 7;   // treated as 2, "Timed On"
    d.DeviceInputRelayControl(2, 1) = 3;
    d.DeviceInputRelayControl(2, 40) = 4;   // a hidden row is cut back too
    d.DeviceInputRelayControl(2, 48) = 4;   // the spare element is not a row
    d.DeviceInputGroupControl(2, 3) = 4;
    frmT2VantelInputToRelayControl w(s);
    w.show();
    Choose(w.DeviceList(), 6);
    EXPECT_EQ(d.DeviceInputRelayControl(2, 1), 3);   // input 1 is not shown yet
    Choose(w.InputList(), 2);
    EXPECT_EQ(w.InputTypeLabel()->text(), " Timed On");
    EXPECT_EQ(d.DeviceInputRelayControl(2, 1), 1);
    EXPECT_EQ(d.DeviceInputRelayControl(2, 40), 1);
    EXPECT_EQ(d.DeviceInputRelayControl(2, 48), 4);
    EXPECT_EQ(Label(w, "lblControl", 1)->text(), " Timed On");
    EXPECT_EQ(Label(w, "lblControl", 0)->text(), " No Action");
    EXPECT_EQ(d.DeviceInputGroupControl(2, 3), 4);   // the relay window leaves the groups alone
    EXPECT_FALSE(s.DataChanged);                     // the clamp is no edit

    frmT2VantelInputToGroupControl g(s);
    g.show();
    Choose(g.DeviceList(), 6);
    Choose(g.InputList(), 2);
    EXPECT_EQ(d.DeviceInputGroupControl(2, 3), 1);
    EXPECT_EQ(Label(g, "lblControl", 3)->text(), " Timed On");
    EXPECT_FALSE(s.DataChanged);
}

TEST(VantelControl, KimTimerDisableHasTimersButNoGroups)
{
    ProgramState s = FreshState(8);
    VantelDevice& d = s.Devices[1];
    d.DeviceType = 7;
    d.DeviceInputType[3] = 8;   // "Timer Disable"
    d.DeviceInputRelayControl(3, 30) = 1;
    for (int g = 0; g < ItemCount; ++g) d.DeviceInputGroupControl(3, static_cast<std::size_t>(g)) = 2;
    s.Config.TimerNames[30] = "NIGHT";

    frmT2VantelInputToRelayControl relay(s);
    relay.show();
    relay.SelectDevice(1);
    relay.SelectInput(3);
    EXPECT_EQ(relay.Grid().Shown(), 48);
    EXPECT_EQ(Label(relay, "lblRelayName", 30)->text(), "NIGHT");
    EXPECT_EQ(Label(relay, "lblRelayName", 30)->toolTip(), "Timer 31");
    EXPECT_EQ(Label(relay, "lblControl", 30)->text(), " Disable");
    EXPECT_EQ(Label(relay, "lblControl", 47)->text(), " No Action");

    frmT2VantelInputToGroupControl group(s);
    group.show();
    group.SelectDevice(1);
    group.SelectInput(3);
    EXPECT_EQ(group.InputTypeLabel()->text(), " Timer Disable");
    EXPECT_EQ(group.Grid().Shown(), 0);
    EXPECT_EQ(VisibleRows(group, "lblGroupName"), 0);
    for (int g = 0; g < ItemCount; ++g) EXPECT_EQ(d.DeviceInputGroupControl(3, static_cast<std::size_t>(g)), 0) << g;
    EXPECT_EQ(d.DeviceInputRelayControl(3, 30), 1);
}

TEST(VantelControl, PickingAnActionStoresItsIndex)
{
    for (const bool groups : {false, true}) {
        SCOPED_TRACE(groups ? "groups" : "relays");
        ProgramState s = FreshState(12);
        VantelDevice& d = s.Devices[2];
        d.DeviceType = 7;
        d.DeviceInputType[0] = 0;   // "Momentary On/Off"
        auto codes = groups ? &VantelDevice::DeviceInputGroupControl : &VantelDevice::DeviceInputRelayControl;
        (d.*codes)(0, 5) = 2;
        const std::unique_ptr<VantelControlWindow> w = ControlWindow(s, groups);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        Choose(w->DeviceList(), 2);
        QComboBox* picker = w->Grid().Picker("cboControl");
        QLabel* label = Label(*w, "lblControl", 5);
        EXPECT_EQ(label->text(), " Off Only");
        Click(label);
        EXPECT_TRUE(picker->isVisible());
        EXPECT_EQ(picker->currentIndex(), 2);
        EXPECT_TRUE(s.DataChanged);   // opening the list marks the change
        Choose(picker, 4);
        EXPECT_EQ((d.*codes)(0, 5), 4);
        EXPECT_EQ(label->text(), " Blink Alert");
        EXPECT_FALSE(picker->isVisible());
        EXPECT_TRUE(s.History.CanUndo());

        // A click on the background closes the list and stores nothing.
        Click(Label(*w, "lblControl", 6));
        QTest::mouseClick(w.get(), Qt::LeftButton, {}, QPoint(w->width() - 3, w->height() - 3));
        EXPECT_FALSE(picker->isVisible());
        EXPECT_EQ((d.*codes)(0, 6), 0);
    }
}

// An input whose type has no rules (a KIM-4 type above 9, a negative push
// button or R6 type from a damaged file) keeps what the window showed and
// offers no action; its stored codes are left alone, not cut to whatever
// input was shown before.
TEST(VantelControl, InputTypeWithoutRulesKeepsRowsAndCodes)
{
    ProgramState s = FreshState(8);
    struct Case {
        int deviceType, timedOn, type;
    };
    for (const Case c : {Case{7, 4, 12}, Case{3, 2, -1}, Case{8, 2, -6}}) {
        SCOPED_TRACE(c.type);
        VantelDevice& d = s.Devices[1];
        d.DeviceType = static_cast<Integer>(c.deviceType);
        d.DeviceInputType[0] = static_cast<Integer>(c.timedOn);   // "Timed On": highest code 1
        d.DeviceInputType[1] = static_cast<Integer>(c.type);
        d.DeviceInputRelayControl(1, 2) = 3;
        frmT2VantelInputToRelayControl w(s);
        w.show();
        Choose(w.DeviceList(), 1);
        Choose(w.InputList(), 1);
        EXPECT_EQ(w.InputTypeLabel()->text(), " Timed On");
        EXPECT_EQ(w.Grid().Shown(), 8);
        EXPECT_EQ(w.Grid().Picker("cboControl")->count(), 0);
        EXPECT_EQ(Label(w, "lblControl", 2)->text(), " ");
        EXPECT_EQ(d.DeviceInputRelayControl(1, 2), 3);
        Click(Label(w, "lblControl", 2));
        EXPECT_EQ(d.DeviceInputRelayControl(1, 2), 3);
        EXPECT_EQ(d.DeviceInputType[1], c.type);
    }

    frmT2VantelInputToRelayControl w(s);
    w.show();
    // A device of type None shows no rows at all.
    s.Devices[2].DeviceType = 0;
    Choose(w.DeviceList(), 2);
    EXPECT_EQ(w.Grid().Shown(), 0);
    EXPECT_FALSE(w.InputList()->isVisible());
}

// ---------------------------------------------------------------------------
// Vantel Pilots

TEST(VantelPilots, RowsAndCommandsByDeviceType)
{
    struct Case {
        int type, rows;
    };
    for (const Case c : {Case{0, 0}, Case{2, 2}, Case{6, 6}, Case{7, 4}, Case{8, 6}, Case{9, 0}, Case{11, 0}}) {
        SCOPED_TRACE(c.type);
        ProgramState s = FreshState();
        s.Devices[3].DeviceType = static_cast<Integer>(c.type);
        frmT2VantelPilots w(s);
        w.show();
        EXPECT_FALSE(w.AutoMapThisButton()->isVisible());   // "Select Device"
        Choose(w.DeviceList(), 3);
        EXPECT_EQ(VisibleRows(w, "lblInputName", 8), c.rows);
        EXPECT_EQ(VisibleRows(w, "lblPilotSource", 8), c.rows);
        EXPECT_EQ(w.AutoMapThisButton()->isVisible(), c.rows > 0);
        EXPECT_EQ(w.AutoMapAllButton()->isVisible(), c.rows > 0);
        if (c.rows > 0) {
            EXPECT_EQ(Label(w, "lblInputName", c.rows - 1)->text(), " VANTEL 03." + QString::number(c.rows));
            EXPECT_EQ(Label(w, "lblInputName", c.rows - 1)->toolTip(), "Input " + TwoDigits(c.rows));
            EXPECT_EQ(w.AutoMapAllButton()->text(), "Auto Map Pilots For All Vantel Devices");
        }
        w.OnActivate();
        EXPECT_EQ(w.Device(), 0);
    }
}

// A name of ten wide letters is shortened so that the input numbers, which
// tell the rows apart, stay in sight; the tool tip holds the whole text.
TEST(VantelPilots, LongDeviceNameKeepsTheInputNumberInSight)
{
    ProgramState s = FreshState();
    s.Devices[3].DeviceType = 8;   // R6: six rows
    s.Devices[3].DeviceName = "WWWWWWWWWW";
    frmT2VantelPilots w(s);
    w.show();
    Choose(w.DeviceList(), 3);
    for (int r = 0; r < 6; ++r) {
        QLabel* name = Label(w, "lblInputName", r);
        const QString number = "." + QString::number(r + 1);
        EXPECT_TRUE(name->text().endsWith(number)) << name->text().toStdString();
        EXPECT_TRUE(LabelTextFits(name)) << name->text().toStdString();
        EXPECT_EQ(NameToolTip(name), "Input " + TwoDigits(r + 1) + "\n WWWWWWWWWW" + number);
    }
}

TEST(VantelPilots, SourceNumberAndStaticLamp)
{
    ProgramState s = FreshState();
    VantelDevice& d = s.Devices[1];
    d.DeviceType = 3;
    d.DeviceInputPilot = {68, 132, 1, 0, 0, 0, 0, 0, 0};
    frmT2VantelPilots w(s);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    Choose(w.DeviceList(), 1);
    const char* const sources[] = {" On If Relay", " On If Group", " Static"};
    const char* const numbers[] = {" 5", " 5", " On"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Label(w, "lblPilotSource", i)->text(), sources[i]) << i;
        EXPECT_EQ(Label(w, "lblPilotNumber", i)->text(), numbers[i]) << i;
    }
    QComboBox* source = w.Grid().Picker("cboNewSource");
    QComboBox* number = w.Grid().Picker("cboNewNumber");
    EXPECT_EQ(Entries(source), (QStringList{"Static", "On If Relay", "On If Group", "On If Preset"}));
    EXPECT_EQ(number->count(), 48);

    // A new number keeps the source.
    Click(Label(w, "lblPilotNumber", 1));
    ASSERT_TRUE(number->isVisible());
    EXPECT_EQ(number->currentText(), "5");
    Choose(number, 47);
    EXPECT_EQ(d.DeviceInputPilot[1], 175);
    EXPECT_EQ(Label(w, "lblPilotNumber", 1)->text(), " 48");
    EXPECT_TRUE(s.DataChanged);

    // "Static" for "On If Relay" 5 keeps the low bits: 4, a lamp that is off.
    Click(Label(w, "lblPilotSource", 0));
    ASSERT_TRUE(source->isVisible());
    EXPECT_EQ(source->currentIndex(), 1);
    Choose(source, 0);
    EXPECT_EQ(d.DeviceInputPilot[0], 4);
    EXPECT_EQ(Label(w, "lblPilotSource", 0)->text(), " Static");
    EXPECT_EQ(Label(w, "lblPilotNumber", 0)->text(), " Off");
    // Clicks on a static lamp switch it: 4 to 0 (still off), then on, then off.
    s.DataChanged = false;
    for (const int expected : {0, 1, 0}) {
        Click(Label(w, "lblPilotNumber", 0));
        EXPECT_FALSE(number->isVisible());
        EXPECT_EQ(d.DeviceInputPilot[0], expected);
        EXPECT_EQ(Label(w, "lblPilotNumber", 0)->text(), expected ? " On" : " Off");
    }
    EXPECT_TRUE(s.DataChanged);
}

namespace {

// A device whose four inputs map to the four kinds of pilot.
void FourKindsOfInput(VantelDevice& d)
{
    d.DeviceType = 4;
    d.DeviceInputRelayControl(0, 3) = 1;   // relays 4 and 9 "On Only"
    d.DeviceInputRelayControl(0, 8) = 1;
    d.DeviceInputGroupControl(1, 1) = 1;   // group 2
    d.DeviceInputType[2] = 1;              // "Set Preset" with preset index 5
    d.DeviceInputPreset[2] = 5;
    d.DeviceInputPilot = {1, 2, 3, 77, 9, 9, 9, 9, 0};
}

// Answers as scripted and notes whether the wait pointer showed at each message.
class PointerPrompts : public ScriptedPrompts {
public:
    std::vector<bool> waiting;
    PromptAnswer Ask(const PromptRequest& request) override
    {
        waiting.push_back(QApplication::overrideCursor() != nullptr);
        return ScriptedPrompts::Ask(request);
    }
};

}  // namespace

TEST(VantelPilots, AutoMapThisDevice)
{
    ProgramState s = FreshState();
    FourKindsOfInput(s.Devices[3]);
    s.Devices[5] = s.Devices[3];
    s.History.Reset(s);
    frmT2VantelPilots w(s);
    w.show();
    Choose(w.DeviceList(), 3);
    PointerPrompts prompts;
    Click(w.AutoMapThisButton());
    EXPECT_TRUE(prompts.asked.empty());
    const VantelDevice& d = s.Devices[3];
    const int expected[] = {67, 129, 197, 0, 0, 0, 0, 9};   // inputs 0..6 mapped, 7 not
    for (int i = 0; i < 8; ++i) EXPECT_EQ(d.DeviceInputPilot[static_cast<std::size_t>(i)], expected[i]) << i;
    const char* const sources[] = {" On If Relay", " On If Group", " On If Preset", " Static"};
    const char* const numbers[] = {" 4", " 2", " 6", " Off"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Label(w, "lblPilotSource", i)->text(), sources[i]) << i;
        EXPECT_EQ(Label(w, "lblPilotNumber", i)->text(), numbers[i]) << i;
    }
    EXPECT_EQ(s.Devices[5].DeviceInputPilot[0], 1);   // other devices untouched
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(s.DataChanged);
    EXPECT_TRUE(s.History.CanUndo());
}

TEST(VantelPilots, AutoMapAllAsksFirst)
{
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        ProgramState s = FreshState();
        for (int d = 1; d <= 8; ++d) FourKindsOfInput(s.Devices[static_cast<std::size_t>(d)]);
        s.Devices[2].DeviceType = 9;    // a photocell
        s.Devices[3].DeviceType = 0;    // an empty slot
        s.Devices[4].DeviceType = 7;    // a KIM-4: input 2 of type 1 is no "Set Preset" there
        s.Devices[5].DeviceType = 8;    // an R6
        s.History.Reset(s);
        const VantelDevices before = s.Devices;
        frmT2VantelPilots w(s);
        w.show();
        Choose(w.DeviceList(), 1);
        PointerPrompts prompts;
        prompts.answers.push_back(yes ? PromptAnswer::Yes : PromptAnswer::No);
        Click(w.AutoMapAllButton());
        ASSERT_EQ(prompts.asked.size(), 2u);
        EXPECT_EQ(prompts.asked[0].title, "Auto Map Verify");
        EXPECT_EQ(prompts.asked[0].text, "This Will Auto Map The Pilots For ALL Vantel Devices.\nContinue?");
        EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::YesNo);
        EXPECT_EQ(prompts.asked[1].title, "Auto Map");
        EXPECT_EQ(prompts.asked[1].text, yes ? "Auto Map Complete" : "Auto Map Canceled");
        EXPECT_EQ(prompts.waiting, (std::vector<bool>{false, false}));   // the pointer is back before the message
        if (!yes) {
            EXPECT_TRUE(s.Devices == before);
            EXPECT_FALSE(s.DataChanged);
            EXPECT_FALSE(s.History.CanUndo());
            EXPECT_EQ(Label(w, "lblPilotNumber", 0)->text(), " On");
            continue;
        }
        EXPECT_TRUE(s.DataChanged);
        for (const int d : {1, 5, 6, 7, 8}) {
            const auto& pilots = s.Devices[static_cast<std::size_t>(d)].DeviceInputPilot;
            EXPECT_EQ(pilots[0], 67) << d;
            EXPECT_EQ(pilots[1], 129) << d;
            EXPECT_EQ(pilots[2], 197) << d;
            EXPECT_EQ(pilots[3], 0) << d;
        }
        EXPECT_EQ(s.Devices[4].DeviceInputPilot[2], 0);   // KIM-4: type 1 is "Momentary PB", nothing set
        for (const int d : {2, 3}) EXPECT_TRUE(s.Devices[static_cast<std::size_t>(d)] == before[static_cast<std::size_t>(d)]) << d;
        for (int d = 9; d < DeviceSlots; ++d) EXPECT_TRUE(s.Devices[static_cast<std::size_t>(d)] == before[static_cast<std::size_t>(d)]) << d;
        EXPECT_EQ(Label(w, "lblPilotSource", 0)->text(), " On If Relay");   // the shown device redrawn
        EXPECT_EQ(Label(w, "lblPilotNumber", 0)->text(), " 4");
    }
}
