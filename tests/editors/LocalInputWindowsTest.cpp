// The local input editors driven as a user does: input options, input to relay
// and to group control, active times and pilots, and one configuration edited
// through them, saved and packed into the panel image.
#include "EditorGrid.h"
#include "GuiHelpers.h"
#include "ImagePacking.h"
#include "LocalInputWindows.h"
#include "PanelMemory.h"
#include "ScreenText.h"
#include "SettingsFile.h"

#include <QLabel>
#include <QTemporaryDir>

#include <memory>

using namespace t2;
using namespace t2::test;

namespace {

QString Text(QWidget& w, const QString& array, int index)
{
    QLabel* l = Label(w, array, index);
    return l ? l->text() : QString("<missing>");
}

bool Shown(QWidget& w, const QString& array, int index)
{
    QLabel* l = Label(w, array, index);
    return l && l->isVisible();
}

int ShownRows(QWidget& w, const QString& array)
{
    int n = 0;
    for (int r = 0; r < ItemCount; ++r) n += Shown(w, array, r) ? 1 : 0;
    return n;
}

// A click on the window's background, away from every control.
void ClickBackground(QWidget& w)
{
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(w.width() - 3, w.height() - 3));
}

std::unique_ptr<ProgramState> NewState(int ioPoints)
{
    auto s = std::make_unique<ProgramState>(FreshState(ioPoints));
    s->History.Reset(*s);
    return s;
}

}  // namespace

// ---------------------------------------------------------------------------
// Input Options

TEST(InputOptions, TimedOnShowsItsTimeBesideANarrowedTypeLabel)
{
    auto s = NewState(8);
    frmT2InputOptions w(*s);
    w.show();
    EXPECT_EQ(w.windowTitle(), "Input Options");
    QComboBox* types = Find<QComboBox>(w, "cboNewType");
    QComboBox* times = Find<QComboBox>(w, "cboNewTime");
    ASSERT_EQ(types->count(), 13);
    EXPECT_EQ(types->itemText(0), "Momentary On/Off");
    EXPECT_EQ(types->itemText(12), "Force Timer");
    ASSERT_EQ(times->count(), 995);
    EXPECT_EQ(times->itemText(0), "5Min");
    EXPECT_EQ(times->itemText(994), "999Min");

    QLabel* type = Label(w, "lblInputType", 2);
    EXPECT_EQ(type->text(), " Momentary On/Off");
    EXPECT_EQ(type->width(), w.Px(1935));
    EXPECT_FALSE(Shown(w, "lblInputTimedOn", 2));

    Click(type);
    EXPECT_EQ(types->currentIndex(), 0);
    Choose(types, InputTimedOn);
    EXPECT_EQ(s->Config.InputType[2], InputTimedOn);
    EXPECT_TRUE(s->DataChanged);
    EXPECT_EQ(type->text(), " Timed On");
    EXPECT_EQ(type->width(), w.Px(1095));
    ASSERT_TRUE(Shown(w, "lblInputTimedOn", 2));
    EXPECT_EQ(Text(w, "lblInputTimedOn", 2), " 10 Min");

    Click(Label(w, "lblInputTimedOn", 2));
    EXPECT_FALSE(types->isVisible());
    EXPECT_EQ(times->currentText(), "10Min");
    Choose(times, 25);
    EXPECT_EQ(s->Config.InputTimedOnTime[2], 30);
    EXPECT_EQ(Text(w, "lblInputTimedOn", 2), " 30 Min");
    EXPECT_FALSE(times->isVisible());

    // Away from "Timed On" the time hides and stays stored; back, it shows again.
    Click(type);
    Choose(types, InputMomentaryPB);
    EXPECT_EQ(type->text(), " Momentary PB");
    EXPECT_EQ(type->width(), w.Px(1935));
    EXPECT_FALSE(Shown(w, "lblInputTimedOn", 2));
    EXPECT_EQ(s->Config.InputTimedOnTime[2], 30);
    Click(type);
    Choose(types, InputTimedOn);
    EXPECT_EQ(Text(w, "lblInputTimedOn", 2), " 30 Min");
    EXPECT_EQ(s->History.UndoName(), "Input Options");

    // A click on the background closes the picker and stores nothing.
    Click(Label(w, "lblInputType", 5));
    ClickBackground(w);
    EXPECT_FALSE(types->isVisible());
    EXPECT_EQ(s->Config.InputType[5], 0);
}

