// The Vantel device rules the editors show and apply: pilot bytes, auto
// mapping, folded input types and photocell level captions.
#include "CodeTexts.h"
#include "Defaults.h"
#include "VantelDeviceRules.h"

#include <gtest/gtest.h>

#include <functional>

using namespace t2;

namespace {

VantelDevice DeviceOf(int type)
{
    VantelDevices devices;
    PanelConfig config;
    ResetConfiguration(config, devices);
    VantelDevice d = devices[3];
    d.DeviceType = static_cast<Integer>(type);
    return d;
}

}  // namespace

TEST(VantelAutoMap, AnInputShowsWhatItControls)
{
    struct Case {
        const char* what;
        int deviceType;
        std::function<void(VantelDevice&)> set;   // for input 1 (index 1)
        int pilot;
    };
    const Case cases[] = {
        {"lowest relay: On Only for relays 4 and 9", 2,
         [](VantelDevice& d) {
             d.DeviceInputRelayControl(1, 3) = 1;
             d.DeviceInputRelayControl(1, 8) = 1;
         },
         67},
        {"no relay, group 2", 2, [](VantelDevice& d) { d.DeviceInputGroupControl(1, 1) = 3; }, 129},
        {"Set Preset with preset index 5", 2,
         [](VantelDevice& d) {
             d.DeviceInputType[1] = 1;
             d.DeviceInputPreset[1] = 5;
             d.DeviceInputRelayControl(1, 0) = 1;   // left from another type: the preset wins
         },
         197},
        {"nothing set: static off", 2, [](VantelDevice& d) { d.DeviceInputPilot[1] = 200; }, 0},
        {"a relay at Off Only wins over a lower group", 4,
         [](VantelDevice& d) {
             d.DeviceInputRelayControl(1, 10) = 2;
             d.DeviceInputGroupControl(1, 0) = 1;
         },
         74},
        {"KIM-4 Set Preset is type 3", 7,
         [](VantelDevice& d) {
             d.DeviceInputType[1] = 3;
             d.DeviceInputPreset[1] = 0;
         },
         192},
        {"KIM-4 type 1 is no Set Preset", 7,
         [](VantelDevice& d) {
             d.DeviceInputType[1] = 1;
             d.DeviceInputPreset[1] = 5;
             d.DeviceInputRelayControl(1, 47) = 1;
         },
         111},
        {"push-button type 6 is compared unfolded", 3,
         [](VantelDevice& d) {
             d.DeviceInputType[1] = 6;
             d.DeviceInputPreset[1] = 5;
             d.DeviceInputGroupControl(1, 47) = 1;
         },
         175},
        {"R6 Set Preset", 8,
         [](VantelDevice& d) {
             d.DeviceInputType[1] = 1;
             d.DeviceInputPreset[1] = 47;
         },
         239},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VantelDevice d = DeviceOf(c.deviceType);
        d.DeviceInputOffLevel[1] = 77;
        d.DeviceInputPilot[0] = 5;
        c.set(d);
        AutoMapAnInput(d, 1);
        EXPECT_EQ(d.DeviceInputPilot[1], c.pilot);
        EXPECT_EQ(d.DeviceInputOffLevel[1], 0);
        EXPECT_EQ(d.DeviceInputPilot[0], 5);   // other inputs untouched
    }
}

TEST(VantelAutoMap, DevicesMapInputsZeroToSixAndAllSkipsDevicesWithoutLamps)
{
    VantelDevice one = DeviceOf(1);
    for (int i = 0; i < 8; ++i) {
        one.DeviceInputPilot[static_cast<std::size_t>(i)] = 33;
        one.DeviceInputRelayControl(static_cast<std::size_t>(i), 2) = 1;
    }
    AutoMapDevice(one);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(one.DeviceInputPilot[static_cast<std::size_t>(i)], 66) << i;
    EXPECT_EQ(one.DeviceInputPilot[7], 33);

    VantelDevices devices;
    PanelConfig config;
    ResetConfiguration(config, devices);
    const int types[] = {0, 1, 6, 7, 8, 9, 10, -1};
    for (int k = 0; k < 8; ++k) {
        VantelDevice& d = devices[static_cast<std::size_t>(k + 1)];
        d.DeviceType = static_cast<Integer>(types[k]);
        d.DeviceInputPilot[0] = 99;
        d.DeviceInputOffLevel[0] = 12;
        d.DeviceInputGroupControl(0, 4) = 1;
    }
    devices[0].DeviceType = 1;            // the placeholder record is no device
    devices[0].DeviceInputPilot[0] = 99;
    EXPECT_EQ(AutoMapAllDevices(devices), 4);
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(types[k]);
        const bool mapped = types[k] >= 1 && types[k] <= 8;
        EXPECT_EQ(devices[static_cast<std::size_t>(k + 1)].DeviceInputPilot[0], mapped ? 132 : 99);
        EXPECT_EQ(devices[static_cast<std::size_t>(k + 1)].DeviceInputOffLevel[0], mapped ? 0 : 12);
    }
    EXPECT_EQ(devices[0].DeviceInputPilot[0], 99);
}

TEST(VantelPilotByte, SourceAndNumberAreBitFields)
{
    EXPECT_EQ(PilotSource(132), PilotGroup);
    EXPECT_EQ(PilotNumber(132), 5);
    EXPECT_EQ(PilotSource(0), PilotStatic);
    EXPECT_EQ(PilotSource(255), PilotPreset);
    EXPECT_EQ(PilotSource(-1), -1);            // no source: the lists select none
    EXPECT_EQ(WithPilotSource(68, PilotStatic), 4);   // "On If Relay" 5 made static keeps bits 5..0
    EXPECT_EQ(WithPilotSource(4, PilotPreset), 196);
    EXPECT_EQ(WithPilotNumber(132, 48), 175);
    EXPECT_EQ(WithPilotNumber(1, 1), 0);
    EXPECT_EQ(ToggledStaticPilot(4), 0);
    EXPECT_EQ(ToggledStaticPilot(0), 1);
    EXPECT_EQ(ToggledStaticPilot(1), 0);
}

TEST(VantelDeviceInputs, FoldedTypesAndPhotocellCaptions)
{
    struct Fold {
        int device, type, folded;
    };
    for (const Fold f : {Fold{6, 9, 4}, Fold{1, 4, 4}, Fold{8, 7, 2}, Fold{3, -3, -3}, Fold{8, -7, -2}, Fold{2, -10, 0}, Fold{7, 9, 9}, Fold{7, 12, 12},
                         Fold{9, 12, 12}, Fold{0, 7, 7}}) {
        EXPECT_EQ(FoldedInputType(f.device, f.type), f.folded) << f.device << " " << f.type;
    }
    EXPECT_EQ(PhotocellLevelCaption(" Off ", 128), " Off 128/255 (50%)");
    EXPECT_EQ(PhotocellLevelCaption(" Off ", 0), " Off 000/255 (0%)");
    EXPECT_EQ(PhotocellLevelCaption(" On ", 255), " On 255/255 (100%)");
    EXPECT_EQ(PhotocellLevelCaption(" On ", 3), " On 003/255 (1%)");
    EXPECT_EQ(PhotocellLevelCaption(" On ", 2), " On 002/255 (0%)");
    EXPECT_EQ(PhotocellLevelCaption(" Off ", -5), " Off -005/255 (-2%)");   // from a damaged file, shown as stored
}
