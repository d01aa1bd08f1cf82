// "Relay Output Options" and "Relay Grouping" driven as a user does.
#include "EditorGrid.h"
#include "GuiHelpers.h"
#include "NameTips.h"
#include "RelayWindows.h"
#include "ScreenText.h"

#include <QLabel>

using namespace t2;
using namespace t2::test;

TEST(RelayOutputOptions, RowsAndHeadingsFollowTheIoCount)
{
    struct Case {
        int io;
        bool heading1, heading2;
    };
    for (const Case c : {Case{4, false, false}, Case{12, false, false}, Case{16, false, false},
                         Case{20, true, false}, Case{32, true, false}, Case{36, true, true}, Case{48, true, true}}) {
        SCOPED_TRACE(c.io);
        ProgramState s = FreshState(c.io);
        s.Config.RelayNames[c.io - 1] = "LAST";
        frmT2RelayOutputOptions w(s);
        w.show();
        EXPECT_EQ(w.windowTitle(), "Relay Output Options");
        for (const char* array : {"lblRelayName", "lblTimerType", "lblPowerOnType"}) {
            EXPECT_TRUE(Label(w, array, c.io - 1)->isVisible()) << array;
            if (c.io < 48) {
                EXPECT_FALSE(Label(w, array, c.io)->isVisible()) << array;
            }
        }
        EXPECT_EQ(Label(w, "lblRelayName", c.io - 1)->text(), "LAST");
        EXPECT_EQ(Label(w, "lblRelayName", c.io - 1)->toolTip(), "Relay " + TwoDigits(c.io));
        for (const char* heading : {"lblTimerTypeHeater", "lblPowerUpHeader"}) {
            EXPECT_TRUE(Label(w, heading, 0)->isVisible());
            EXPECT_EQ(Label(w, heading, 1)->isVisible(), c.heading1) << heading;
            EXPECT_EQ(Label(w, heading, 2)->isVisible(), c.heading2) << heading;
        }
        EXPECT_EQ(Label(w, "lblTimerTypeHeater", 0)->text(), "Timers");
        EXPECT_EQ(Label(w, "lblPowerUpHeader", 2)->text(), "PowerOn");
    }
}

TEST(RelayOutputOptions, PickersStoreTheChosenIndex)
{
    ProgramState s = FreshState(8);
    s.Config.RelayTimerType[2] = 4;
    frmT2RelayOutputOptions w(s);
    w.show();
    QComboBox* timer = Find<QComboBox>(w, "cboNewTimerType");
    QComboBox* power = Find<QComboBox>(w, "cboNewPowerOnType");
    ASSERT_EQ(timer->count(), 7);
    ASSERT_EQ(power->count(), 4);
    EXPECT_EQ(Label(w, "lblTimerType", 2)->text(), " Alarm On");
    EXPECT_EQ(Label(w, "lblPowerOnType", 2)->text(), " Off");
    EXPECT_FALSE(timer->isVisible());

    Click(Label(w, "lblTimerType", 2));
    EXPECT_TRUE(timer->isVisible());
    EXPECT_EQ(timer->geometry().topLeft(), Label(w, "lblTimerType", 2)->geometry().topLeft());
    EXPECT_EQ(timer->currentIndex(), 4);
    EXPECT_FALSE(s.DataChanged);                    // showing the stored value is no change
    Click(Label(w, "lblPowerOnType", 5));           // one picker at a time
    EXPECT_FALSE(timer->isVisible());
    EXPECT_TRUE(power->isVisible());
    Choose(power, 3);
    EXPECT_EQ(s.Config.RelayPowerOnType[5], 3);
    EXPECT_EQ(Label(w, "lblPowerOnType", 5)->text(), " Last State");
    EXPECT_FALSE(power->isVisible());
    EXPECT_TRUE(s.DataChanged);

    // Choosing the entry already stored keeps it, closes the list, marks the change.
    s.DataChanged = false;
    Click(Label(w, "lblTimerType", 2));
    Choose(timer, 4);
    EXPECT_EQ(s.Config.RelayTimerType[2], 4);
    EXPECT_FALSE(timer->isVisible());
    EXPECT_TRUE(s.DataChanged);

    // A click on the background closes an open picker and stores nothing.
    Click(Label(w, "lblTimerType", 0));
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(w.width() - 3, w.height() - 3));
    EXPECT_FALSE(timer->isVisible());
    EXPECT_EQ(s.Config.RelayTimerType[0], 0);
}

