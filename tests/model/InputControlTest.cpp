// The rules the input control windows share, for local and Vantel inputs.
#include "InputControl.h"

#include <gtest/gtest.h>

using namespace t2;

TEST(InputControl, LocalAndVantelInputsByType)
{
    struct Case {
        const char* what;
        InputControl c;
        const char* caption;
        int highestRelay;
        int highestGroup;
        ControlRows rows;
        bool groups;
        bool preset;
    };
    const Case cases[] = {
        {"local Momentary On/Off", LocalInputControl(0), " Momentary On/Off", 4, 4, ControlRows::Relays, true, false},
        {"local Momentary PB", LocalInputControl(1), " Momentary PB", 3, 3, ControlRows::Relays, true, false},
        {"local Set Preset", LocalInputControl(4), " Set Preset", 0, 0, ControlRows::None, false, true},
        {"local Timed On", LocalInputControl(5), " Timed On", 1, 1, ControlRows::Relays, true, false},
        {"local Input Disable", LocalInputControl(9), " Input Disable", 1, 0, ControlRows::Inputs, false, false},
        {"local Timer Disable", LocalInputControl(10), " Timer Disable", 1, 0, ControlRows::Timers, false, false},
        {"local Output Override", LocalInputControl(11), " Output Override", 3, 3, ControlRows::Relays, true, false},
        {"local Force Timer", LocalInputControl(12), " Force Timer", 1, 0, ControlRows::Timers, false, false},
        {"button Momentary PB", VantelInputControl(3, 0), " Momentary PB", 3, 3, ControlRows::Relays, true, false},
        {"button Set Preset", VantelInputControl(3, 1), " Set Preset", 0, 0, ControlRows::None, false, true},
        {"button 9 folds to 4 Step", VantelInputControl(6, 9), " 4 Step", 2, 2, ControlRows::Relays, true, false},
        {"KIM-4 Maint. On/Off", VantelInputControl(7, 2), " Maint. On/Off", 4, 4, ControlRows::Relays, true, false},
        {"KIM-4 Timer Disable", VantelInputControl(7, 8), " Timer Disable", 1, 0, ControlRows::Timers, false, false},
        {"KIM-4 Output Override", VantelInputControl(7, 9), " Output Override", 3, 3, ControlRows::Relays, true, false},
        {"R6 7 is Timed On", VantelInputControl(8, 7), " Timed On", 1, 1, ControlRows::Relays, true, false},
        {"R6 Maintained On/Off", VantelInputControl(8, 0), " Maintained On/Off", 4, 4, ControlRows::Relays, true, false},
        {"photocell", VantelInputControl(9, 5), " Maintained On/Off", 4, 4, ControlRows::Relays, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(c.c.known);
        EXPECT_EQ(c.c.caption, c.caption);
        EXPECT_EQ(c.c.HighestRelayCode(), c.highestRelay);
        EXPECT_EQ(c.c.HighestGroupCode(), c.highestGroup);
        EXPECT_EQ(c.c.relayRows, c.rows);
        EXPECT_EQ(c.c.groupRows, c.groups);
        EXPECT_EQ(c.c.presetPicker, c.preset);
    }
    for (const InputControl& unknown :
         {LocalInputControl(13), LocalInputControl(-1), VantelInputControl(0, 0), VantelInputControl(10, 0),
          VantelInputControl(7, 10), VantelInputControl(3, -1), VantelInputControl(8, -7)}) {
        EXPECT_FALSE(unknown.known);
        EXPECT_TRUE(unknown.relayActions.empty());
    }
    EXPECT_TRUE(IsVantelSetPreset(2, 1));
    EXPECT_FALSE(IsVantelSetPreset(2, 6));   // compared without folding
    EXPECT_TRUE(IsVantelSetPreset(7, 3));
    EXPECT_FALSE(IsVantelSetPreset(9, 1));

    Integer code = 4;
    EXPECT_TRUE(ClampControlCode(code, 3));
    EXPECT_EQ(code, 3);
    EXPECT_FALSE(ClampControlCode(code, 3));
}
