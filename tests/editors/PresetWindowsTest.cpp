// "Edit Presets" driven as a user does.
#include "EditorGrid.h"
#include "GuiHelpers.h"
#include "PresetWindows.h"
#include "ScreenText.h"

#include <QLabel>

using namespace t2;
using namespace t2::test;

namespace {

QColor Back(QLabel* l) { return l->palette().color(QPalette::Window); }

struct Look {
    const char* text;
    QColor colour;
};
const Look Looks[] = {{"-", QColor(0xC0, 0xC0, 0xC0)}, {"On", QColor(0xFF, 0xFF, 0xFF)}, {"Off", QColor(128, 128, 128)}};

}  // namespace

TEST(EditPresets, ShowsTheSelectedPresetForTheInstalledRelays)
{
    ProgramState s = FreshState(20);
    s.Config.PresetNames[0] = "EVENING";
    s.Config.PresetNames[4] = "CLEANING";
    s.Config.RelayNames[19] = "LAST";
    s.Config.PresetRelayControl(0, 19) = 1;
    s.Config.PresetRelayControl(4, 19) = 2;
    frmT2EditPresets w(s);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.windowTitle(), "Edit Presets");
    QComboBox* presets = Find<QComboBox>(w, "cboPresetNumber");
    ASSERT_EQ(presets->count(), 48);
    EXPECT_EQ(presets->itemText(4), "CLEANING");
    EXPECT_EQ(presets->currentIndex(), 0);
    EXPECT_EQ(Label(w, "lblRelayName", 19)->text(), "LAST");
    EXPECT_EQ(Label(w, "lblRelayName", 19)->toolTip(), "Relay 20");
    EXPECT_EQ(Label(w, "lblRelayControl", 19)->text(), "On");
    EXPECT_FALSE(Label(w, "lblRelayControl", 20)->isVisible());
    EXPECT_FALSE(Label(w, "lblRelayName", 20)->isVisible());
    // Relay 20 sits in the second column, line 4.
    EXPECT_EQ(Label(w, "lblRelayName", 19)->pos(), QPoint(w.Px(240 + 3600), w.Px(840 + 3 * 360)));
    EXPECT_EQ(Label(w, "lblRelayControl", 19)->pos(), QPoint(w.Px(1920 + 3600), w.Px(840 + 3 * 360)));

    Choose(presets, 4);
    EXPECT_EQ(Label(w, "lblRelayControl", 19)->text(), "Off");
    EXPECT_EQ(Label(w, "lblRelayControl", 0)->text(), "-");
    EXPECT_FALSE(s.DataChanged);   // choosing what to show is no change

    // Activation shows the first preset again, with names read afresh.
    s.Config.PresetNames[0] = "NIGHT";
    w.OnActivate();
    EXPECT_EQ(presets->currentIndex(), 0);
    EXPECT_EQ(presets->itemText(0), "NIGHT");
    EXPECT_EQ(Label(w, "lblRelayControl", 19)->text(), "On");
}

TEST(EditPresets, ClicksStepTheStateAndThreeReturnToTheFirst)
{
    for (int first = 0; first < 3; ++first) {
        SCOPED_TRACE(first);
        ProgramState s = FreshState(8);
        s.Config.PresetRelayControl(2, 5) = static_cast<Integer>(first);
        s.History.Reset(s);
        frmT2EditPresets w(s);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        Choose(w.PresetList(), 2);
        QLabel* state = Label(w, "lblRelayControl", 5);
        for (int click = 1; click <= 3; ++click) {
            Click(state);
            const int expected = (first + click) % 3;
            EXPECT_EQ(s.Config.PresetRelayControl(2, 5), expected) << click;
            EXPECT_EQ(state->text(), Looks[expected].text) << click;
            EXPECT_EQ(Back(state), Looks[expected].colour) << click;
        }
        EXPECT_TRUE(s.DataChanged);
        EXPECT_EQ(s.History.Steps(), 3u);   // each click is a step of its own
        // Only that preset and relay changed.
        for (int p = 0; p < 48; ++p) {
            for (int r = 0; r < 48; ++r) {
                if (p != 2 || r != 5) {
                    EXPECT_EQ(s.Config.PresetRelayControl(p, r), 0);
                }
            }
        }

        // A double click arrives as a click and a double click: two steps.
        DoubleClick(state);
        EXPECT_EQ(s.Config.PresetRelayControl(2, 5), (first + 2) % 3);
        EXPECT_EQ(state->text(), Looks[(first + 2) % 3].text);
    }
}

TEST(EditPresets, StoredStateOutsideTheTableLeavesTheLabelAndStepsIntoIt)
{
    ProgramState s = FreshState(4);
    s.Config.PresetRelayControl(0, 1) = 1;
    s.Config.PresetRelayControl(1, 1) = 7;
    frmT2EditPresets w(s);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QLabel* state = Label(w, "lblRelayControl", 1);
    EXPECT_EQ(state->text(), "On");
    Choose(w.PresetList(), 1);
    EXPECT_EQ(state->text(), "On");   // 7 has no look: the label stays as it was
    Click(state);
    EXPECT_EQ(s.Config.PresetRelayControl(1, 1), 2);   // (7 + 1) mod 3
    EXPECT_EQ(state->text(), "Off");
}

TEST(EditPresets, CopyGestureSetsTheShownRelaysOfThePresetToRelayOne)
{
    for (const int first : {1, 2, 0}) {
        for (const PressCase& c : CopyPressCases) {
            SCOPED_TRACE(std::string(c.what) + ", relay 1 state " + std::to_string(first));
            ProgramState s = FreshState(8);   // TotalIOCount 8: relays 1..8 shown
            for (int r = 1; r < 48; ++r) s.Config.PresetRelayControl(3, r) = static_cast<Integer>(r % 3);
            s.Config.PresetRelayControl(3, 0) = static_cast<Integer>(first);
            s.Config.PresetRelayControl(4, 2) = 1;
            const PanelConfig before = s.Config;
            frmT2EditPresets w(s);
            w.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
            Choose(w.PresetList(), 3);
            Press(Label(w, "lblRelayName", c.row), c.button, c.mods);
            EXPECT_TRUE(s.DataChanged);   // any press on a name marks the change
            for (int r = 1; r < 8; ++r) {
                EXPECT_EQ(s.Config.PresetRelayControl(3, r), c.copies ? first : before.PresetRelayControl(3, r)) << r;
                EXPECT_EQ(Label(w, "lblRelayControl", r)->text(), Looks[s.Config.PresetRelayControl(3, r)].text) << r;
            }
            for (int r = 8; r < 48; ++r) EXPECT_EQ(s.Config.PresetRelayControl(3, r), before.PresetRelayControl(3, r)) << r;
            EXPECT_EQ(s.Config.PresetRelayControl(4, 2), 1);   // other presets keep theirs
            EXPECT_FALSE(Label(w, "lblRelayControl", 8)->isVisible());
        }
    }
}