TEST(RelayOutputOptions, StoredValueOutsideTheListShowsTheSpaceOnly)
{
    ProgramState s = FreshState(4);
    s.Config.RelayTimerType[1] = 7;
    s.Config.RelayPowerOnType[1] = -3;
    frmT2RelayOutputOptions w(s);
    w.show();
    EXPECT_EQ(Label(w, "lblTimerType", 1)->text(), " ");
    EXPECT_EQ(Label(w, "lblPowerOnType", 1)->text(), " ");
    Click(Label(w, "lblPowerOnType", 1));
    EXPECT_EQ(Find<QComboBox>(w, "cboNewPowerOnType")->currentIndex(), -1);
    EXPECT_EQ(s.Config.RelayPowerOnType[1], -3);
    Choose(Find<QComboBox>(w, "cboNewPowerOnType"), 1);
    EXPECT_EQ(s.Config.RelayPowerOnType[1], 1);
    EXPECT_EQ(Label(w, "lblPowerOnType", 1)->text(), " On");
}

TEST(RelayOutputOptions, CopyGestureOnlyOnRelayOneWithShiftAlone)
{
    for (const PressCase& c : CopyPressCases) {
        SCOPED_TRACE(c.what);
        ProgramState s = FreshState(12);
        s.Config.RelayTimerType[0] = 6;      // "Pulsed On"
        s.Config.RelayPowerOnType[0] = 3;    // "Last State"
        s.Config.RelayTimerType[20] = 2;
        frmT2RelayOutputOptions w(s);
        w.show();
        Click(Label(w, "lblTimerType", 3));
        Press(Label(w, "lblRelayName", c.row), c.button, c.mods);
        EXPECT_TRUE(s.DataChanged);                               // any press marks the change
        EXPECT_FALSE(Find<QComboBox>(w, "cboNewTimerType")->isVisible());
        for (int r = 1; r < 12; ++r) {
            EXPECT_EQ(s.Config.RelayTimerType[r], c.copies ? 6 : 0) << r;
            EXPECT_EQ(s.Config.RelayPowerOnType[r], c.copies ? 3 : 0) << r;
        }
        EXPECT_EQ(Label(w, "lblTimerType", 11)->text(), c.copies ? " Pulsed On" : " No Blink");
        for (int r = 12; r < 48; ++r) {                            // relays not shown keep their values
            EXPECT_EQ(s.Config.RelayTimerType[r], r == 20 ? 2 : 0) << r;
            EXPECT_EQ(s.Config.RelayPowerOnType[r], 0) << r;
        }
    }
}

// ---------------------------------------------------------------------------

namespace {

const QColor White(255, 255, 255);
const QColor Grey(128, 128, 128);

QColor Back(QLabel* l)
{
    return l->palette().color(QPalette::Window);
}

}  // namespace