TEST(InputOptions, RowsFollowTheIoCountAndOddTimesNeverFail)
{
    auto s = NewState(4);
    s->Config.InputType[1] = InputTimedOn;
    s->Config.InputTimedOnTime[1] = 1200;   // above the picker's last entry
    s->Config.InputType[3] = 13;            // no such type
    frmT2InputOptions w(*s);
    w.show();
    EXPECT_EQ(ShownRows(w, "lblInputName"), 4);
    EXPECT_EQ(ShownRows(w, "lblInputType"), 4);
    EXPECT_EQ(Label(w, "lblInputName", 3)->toolTip(), "Input 04");
    EXPECT_EQ(Text(w, "lblInputType", 3), " ");
    EXPECT_EQ(Text(w, "lblInputTimedOn", 1), " 1200 Min");
    Click(Label(w, "lblInputTimedOn", 1));
    EXPECT_EQ(Find<QComboBox>(w, "cboNewTime")->currentIndex(), -1);
    EXPECT_EQ(s->Config.InputTimedOnTime[1], 1200);
    EXPECT_FALSE(s->DataChanged);
}

// ---------------------------------------------------------------------------
// Input To Relay Control and Input To Group Control

TEST(InputToRelayControl, RowsCaptionAndActionsFollowTheInputType)
{
    struct Case {
        int type;
        int io;
        const char* caption;
        int rows;
        const char* tipOfLast;   // tool tip of the last shown row
        int actions;
        const char* lastAction;
        bool preset;
    };
    const Case cases[] = {
        {InputMomentaryOnOff, 8, " Momentary On/Off", 8, "Relay 08", 5, "Blink Alert", false},
        {InputMomentaryPB, 12, " Momentary PB", 12, "Relay 12", 4, "On And Off", false},
        {InputSetPreset, 8, " Set Preset", 0, nullptr, 1, ".", true},
        {InputTimedOn, 8, " Timed On", 8, "Relay 08", 2, "Timed On", false},
        {InputHidBiLevel, 8, " HID Bi-Level", 8, "Relay 08", 4, "Hi-Lo(NC)", false},
        {InputFourStep, 8, " 4 Step", 8, "Relay 08", 3, "Step B", false},
        {InputInputDisable, 8, " Input Disable", 8, "Input 08", 2, "Disable", false},
        {InputTimerDisable, 4, " Timer Disable", 48, "Timer 48", 2, "Disable", false},
        {InputOutputOverride, 20, " Output Override", 20, "Relay 20", 4, "Hold Status", false},
        {InputForceTimer, 4, " Force Timer", 48, "Timer 48", 2, "Force", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        auto s = NewState(c.io);
        s->Config.InputType[0] = static_cast<Integer>(c.type);
        s->Config.RelayNames[0] = "LOBBY";
        s->Config.InputNames[0] = "DOOR";
        s->Config.TimerNames[0] = "DUSK";
        frmT2InputToRelayControl w(*s);
        w.show();
        EXPECT_EQ(w.TypeLabel()->text(), c.caption);
        EXPECT_EQ(ShownRows(w, "lblRelayName"), c.rows);
        EXPECT_EQ(ShownRows(w, "lblControl"), c.rows);
        if (c.rows > 0) {
            EXPECT_EQ(Label(w, "lblRelayName", c.rows - 1)->toolTip(), c.tipOfLast);
            const char* first = c.type == InputInputDisable ? "DOOR" : c.rows == 48 ? "DUSK" : "LOBBY";
            EXPECT_EQ(Text(w, "lblRelayName", 0), first);
        }
        ASSERT_EQ(w.ControlPicker()->count(), c.actions);
        EXPECT_EQ(w.ControlPicker()->itemText(c.actions - 1), c.lastAction);
        EXPECT_EQ(w.MaxControlCode(), c.actions - 1);
        EXPECT_EQ(w.PresetList()->isVisible(), c.preset);
        EXPECT_FALSE(s->DataChanged);
    }
}

TEST(InputToGroupControl, FortyEightGroupsUnlessTheTypeHasNoGroupActions)
{
    struct Case {
        int type;
        int rows;
        int actions;
    };
    const Case cases[] = {
        {InputMomentaryOnOff, 48, 5}, {InputMomentaryPB, 48, 4}, {InputSetPreset, 0, 1}, {InputTimedOn, 48, 2},
        {InputTwoStep, 48, 3},        {InputInputDisable, 0, 1}, {InputTimerDisable, 0, 1},
        {InputOutputOverride, 48, 4}, {InputForceTimer, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        auto s = NewState(4);   // the group rows do not depend on the I/O count
        s->Config.InputType[0] = static_cast<Integer>(c.type);
        s->Config.GroupNames[47] = "LAST";
        frmT2InputToGroupControl w(*s);
        w.show();
        EXPECT_EQ(w.windowTitle(), "Input To Group Control");
        EXPECT_EQ(w.TypeLabel()->text(), " " + ToScreen(InputTypeTexts[c.type]));
        EXPECT_EQ(ShownRows(w, "lblGroupName"), c.rows);
        EXPECT_EQ(ShownRows(w, "lblControl"), c.rows);
        if (c.rows == 48) {
            EXPECT_EQ(Text(w, "lblGroupName", 47), "LAST");
            EXPECT_EQ(Label(w, "lblGroupName", 47)->toolTip(), "Group 48");
        }
        EXPECT_EQ(w.ControlPicker()->count(), c.actions);
        EXPECT_EQ(w.PresetList(), nullptr);
        EXPECT_EQ(Find<QComboBox>(w, "cboPreset"), nullptr);
    }
}

namespace {

// Stored codes of one input and what showing it leaves of them.
struct ClampCase {
    const char* what;
    bool groups;
    int type;
    int row;
    Integer stored;
    Integer kept;
    const char* shown;      // action label of the row ("" when the row is hidden)
    bool allZero;           // every one of the 48 codes becomes 0
};

const ClampCase ClampCases[] = {
    {"Momentary PB, relay 5 at Blink Alert", false, InputMomentaryPB, 4, 4, 3, " On And Off", false},
    {"Momentary On/Off keeps Blink Alert", false, InputMomentaryOnOff, 4, 4, 4, " Blink Alert", false},
    {"Timed On, relay code 3", false, InputTimedOn, 2, 3, 1, " Timed On", false},
    {"Set Preset zeroes its codes", false, InputSetPreset, 7, 2, 0, "", true},
    {"Force Timer, hidden timer 40", false, InputForceTimer, 40, 3, 1, " Force", false},
    {"Input Disable, row beyond the inputs", false, InputInputDisable, 30, 2, 1, "", false},
    {"negative code stays", false, InputMomentaryPB, 1, -2, -2, " ", false},
    {"Timed On, group code 2", true, InputTimedOn, 5, 2, 1, " Timed On", false},
    {"Input Disable zeroes its group codes", true, InputInputDisable, 3, 1, 0, "", true},
    {"Timer Disable zeroes its group codes", true, InputTimerDisable, 47, 4, 0, "", true},
    {"2 Step, group 48 at 4", true, InputTwoStep, 47, 4, 2, " Step B", false},
};

std::unique_ptr<InputControlWindow> ControlWindow(ProgramState& s, bool groups)
{
    if (groups) return std::make_unique<frmT2InputToGroupControl>(s);
    return std::make_unique<frmT2InputToRelayControl>(s);
}

}  // namespace

TEST(InputControl, ShowingAnInputCutsItsCodesToTheTypesHighest)
{
    for (const ClampCase& c : ClampCases) {
        SCOPED_TRACE(c.what);
        auto s = NewState(8);
        ItemMatrix& codes = c.groups ? s->Config.InputGroupControl : s->Config.InputRelayControl;
        // Input 2 carries the case; input 0 is the first shown.
        s->Config.InputType[2] = static_cast<Integer>(c.type);
        for (int r = 0; r < ItemCount; ++r) codes(2, r) = static_cast<Integer>(r % 2);
        codes(2, c.row) = c.stored;
        codes(2, 48) = 7;   // the spare column is none of the window's rows
        codes(0, c.row) = 4;
        auto w = ControlWindow(*s, c.groups);
        w->show();
        EXPECT_EQ(codes(2, c.row), c.stored);   // not shown yet: untouched
        Choose(w->InputList(), 2);
        EXPECT_EQ(codes(2, c.row), c.kept);
        if (*c.shown) {
            EXPECT_TRUE(Shown(*w, "lblControl", c.row));
            EXPECT_EQ(Text(*w, "lblControl", c.row), c.shown);
        } else {
            EXPECT_FALSE(Shown(*w, "lblControl", c.row));
        }
        if (c.allZero) {
            for (int r = 0; r < ItemCount; ++r) EXPECT_EQ(codes(2, r), 0) << r;
        }
        EXPECT_EQ(codes(2, 48), 7);
        EXPECT_EQ(codes(0, c.row), 4);      // other inputs stay as they are
        EXPECT_FALSE(s->DataChanged);       // the clamp is no edit
        EXPECT_FALSE(s->History.CanUndo());
    }
}

TEST(InputToRelayControl, ChoosingAnActionStoresItAndEveryClickMarksTheChange)
{
    auto s = NewState(8);
    s->Config.InputNames[1] = "BACK DOOR";
    s->Config.InputType[1] = InputHidBiLevel;
    frmT2InputToRelayControl w(*s);
    w.show();
    EXPECT_EQ(w.windowTitle(), "Input To Relay Control");
    ASSERT_EQ(w.InputList()->count(), 8);
    EXPECT_EQ(w.InputList()->itemText(1), "BACK DOOR");
    Choose(w.InputList(), 1);
    EXPECT_FALSE(s->DataChanged);   // choosing an input changes nothing
    EXPECT_EQ(w.TypeLabel()->text(), " HID Bi-Level");

    QComboBox* picker = w.ControlPicker();
    Click(Label(w, "lblControl", 6));
    ASSERT_TRUE(picker->isVisible());
    EXPECT_EQ(picker->geometry().topLeft(), Label(w, "lblControl", 6)->geometry().topLeft());
    EXPECT_EQ(picker->currentIndex(), 0);
    EXPECT_TRUE(s->DataChanged);    // opening marks the change, even if nothing is chosen
    ClickBackground(w);
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(s->Config.InputRelayControl(1, 6), 0);

    s->DataChanged = false;
    Click(Label(w, "lblControl", 6));
    Choose(picker, 2);
    EXPECT_EQ(s->Config.InputRelayControl(1, 6), 2);
    EXPECT_EQ(Text(w, "lblControl", 6), " Hi-Lo(NO)");
    EXPECT_FALSE(picker->isVisible());
    EXPECT_TRUE(s->DataChanged);
    EXPECT_EQ(s->History.UndoName(), "Input To Relay Control");

    // Activation returns to the first input.
    w.OnActivate();
    EXPECT_EQ(w.Input(), 0);
    EXPECT_EQ(w.TypeLabel()->text(), " Momentary On/Off");
}

TEST(InputToRelayControl, SetPresetInputChoosesItsPreset)
{
    auto s = NewState(8);
    s->Config.InputType[0] = InputSetPreset;
    s->Config.InputPreset[0] = 3;
    s->Config.InputPreset[1] = 60;   // no such preset
    s->Config.PresetNames[5] = "EVENING";
    for (int r = 0; r < ItemCount; ++r) s->Config.InputRelayControl(0, r) = static_cast<Integer>(r % 5);
    frmT2InputToRelayControl w(*s);
    w.show();
    QComboBox* presets = w.PresetList();
    ASSERT_TRUE(presets->isVisible());
    ASSERT_EQ(presets->count(), 48);
    EXPECT_EQ(presets->itemText(5), "EVENING");
    EXPECT_EQ(presets->currentIndex(), 3);
    for (int r = 0; r < ItemCount; ++r) EXPECT_EQ(s->Config.InputRelayControl(0, r), 0) << r;
    EXPECT_FALSE(s->DataChanged);

    Choose(presets, 5);
    EXPECT_EQ(s->Config.InputPreset[0], 5);
    EXPECT_TRUE(s->DataChanged);

    // Another type hides the list; a stored preset outside it selects none.
    s->Config.InputType[1] = InputSetPreset;
    Choose(w.InputList(), 1);
    EXPECT_TRUE(presets->isVisible());
    EXPECT_EQ(presets->currentIndex(), -1);
    EXPECT_EQ(s->Config.InputPreset[1], 60);
    Choose(w.InputList(), 2);
    EXPECT_FALSE(presets->isVisible());
    EXPECT_EQ(ShownRows(w, "lblControl"), 8);
}

// An input type the panel does not define keeps what the window showed, offers
// no actions, and leaves the input's codes as they are (there is no highest
// code to cut them to).
TEST(InputControl, UnknownTypeKeepsTheViewAndTheCodes)
{
    for (const bool groups : {false, true}) {
        SCOPED_TRACE(groups ? "groups" : "relays");
        auto s = NewState(8);
        ItemMatrix& codes = groups ? s->Config.InputGroupControl : s->Config.InputRelayControl;
        s->Config.InputType[0] = 13;
        s->Config.InputType[1] = InputTimerDisable;
        s->Config.InputType[2] = -1;
        codes(0, 3) = 4;
        codes(2, 3) = 4;
        auto w = ControlWindow(*s, groups);
        w->show();   // the first input is of no known type
        EXPECT_EQ(w->TypeLabel()->text(), "");
        EXPECT_EQ(codes(0, 3), 4);
        EXPECT_EQ(Text(*w, "lblControl", 3), " ");
        EXPECT_EQ(w->ControlPicker()->count(), 0);

        Choose(w->InputList(), 1);
        const int rows = ShownRows(*w, "lblControl");
        EXPECT_EQ(rows, groups ? 0 : 48);
        Choose(w->InputList(), 2);
        EXPECT_EQ(w->TypeLabel()->text(), " Timer Disable");
        EXPECT_EQ(ShownRows(*w, "lblControl"), rows);
        EXPECT_EQ(w->ControlPicker()->count(), 0);
        EXPECT_EQ(codes(2, 3), 4);
        if (!groups) {
            EXPECT_EQ(Text(*w, "lblControl", 3), " ");
            Click(Label(*w, "lblControl", 3));
            EXPECT_EQ(w->ControlPicker()->currentIndex(), -1);
            EXPECT_EQ(codes(2, 3), 4);
        }
    }
}

// ---------------------------------------------------------------------------
// No I/O at all: every window opens with nothing to show.

TEST(LocalInputWindows, NoIoPointsShowNoRowsAndNothingFails)
{
    auto s = NewState(0);
    ASSERT_EQ(TotalIOCount(s->Config), 0);
    const PanelConfig before = s->Config;
    std::vector<std::unique_ptr<EditorWindow>> windows;
    windows.push_back(std::make_unique<frmT2InputOptions>(*s));
    windows.push_back(std::make_unique<frmT2InputToRelayControl>(*s));
    windows.push_back(std::make_unique<frmT2InputToGroupControl>(*s));
    windows.push_back(std::make_unique<frmT2InputActiveTimes>(*s));
    windows.push_back(std::make_unique<frmT2LocalInputPilots>(*s));
    for (auto& w : windows) {
        SCOPED_TRACE(w->windowTitle().toStdString());
        w->show();
        for (const char* array : {"lblInputName", "lblRelayName", "lblGroupName", "lblControl", "lblInputType",
                                  "lblInputEnableTime", "lblPilotSource"})
            EXPECT_EQ(ShownRows(*w, array), 0) << array;
        if (auto* control = dynamic_cast<InputControlWindow*>(w.get())) {
            EXPECT_EQ(control->InputList()->count(), 0);
            EXPECT_EQ(control->Input(), -1);
            EXPECT_EQ(control->TypeLabel()->text(), "");
            if (control->PresetList()) {
                EXPECT_FALSE(control->PresetList()->isVisible());
            }
        }
        ClickBackground(*w);
        w->OnActivate();
        w->hide();
    }
    EXPECT_EQ(s->Config, before);
    EXPECT_FALSE(s->DataChanged);
}

// ---------------------------------------------------------------------------
// Input Active Times

TEST(InputActiveTimes, QuarterHoursShowAsClockTimes)
{
    auto s = NewState(8);
    s->Config.InputEnableTime[1] = 28;
    s->Config.InputDisableTime[1] = 72;
    s->Config.InputEnableTime[3] = 95;
    s->Config.InputDisableTime[3] = 100;   // beyond the day: shown, never chosen
    frmT2InputActiveTimes w(*s);
    w.show();
    EXPECT_EQ(w.windowTitle(), "Input Active Times");
    EXPECT_EQ(Text(w, "lblInputEnableTime", 1), "7:00A");
    EXPECT_EQ(Text(w, "lblInputDisableTime", 1), "6:00P");
    EXPECT_EQ(Text(w, "lblInputEnableTime", 0), "12:00A");
    EXPECT_EQ(Text(w, "lblInputEnableTime", 3), "11:45P");
    EXPECT_EQ(Text(w, "lblInputDisableTime", 3), "1:00A");

    QComboBox* picker = Find<QComboBox>(w, "cboNewTime");
    ASSERT_EQ(picker->count(), 96);
    EXPECT_EQ(picker->itemText(48), "12:00P");

    // Opening marks the change; closing it on the background changes no time.
    Click(Label(w, "lblInputDisableTime", 3));
    EXPECT_EQ(picker->currentIndex(), -1);
    EXPECT_TRUE(s->DataChanged);
    ClickBackground(w);
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(s->Config.InputDisableTime[3], 100);

    // One picker serves both columns and stores where it was opened.
    Click(Label(w, "lblInputEnableTime", 1));
    EXPECT_EQ(picker->currentIndex(), 28);
    Choose(picker, 30);
    EXPECT_EQ(s->Config.InputEnableTime[1], 30);
    EXPECT_EQ(s->Config.InputDisableTime[1], 72);
    EXPECT_EQ(Text(w, "lblInputEnableTime", 1), "7:30A");
    Click(Label(w, "lblInputDisableTime", 1));
    EXPECT_EQ(picker->currentIndex(), 72);
    Choose(picker, 95);
    EXPECT_EQ(s->Config.InputDisableTime[1], 95);
    EXPECT_EQ(s->Config.InputEnableTime[1], 30);
    EXPECT_EQ(Text(w, "lblInputDisableTime", 1), "11:45P");
    EXPECT_EQ(s->History.UndoName(), "Input Active Times");
}

TEST(InputActiveTimes, ColumnsAndHeadingsFollowTheIoCount)
{
    struct Case {
        int io;
        bool heading1, heading2;
    };
    for (const Case c : {Case{4, false, false}, Case{16, false, false}, Case{20, true, false},
                         Case{32, true, false}, Case{36, true, true}, Case{48, true, true}}) {
        SCOPED_TRACE(c.io);
        auto s = NewState(c.io);
        frmT2InputActiveTimes w(*s);
        w.show();
        EXPECT_EQ(ShownRows(w, "lblInputName"), c.io);
        EXPECT_EQ(ShownRows(w, "lblInputEnableTime"), c.io);
        EXPECT_EQ(ShownRows(w, "lblInputDisableTime"), c.io);
        for (const char* heading : {"lblInputEnableHeader", "lblInputDisableHeader"}) {
            EXPECT_TRUE(Shown(w, heading, 0));
            EXPECT_EQ(Shown(w, heading, 1), c.heading1) << heading;
            EXPECT_EQ(Shown(w, heading, 2), c.heading2) << heading;
        }
        EXPECT_EQ(Text(w, "lblInputEnableHeader", 0), "Enable");
        EXPECT_EQ(Text(w, "lblInputDisableHeader", 0), "Disable");
    }
}

// ---------------------------------------------------------------------------
// Local Input Pilots

TEST(LocalInputPilots, SourceAndNumberEachKeepTheOther)
{
    struct Case {
        const char* what;
        Integer stored;
        const char* source;     // shown before
        const char* number;
        bool pickSource;        // else the number picker
        int entry;
        Integer result;
        const char* sourceAfter;
        const char* numberAfter;
    };
    const Case cases[] = {
        {"default relay 5 to a group", 4, " On If Relay", " 5", true, 1, 68, " On If Group", " 5"},
        {"group 3 to a preset", 66, " On If Group", " 3", true, 2, 130, " On If Preset", " 3"},
        {"preset 1 to number 48", 128, " On If Preset", " 1", false, 47, 175, " On If Preset", " 48"},
        {"relay 48 to number 1", 47, " On If Relay", " 48", false, 0, 0, " On If Relay", " 1"},
        {"source without a text keeps it", 200, " ", " 9", false, 0, 192, " ", " 1"},
        {"source without a text, new source", 200, " ", " 9", true, 0, 8, " On If Relay", " 9"},
        {"number beyond 48", 60, " On If Relay", " 61", true, 1, 124, " On If Group", " 61"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto s = NewState(8);
        s->Config.InputPilot[4] = c.stored;
        frmT2LocalInputPilots w(*s);
        w.show();
        EXPECT_EQ(Text(w, "lblPilotSource", 4), c.source);
        EXPECT_EQ(Text(w, "lblPilotNumber", 4), c.number);
        QComboBox* picker = Find<QComboBox>(w, c.pickSource ? "cboNewSource" : "cboNewNumber");
        Click(Label(w, c.pickSource ? "lblPilotSource" : "lblPilotNumber", 4));
        EXPECT_FALSE(s->DataChanged);
        Choose(picker, c.entry);
        EXPECT_EQ(s->Config.InputPilot[4], c.result);
        EXPECT_TRUE(s->DataChanged);
        EXPECT_EQ(Text(w, "lblPilotSource", 4), c.sourceAfter);
        EXPECT_EQ(Text(w, "lblPilotNumber", 4), c.numberAfter);
    }
}

TEST(LocalInputPilots, ListsAndRows)
{
    auto s = NewState(8);
    frmT2LocalInputPilots w(*s);
    w.show();
    EXPECT_EQ(w.windowTitle(), "Local Input Pilots");
    QComboBox* sources = Find<QComboBox>(w, "cboNewSource");
    QComboBox* numbers = Find<QComboBox>(w, "cboNewNumber");
    ASSERT_EQ(sources->count(), 3);
    EXPECT_EQ(sources->itemText(2), "On If Preset");
    ASSERT_EQ(numbers->count(), 48);
    EXPECT_EQ(numbers->itemText(0), "1");
    EXPECT_EQ(numbers->itemText(47), "48");
    EXPECT_EQ(ShownRows(w, "lblInputName"), 8);
    EXPECT_EQ(ShownRows(w, "lblPilotNumber"), 8);
    EXPECT_EQ(Label(w, "lblInputName", 7)->toolTip(), "Input 08");
    Click(Label(w, "lblPilotNumber", 6));
    EXPECT_EQ(numbers->currentIndex(), 6);
    Click(Label(w, "lblPilotSource", 6));   // one picker at a time
    EXPECT_FALSE(numbers->isVisible());
    EXPECT_TRUE(sources->isVisible());
    EXPECT_EQ(sources->currentIndex(), 0);
}

// ---------------------------------------------------------------------------
// Through the windows, the settings file and the panel image.

namespace {

bool Bit(const PanelImage& image, int cell, int bit)
{
    return (image[static_cast<std::size_t>(cell)] >> bit) & 1;
}

}  // namespace

TEST(LocalInputWindows, EditsReachThePanelImageThroughTheSettingsFile)
{
    auto s = NewState(8);
    s->Config.InputRelayControl(1, 4) = 4;   // "Blink Alert", more than the new type allows
    {
        frmT2InputOptions w(*s);
        w.show();
        const std::pair<int, int> types[] = {{1, InputMomentaryPB}, {2, InputTimedOn}, {3, InputSetPreset}};
        for (const auto& [input, type] : types) {
            Click(Label(w, "lblInputType", input));
            Choose(Find<QComboBox>(w, "cboNewType"), type);
        }
        Click(Label(w, "lblInputTimedOn", 2));
        Choose(Find<QComboBox>(w, "cboNewTime"), 25);   // 30 minutes
    }
    {
        frmT2InputToRelayControl w(*s);
        w.show();
        Choose(w.InputList(), 1);   // the clamp: 4 becomes 3 ("On And Off")
        Click(Label(w, "lblControl", 7));
        Choose(w.ControlPicker(), 2);   // "Off Only"
        Choose(w.InputList(), 2);
        Click(Label(w, "lblControl", 0));
        Choose(w.ControlPicker(), 1);   // "Timed On"
        Choose(w.InputList(), 3);
        Choose(w.PresetList(), 5);
    }
    {
        frmT2InputToGroupControl w(*s);
        w.show();
        Click(Label(w, "lblControl", 47));
        Choose(w.ControlPicker(), 4);   // "Blink Alert" on group 48
    }
    {
        frmT2InputActiveTimes w(*s);
        w.show();
        Click(Label(w, "lblInputEnableTime", 2));
        Choose(Find<QComboBox>(w, "cboNewTime"), 28);
        Click(Label(w, "lblInputDisableTime", 2));
        Choose(Find<QComboBox>(w, "cboNewTime"), 72);
    }
    {
        frmT2LocalInputPilots w(*s);
        w.show();
        Click(Label(w, "lblPilotSource", 4));
        Choose(Find<QComboBox>(w, "cboNewSource"), 1);   // "On If Group" 5
        Click(Label(w, "lblPilotSource", 7));
        Choose(Find<QComboBox>(w, "cboNewSource"), 2);
        Click(Label(w, "lblPilotNumber", 7));
        Choose(Find<QComboBox>(w, "cboNewNumber"), 47);   // "On If Preset" 48
    }
    EXPECT_TRUE(s->DataChanged);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("INPUTS.TMB").toStdString();
    std::string error;
    ASSERT_TRUE(WriteSettingsFile(path, s->Config, s->Devices, &error)) << error;
    ProgramState loaded = FreshState(4);
    ASSERT_TRUE(ReadSettingsFile(path, loaded.Config, loaded.Devices, &error)) << error;
    EXPECT_EQ(loaded.Config, s->Config);
    BuildPanelImage(loaded.Config, loaded.Devices, {}, loaded.Image);
    const PanelImage& image = loaded.Image;

    namespace M = PanelMemory;
    EXPECT_EQ(image[M::InputType + 1], InputMomentaryPB);
    EXPECT_EQ(image[M::InputType + 2], InputTimedOn);
    EXPECT_EQ(image[M::InputType + 3], InputSetPreset);
    EXPECT_EQ(image[M::InputTimedOnTime + 4], 0);
    EXPECT_EQ(image[M::InputTimedOnTime + 5], 30);
    EXPECT_EQ(image[M::InputTimedOnTime + 2], 0);    // input 1 keeps 10 minutes
    EXPECT_EQ(image[M::InputTimedOnTime + 3], 10);
    // Input 1 (row cells 6..11): relay 5 at 3 (planes 0 and 1), relay 8 at 2 (plane 1).
    const auto& relay = M::InputRelayControlPlanes;
    EXPECT_EQ(image[relay[0] + 6], 1 << 4);
    EXPECT_EQ(image[relay[1] + 6], (1 << 4) | (1 << 7));
    EXPECT_EQ(image[relay[2] + 6], 0);
    // Input 2 (cells 12..17): relay 1 "Timed On".
    EXPECT_TRUE(Bit(image, relay[0] + 12, 0));
    EXPECT_FALSE(Bit(image, relay[1] + 12, 0));
    EXPECT_EQ(image[M::InputPreset + 3], 5);
    // Input 0, group 48 at 4: bit 7 of the row's last cell, in plane 2 only.
    const auto& group = M::InputGroupControlPlanes;
    EXPECT_EQ(image[group[2] + 5], 0x80);
    EXPECT_EQ(image[group[0] + 5], 0);
    EXPECT_EQ(image[group[1] + 5], 0);
    EXPECT_EQ(image[M::InputEnableTime + 2], 28);
    EXPECT_EQ(image[M::InputDisableTime + 2], 72);
    EXPECT_EQ(image[M::InputPilot + 4], 68);
    EXPECT_EQ(image[M::InputPilot + 7], 175);
    EXPECT_EQ(image[M::InputPilot + 5], 5);          // untouched inputs keep their default
}
