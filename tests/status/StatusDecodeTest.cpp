// What the windows make of the panel's replies, without a window.
#include "StatusDecode.h"

#include <gtest/gtest.h>

using namespace t2;
using namespace t2::status;

TEST(StatusDecode, RelayGroupAndPresetCharacters)
{
    struct Case {
        char c;
        Look relay;
        RowLook group;
        RowLook preset;
    };
    const Case cases[] = {
        {'0', {"Off", Grey}, {{"Off", Grey}, true}, {{"Off", Grey}, true}},
        {'1', {"On", White}, {{"On", White}, true}, {{"Set", White}, true}},
        {'X', {"On", White}, {{"On", White}, true}, {{"Set", White}, true}},
        {'2', {"On", White}, {{"---", Grey}, false}, {{"---", Grey}, false}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(1, k.c));
        EXPECT_EQ(RelayLook(k.c), k.relay);
        EXPECT_EQ(GroupLook(k.c), k.group);
        EXPECT_EQ(PresetLook(k.c), k.preset);
    }
}

TEST(StatusDecode, InputDigitsLightTheTwoFields)
{
    struct Case {
        char c;
        InputLights lights;
    };
    const Case cases[] = {
        {'0', {true, false, false}}, {'1', {true, false, true}}, {'2', {true, true, false}},
        {'3', {true, true, true}},   {'X', {true, false, false}}, {' ', {true, false, false}},
        {'\0', {true, false, false}}, {'4', {false, false, false}}, {'9', {false, false, false}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(int(k.c));
        EXPECT_EQ(InputLook(k.c), k.lights);
    }
}

TEST(StatusDecode, VantelTextsAndSizes)
{
    EXPECT_EQ(LightLevelText(128), "128/255 (50%)");
    EXPECT_EQ(LightLevelText(255), "255/255 (100%)");
    EXPECT_EQ(LightLevelText(0), "0/255 (0%)");
    EXPECT_EQ(LightLevelText(51), "51/255 (20%)");
    EXPECT_EQ(PushButtonFrameHeight(4), 2775);
    EXPECT_EQ(DeviceTypeText(3), "3 Push Button");
    EXPECT_EQ(DeviceTypeText(7), "KIM-4");
    EXPECT_EQ(DeviceTypeText(8), "R6");
    EXPECT_EQ(DeviceTypeText(9), "PhotoCell");
    EXPECT_EQ(DeviceTypeText(10), "");

    NetworkStatus s;
    s.inputs[5] = 0x81;
    s.responding[5] = 0x40;
    s.level[5] = 200;
    const DeviceReading r = DeviceFromStatus(s, 5);
    EXPECT_TRUE(r.inputOn[0]);
    EXPECT_FALSE(r.inputOn[1]);
    EXPECT_TRUE(r.inputOn[7]);
    EXPECT_TRUE(r.responding);
    EXPECT_EQ(r.lightLevel, 200);
    EXPECT_FALSE(DeviceFromStatus(s, 40).responding);  // no such slot: nothing
}

TEST(StatusDecode, KeysAndLamps)
{
    const int codes[] = {1, 2, 4, 8, 16, 32, 48};
    for (int k = 0; k < KeypadKeys; ++k) EXPECT_EQ(KeyCode(k), codes[k]);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(LampLit(0x21, k), k == 0 || k == 5) << k;
    EXPECT_TRUE(IsCustomCharacter(0));
    EXPECT_TRUE(IsCustomCharacter(7));
    EXPECT_FALSE(IsCustomCharacter(8));
}

TEST(StatusDecode, NetworkTestCountsMissesOfWatchedDevicesOnly)
{
    NetworkStatus answering;
    answering.responding[1] = 1;
    answering.responding[2] = 1;
    NetworkTest test;
    test.Start(answering);
    EXPECT_TRUE(test.Monitored(1));
    EXPECT_FALSE(test.Monitored(3));

    NetworkStatus missing = answering;
    missing.responding[2] = 0;
    for (int i = 0; i < 150; ++i) test.Step(missing);
    auto r = test.Step(missing);
    EXPECT_EQ(test.ErrorCount(2), 151);
    EXPECT_EQ(r[2].errorText, ">99");
    EXPECT_EQ(r[2].errorBackground, Red);
    EXPECT_EQ(r[1].errorBackground, Green);
    EXPECT_EQ(r[1].errorText, "0");
    EXPECT_FALSE(r[3].monitored);
    EXPECT_EQ(test.ErrorCount(3), 0);  // never counted while not watched

    r = test.Step(answering);  // answers again: errors were counted
    EXPECT_EQ(r[2].errorBackground, Yellow);

    answering.inputs[1] = 0x04;
    r = test.Step(answering);
    EXPECT_TRUE(r[1].inputsChanged);
    EXPECT_EQ(test.LastInputs(1), 0x04);
    EXPECT_FALSE(test.Step(answering)[1].inputsChanged);

    test.CountCycle();
    test.ClearTotals();
    EXPECT_EQ(test.CycleCount(), 0);
    EXPECT_EQ(test.ErrorCount(2), 0);
    EXPECT_EQ(test.Step(answering)[2].errorBackground, Green);
    EXPECT_EQ(ErrorCountText(99), "99");
    EXPECT_EQ(ErrorCountText(100), ">99");
}

// The simulated panel's states for trying the windows by hand.
#include "PanelSimControl.h"

TEST(PanelSimControl, CommandsSetTheLiveStates)
{
    sim::SimulatedPanel panel;
    struct Case {
        const char* line;
        bool ok;
    };
    const Case cases[] = {
        {"relay 5 1", true},        {"group 2 1", true},      {"input 3 2", true},
        {"device 7 0x0F 1 200", true}, {"lamps 33", true},     {"display HELLO", true},
        {"relay 48 1", false},      {"input 3 4", false},      {"device 33 1 1 1", false},
        {"relay x 1", false},       {"bogus", false},          {"", true},
        {"relay 08 1", true},       {"relay 010 1", true},     {"lamps 0x", false},
    };
    for (const Case& c : cases) EXPECT_EQ(sim::ControlCommand(panel, c.line).empty(), c.ok) << c.line;
    EXPECT_TRUE(panel.Relay(5));
    EXPECT_TRUE(panel.Relay(8));   // decimal, whatever the leading zeros
    EXPECT_TRUE(panel.Relay(10));
    EXPECT_TRUE(panel.Group(2));
    EXPECT_EQ(panel.Input(3), 2);
    EXPECT_EQ(panel.Device(7).inputs, 0x0F);
    EXPECT_EQ(panel.Device(7).level, 200);
    EXPECT_EQ(panel.Display().substr(0, 6), "HELLO ");

    sim::ApplyDemoState(panel);
    EXPECT_EQ(panel.Display().size(), 80u);
    EXPECT_EQ(panel.Display()[60], '\0');  // a custom character
    const bool before = panel.Relay(0);
    sim::AnimateStep(panel, 0);
    EXPECT_NE(panel.Relay(0), before);
}