TEST(RelayGrouping, ClicksToggleTheMembership)
{
    ProgramState s = FreshState(8);
    s.Config.GroupNames[2] = "HALLS";
    frmT2RelayGrouping w(s);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QComboBox* groups = Find<QComboBox>(w, "cboGroup");
    ASSERT_EQ(groups->count(), 48);
    EXPECT_EQ(groups->itemText(2), "HALLS");
    EXPECT_EQ(groups->currentIndex(), 0);
    Choose(groups, 2);
    EXPECT_FALSE(s.DataChanged);                  // choosing a group changes nothing

    QLabel* mark = Label(w, "lblInclude", 4);
    EXPECT_EQ(mark->text(), "No");
    EXPECT_EQ(Back(mark), Grey);
    Click(mark);
    EXPECT_EQ(s.Config.GroupRelays(2, 4), -1);
    EXPECT_EQ(mark->text(), "Yes");
    EXPECT_EQ(Back(mark), White);
    EXPECT_TRUE(s.DataChanged);
    Click(mark);
    EXPECT_EQ(s.Config.GroupRelays(2, 4), 0);
    EXPECT_EQ(mark->text(), "No");
    EXPECT_EQ(Back(mark), Grey);

    // A double click toggles twice: the membership stays, the change is marked.
    Click(mark);
    s.DataChanged = false;
    DoubleClick(mark);
    EXPECT_EQ(s.Config.GroupRelays(2, 4), -1);
    EXPECT_EQ(mark->text(), "Yes");
    EXPECT_TRUE(s.DataChanged);

    // A member stored as 1 rather than -1 shows "Yes" and leaves on one click.
    s.Config.GroupRelays(2, 6) = 1;
    w.ShowGroupConfiguration();
    EXPECT_EQ(Label(w, "lblInclude", 6)->text(), "Yes");
    Click(Label(w, "lblInclude", 6));
    EXPECT_EQ(s.Config.GroupRelays(2, 6), 0);
    EXPECT_EQ(Label(w, "lblInclude", 6)->text(), "No");

    // Another group shows its own marks; activation returns to the first group.
    Choose(groups, 3);
    EXPECT_EQ(Label(w, "lblInclude", 4)->text(), "No");
    w.OnActivate();
    EXPECT_EQ(groups->currentIndex(), 0);
}

TEST(RelayGrouping, CopyGestureCopiesRelayOneOfTheSelectedGroup)
{
    for (const bool member : {true, false}) {
        for (const PressCase& c : CopyPressCases) {
            SCOPED_TRACE(std::string(c.what) + (member ? ", relay 1 in group" : ", relay 1 not in group"));
            ProgramState s = FreshState(16);
            for (int r = 1; r < 48; r += 2) s.Config.GroupRelays(2, r) = -1;   // every other relay in group 3
            s.Config.GroupRelays(2, 0) = member ? -1 : 0;
            s.Config.GroupRelays(5, 7) = -1;
            const PanelConfig before = s.Config;
            frmT2RelayGrouping w(s);
            w.show();
            Choose(Find<QComboBox>(w, "cboGroup"), 2);
            Press(Label(w, "lblRelayName", c.row), c.button, c.mods);
            EXPECT_TRUE(s.DataChanged);
            for (int r = 1; r < 16; ++r)
                EXPECT_EQ(s.Config.GroupRelays(2, r), c.copies ? before.GroupRelays(2, 0) : before.GroupRelays(2, r)) << r;
            for (int r = 16; r < 48; ++r) EXPECT_EQ(s.Config.GroupRelays(2, r), before.GroupRelays(2, r)) << r;
            EXPECT_EQ(s.Config.GroupRelays(5, 7), -1);
            EXPECT_EQ(Label(w, "lblInclude", 15)->text(), s.Config.GroupRelays(2, 15) ? "Yes" : "No");
            EXPECT_FALSE(Label(w, "lblInclude", 16)->isVisible());
            EXPECT_FALSE(Label(w, "lblRelayName", 16)->isVisible());
        }
    }
}

TEST(RelayOutputOptions, NamesTooLongForTheirLabelShowWholeInTheToolTip)
{
    ProgramState s = FreshState(8);
    s.Config.RelayNames[0] = "LOBBY";
    s.Config.RelayNames[1] = "NORTH WING CORRIDOR LIGHTING CIRCUIT";
    frmT2RelayOutputOptions w(s);
    w.show();
    EXPECT_EQ(NameToolTip(Label(w, "lblRelayName", 0)), "Relay 01");
    EXPECT_EQ(NameToolTip(Label(w, "lblRelayName", 1)), "Relay 02\nNORTH WING CORRIDOR LIGHTING CIRCUIT");
}
