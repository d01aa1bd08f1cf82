// The undo history behind the edit path.
#include "Defaults.h"
#include "EditHistory.h"
#include "PanelConfig.h"

#include <gtest/gtest.h>

using namespace t2;

namespace {

struct History : testing::Test {
    void SetUp() override
    {
        ResetConfiguration(s);
        s.History.Reset(s);
    }
    ProgramState s;
};

}  // namespace

TEST_F(History, UndoAndRedoWalkTheStepsWithTheirNames)
{
    s.Config.RelayTimerType[3] = 2;
    RecordEdit(s, "Relay Output Options");
    s.Devices[5].DeviceType = 7;
    RecordEdit(s, "Configure Vantel Devices");
    EXPECT_TRUE(s.DataChanged);
    EXPECT_EQ(s.History.UndoName(), "Configure Vantel Devices");

    ASSERT_TRUE(s.History.Undo(s));
    EXPECT_EQ(s.Devices[5].DeviceType, 0);
    EXPECT_EQ(s.Config.RelayTimerType[3], 2);
    EXPECT_EQ(s.History.RedoName(), "Configure Vantel Devices");
    ASSERT_TRUE(s.History.Undo(s));
    EXPECT_EQ(s.Config.RelayTimerType[3], 0);
    EXPECT_FALSE(s.History.CanUndo());
    EXPECT_TRUE(s.History.IsSaved(s));

    ASSERT_TRUE(s.History.Redo(s));
    ASSERT_TRUE(s.History.Redo(s));
    EXPECT_EQ(s.Devices[5].DeviceType, 7);
    EXPECT_FALSE(s.History.CanRedo());

    // A new edit after an undo drops what could be redone.
    s.History.Undo(s);
    s.Config.PanelName = "NEW";
    RecordEdit(s, "Edit Panel Name");
    EXPECT_FALSE(s.History.CanRedo());
    EXPECT_EQ(s.History.Steps(), 2u);
}

TEST_F(History, AnEditThatChangesNothingIsNoStepButStillMarksTheChange)
{
    RecordEdit(s, "Input Active Times");   // a picker opened and nothing chosen
    EXPECT_TRUE(s.DataChanged);
    EXPECT_FALSE(s.History.CanUndo());
}

TEST_F(History, TypingInOneBoxIsOneStepUntilItEnds)
{
    int box = 0, other = 0;
    for (const char* text : {"L", "LO", "LOB"}) {
        s.Config.RelayNames[0] = text;
        RecordEdit(s, "Edit Relay Names", &box);
    }
    s.Config.RelayNames[1] = "X";
    RecordEdit(s, "Edit Relay Names", &other);
    EXPECT_EQ(s.History.Steps(), 2u);
    s.History.EndTyping(&other);
    s.Config.RelayNames[1] = "XY";
    RecordEdit(s, "Edit Relay Names", &other);
    EXPECT_EQ(s.History.Steps(), 3u);

    s.History.Undo(s);
    s.History.Undo(s);
    EXPECT_EQ(s.Config.RelayNames[1], "RELAY 02");
    EXPECT_EQ(s.Config.RelayNames[0], "LOB");
    s.History.Undo(s);
    EXPECT_EQ(s.Config.RelayNames[0], "RELAY 01");
}

TEST_F(History, SavedStateIsKnownAfterUndoingBackToIt)
{
    s.Config.SweepIntervalCode = 1;
    RecordEdit(s, "Off Hours Sweep Interval");
    s.History.MarkSaved(s);
    EXPECT_TRUE(s.History.IsSaved(s));
    s.Config.SweepIntervalCode = 2;
    RecordEdit(s, "Off Hours Sweep Interval");
    EXPECT_FALSE(s.History.IsSaved(s));
    s.History.Undo(s);
    EXPECT_TRUE(s.History.IsSaved(s));
    s.History.Undo(s);
    EXPECT_FALSE(s.History.IsSaved(s));
}

TEST_F(History, KeepsAtLeastTwoHundredStepsAndDropsTheOldest)
{
    for (int k = 1; k <= 500; ++k) {
        s.Config.BlinkAlertMinutes = static_cast<Integer>(k);
        RecordEdit(s, "Blink Alert And Alarm Settings");
    }
    EXPECT_GE(s.History.Steps(), EditHistory::MinSteps);
    EXPECT_LE(s.History.Steps(), EditHistory::MaxSteps);
    while (s.History.Undo(s)) {}
    EXPECT_EQ(s.Config.BlinkAlertMinutes, static_cast<Integer>(500 - EditHistory::MaxSteps));
}
