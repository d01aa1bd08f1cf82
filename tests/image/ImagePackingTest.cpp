#include "ImagePacking.h"
#include "PanelMemory.h"

#include "Defaults.h"
#include "Members.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

using namespace t2;
namespace M = t2::PanelMemory;

namespace {

constexpr std::array<int, 6> NoPassword{};

struct Fixture {
    std::unique_ptr<ProgramState> s = std::make_unique<ProgramState>();
    Fixture() { ResetConfiguration(*s); }
    PanelConfig& c() { return s->Config; }
    VantelDevices& d() { return s->Devices; }
    PanelImage& Build(const std::array<int, 6>& password = NoPassword)
    {
        BuildPanelImage(s->Config, s->Devices, password, s->Image);
        return s->Image;
    }
};

std::string Cells(const PanelImage& im, int at, int n)
{
    std::string t;
    for (int i = 0; i < n; ++i) t.push_back(static_cast<char>(im[at + i]));
    return t;
}

// The member of `other` that sits where `member` sits in `self` (same record type).
template <typename T, typename Record, typename Other>
auto& Same(const T& member, const Record& self, Other& other)
{
    static_assert(std::is_same_v<std::remove_const_t<Other>, Record>);
    const auto offset = reinterpret_cast<const char*>(&member) - reinterpret_cast<const char*>(&self);
    if constexpr (std::is_const_v<Other>) {
        return *reinterpret_cast<const T*>(reinterpret_cast<const char*>(&other) + offset);
    } else {
        return *reinterpret_cast<T*>(reinterpret_cast<char*>(&other) + offset);
    }
}

void ExpectSameRecords(const PanelConfig& expected, const VantelDevices& expectedDevices,
                       PanelConfig& actual, VantelDevices& actualDevices)
{
    VisitPanelConfig(expected, [&](const char* name, const auto& m) {
        EXPECT_TRUE(m == Same(m, expected, actual)) << name;
    });
    for (int d = 0; d < DeviceSlots; ++d) {
        VisitVantelDevice(expectedDevices[d], [&](const char* name, const auto& m) {
            EXPECT_TRUE(m == Same(m, expectedDevices[d], actualDevices[d])) << "device " << d << " " << name;
        });
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Packing: where things land.

TEST(BuildPanelImage, FreshConfigurationCells)
{
    Fixture f;
    const PanelImage& im = f.Build({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(Cells(im, 8037, 18), "VEL TAMBERLINE II ");
    EXPECT_EQ(Cells(im, 5152, 10), "RELAY 01  ");
    for (int n = 0; n < 48; ++n) EXPECT_EQ(im[2304 + n], n);
    for (int day = 0; day < 7; ++day) {
        EXPECT_EQ(im[4368 + day], 32);
        EXPECT_EQ(im[4375 + day], 84);
    }
    for (int cell = 4382; cell <= 5125; ++cell) ASSERT_EQ(im[cell], 100) << cell;
    EXPECT_EQ(im[8017], 0);
    EXPECT_EQ(im[8018], 120);
    EXPECT_EQ(im[8033], 1);
    EXPECT_EQ(im[8176], 1);
    for (int cell = 8177; cell <= 8187; ++cell) EXPECT_EQ(im[cell], 0);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(im[8058 + k], k + 1);
    EXPECT_EQ(Cells(im, 8257, 10), "VANTEL 01 ");
    EXPECT_EQ(Cells(im, 10241, 10), "VANTEL 20 ");
    // Device 0, the gaps and everything above 0x5FFF stay clear.
    for (int cell : {5126, 5151, 7552, 7679, 8164, 8175, 8192, 8255, 8256 + 59, 8256 + 63, 10304, 12287,
                     12288, 12607, 12608 + 296, 12608 + 319, 22848, 24575, 24576, 32767}) {
        EXPECT_EQ(im[cell], 0) << cell;
    }
}

TEST(BuildPanelImage, MemberCells)
{
    // One change to a fresh configuration, and the cells it must produce.
    struct Case {
        const char* what;
        std::function<void(PanelConfig&, VantelDevices&)> change;
        std::vector<std::pair<int, int>> cells;  // address, value
    };
    const std::vector<Case> cases = {
        {"input control code 5 sets planes 0 and 2",
         [](PanelConfig& c, VantelDevices&) { c.InputRelayControl(0, 0) = 5; }, {{0, 1}, {288, 0}, {576, 1}}},
        {"input 1 relay 47 code 2", [](PanelConfig& c, VantelDevices&) { c.InputRelayControl(1, 47) = 2; },
         {{299, 128}, {11, 0}, {587, 0}}},
        {"input to group plane 2", [](PanelConfig& c, VantelDevices&) { c.InputGroupControl(47, 9) = 4; },
         {{1440 + 47 * 6 + 1, 2}}},
        {"group 2 holds relay 10", [](PanelConfig& c, VantelDevices&) { c.GroupRelays(2, 10) = 1; },
         {{2016 + 12 + 1, 4}}},
        {"timer turn off, higher code bits dropped",
         [](PanelConfig& c, VantelDevices&) { c.TimerRelayControl(3, 0) = 6; }, {{2640 + 18, 1}, {2352 + 18, 0}}},
        {"timer group turn on", [](PanelConfig& c, VantelDevices&) { c.TimerGroupControl(0, 8) = 1; },
         {{2928 + 1, 1}}},
        {"timer preset, bit 0 only", [](PanelConfig& c, VantelDevices&) { c.TimerPresetControl(1, 7) = 3; },
         {{3504 + 6, 128}}},
        {"preset off", [](PanelConfig& c, VantelDevices&) { c.PresetRelayControl(47, 47) = 2; },
         {{4080 + 287, 128}, {3792 + 287, 0}}},
        {"single date", [](PanelConfig& c, VantelDevices&) { c.SingleDateCloseTime(11, 30) = 7; },
         {{4754 + 11 * 31 + 30, 7}}},
        {"timed-on word", [](PanelConfig& c, VantelDevices&) { c.InputTimedOnTime[5] = 300; },
         {{1930, 1}, {1931, 44}}},
        {"timer bytes",
         [](PanelConfig& c, VantelDevices&) {
             c.TimerTimeCode[2] = 23;
             c.TimerMinute[2] = 59;
             c.TimerDays[2] = 0x80;
             c.TimerHolidayMonth[2] = 12;
             c.TimerHolidayDate[2] = 31;
         },
         {{7682, 23}, {7730, 59}, {7778, 0x80}, {7826, 12}, {7874, 31}}},
        {"flags pack as 1",
         [](PanelConfig& c, VantelDevices&) {
             c.TimedOnStartsOnClose = 5;
             c.PhotocellFilterShort = -1;
             c.DstEnabled = 0;
         },
         {{8057, 1}, {8056, 1}, {8033, 0}}},
        {"sweep bits",
         [](PanelConfig& c, VantelDevices&) {
             c.SweepRelays[9] = -1;
             c.SweepGroups[47] = 1;
         },
         {{8022, 2}, {8032, 128}}},
        {"DMX channel word", [](PanelConfig& c, VantelDevices&) { c.DmxChannel[47] = 512; },
         {{8064 + 94, 2}, {8064 + 95, 0}}},
        {"DMX levels 10 and 90 percent",
         [](PanelConfig& c, VantelDevices&) {
             c.DmxOffLevel = 10;
             c.DmxOnLevel = 90;
         },
         {{8160, 26}, {8161, 230}}},
        {"modbus RTU, 9600, odd",
         [](PanelConfig& c, VantelDevices&) {
             c.ModbusProtocol = 1;
             c.ModbusBaud = 2;
             c.ModbusParity = 1;
         },
         {{8163, 13}}},
        {"DST and clock bytes",
         [](PanelConfig& c, VantelDevices&) {
             c.DstStartWeek = 5;
             c.DstEndMonth = 10;
             c.Latitude = 42;
             c.Longitude = 71;
             c.TimeZone = 4;
             c.RtcSource = 2;
         },
         {{8188, 5}, {8191, 10}, {8034, 42}, {8035, 71}, {8036, 4}, {8055, 2}}},
        // Fields of equal width side by side: a swap of two of them would
        // still come back whole through a round trip, so pin each address.
        {"input and relay bytes",
         [](PanelConfig& c, VantelDevices&) {
             c.InputPreset[3] = 11;
             c.RelayTimerType[4] = 12;
             c.RelayPowerOnType[5] = 13;
             c.InputType[6] = 14;
             c.InputEnableTime[7] = 15;
             c.InputDisableTime[8] = 16;
             c.InputPilot[9] = 200;
             c.NodeIOCount[5] = 8;
         },
         {{1731, 11}, {1780, 12}, {1829, 13}, {1878, 14}, {7927, 15}, {7976, 16}, {2313, 200}, {8181, 8}}},
        {"input to group planes 0 and 1", [](PanelConfig& c, VantelDevices&) { c.InputGroupControl(2, 17) = 3; },
         {{864 + 14, 2}, {1152 + 14, 2}, {1440 + 14, 0}}},
        {"timer relay turn on", [](PanelConfig& c, VantelDevices&) { c.TimerRelayControl(0, 1) = 1; },
         {{2352, 2}, {2640, 0}}},
        {"timer group turn off", [](PanelConfig& c, VantelDevices&) { c.TimerGroupControl(47, 0) = 2; },
         {{3216 + 282, 1}, {2928 + 282, 0}}},
        {"preset on", [](PanelConfig& c, VantelDevices&) { c.PresetRelayControl(0, 0) = 1; }, {{3792, 1}, {4080, 0}}},
        {"open and close times",
         [](PanelConfig& c, VantelDevices&) {
             c.NormalDayOpenTime[6] = 1;
             c.NormalDayCloseTime[0] = 2;
             c.SingleDateOpenTime(0, 0) = 3;
             c.SingleDateOpenTime(11, 30) = 4;
             c.SingleDateCloseTime(0, 0) = 5;
             c.SingleDateOpenTime(1, 0) = 6;
         },
         {{4374, 1}, {4375, 2}, {4382, 3}, {4753, 4}, {4754, 5}, {4382 + 31, 6}}},
        {"special function and clock bytes",
         [](PanelConfig& c, VantelDevices&) {
             c.BlinkAlertMinutes = 17;
             c.OverrideMinutes = 0x1234;
             c.SweepIntervalCode = 2;
             c.DmxFilter = 3;
             c.DstStartMonth = 4;
             c.DstEndWeek = 5;
         },
         {{8016, 17}, {8017, 0x12}, {8018, 0x34}, {8020, 2}, {8162, 3}, {8189, 4}, {8190, 5}}},
        {"device 3 relay plane 1, group planes 0 and 1",
         [](PanelConfig&, VantelDevices& d) {
             d[3].DeviceInputRelayControl(1, 9) = 2;
             d[3].DeviceInputGroupControl(2, 0) = 3;
         },
         {{13248 + 48 + 7, 2}, {13248 + 7, 0}, {13248 + 144 + 12, 1}, {13248 + 192 + 12, 1}, {13248 + 240 + 12, 0}}},
        {"device 1 type", [](PanelConfig&, VantelDevices& d) { d[1].DeviceType = 3; }, {{8256, 3}}},
        {"device 32 input to relay plane 0",
         [](PanelConfig&, VantelDevices& d) { d[32].DeviceInputRelayControl(0, 0) = 1; }, {{22528, 1}}},
        {"device 5 input 7 group 47 plane 2",
         [](PanelConfig&, VantelDevices& d) { d[5].DeviceInputGroupControl(7, 47) = 4; },
         {{12288 + 320 * 5 + 240 + 42 + 5, 128}}},
        {"device 2 input 3 bytes and word",
         [](PanelConfig&, VantelDevices& d) {
             d[2].DeviceInputType[3] = 6;
             d[2].DeviceInputTimedOnTime[3] = 999;
             d[2].DeviceInputPilot[3] = 0x41;
             d[2].DeviceInputOffLevel[3] = 77;
             d[2].DeviceInputOnLevel[3] = 200;
             d[2].DeviceInputPreset[3] = 47;
         },
         {{8320 + 14, 6}, {8320 + 25, 3}, {8320 + 26, 231}, {8320 + 38, 0x41}, {8320 + 46, 77}, {8320 + 54, 200},
          {12928 + 291, 47}}},
        {"element 48, device 0, device input 8 and connection settings are not packed",
         [](PanelConfig& c, VantelDevices& d) {
             c.InputRelayControl(48, 0) = 7;
             c.InputRelayControl(0, 48) = 7;
             c.InputPreset[48] = 9;
             c.ConnectionType() = 2;
             c.TimerNames[48] = "5550100";
             d[0].DeviceType = 9;
             d[1].DeviceInputType[8] = 9;
             d[1].DeviceInputRelayControl(8, 0) = 7;
         },
         {{0, 0}, {5, 0}, {288, 0}, {1728 + 48, 0}, {7680 + 48, 0}, {8192, 0}, {8256 + 19, 0}, {12608 + 48, 0}}},
    };
    for (const Case& k : cases) {
        Fixture f;
        k.change(f.c(), f.d());
        const PanelImage& im = f.Build();
        for (auto [cell, value] : k.cells) EXPECT_EQ(im[cell], value) << k.what << ", cell " << cell;
    }
}

TEST(BuildPanelImage, PanelNameAndNames)
{
    struct Case {
        Bytes name;
        const char* cells;
    };
    const Case panel[] = {{"", "VEL TAMBERLINE II "},
                          {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQR"},
                          {"LOBBY", "LOBBY             "},
                          {Bytes("\xE9t\xE9", 3), "\xE9t\xE9               "}};
    for (const Case& k : panel) {
        Fixture f;
        f.c().PanelName = k.name;
        EXPECT_EQ(Cells(f.Build(), 8037, 18), k.cells) << k.name;
    }
    Fixture f;
    f.c().RelayNames[47] = "CORRIDOR NORTH";
    f.c().GroupNames[0] = "";
    f.c().InputNames[1] = "DOOR";
    f.c().TimerNames[2] = "DUSK";
    f.c().PresetNames[3] = "SCENE 4";
    f.d()[7].DeviceName = "HALL KEYPAD 7";
    const PanelImage& im = f.Build();
    EXPECT_EQ(Cells(im, 5152 + 470, 10), "CORRIDOR N");
    EXPECT_EQ(Cells(im, 5632, 10), "          ");
    EXPECT_EQ(Cells(im, 6122, 10), "DOOR      ");
    EXPECT_EQ(Cells(im, 6612, 10), "DUSK      ");
    EXPECT_EQ(Cells(im, 7102, 10), "SCENE 4   ");
    EXPECT_EQ(Cells(im, 8192 + 64 * 7 + 1, 10), "HALL KEYPA");
}

// Values no editor makes still pack to the byte the panel receives: the low 8
// bits, two's complement for negative ones; Int floors, Mod keeps the sign.
TEST(BuildPanelImage, NegativeAndLargeMembers)
{
    struct Case {
        const char* what;
        std::function<void(PanelConfig&, VantelDevices&)> change;
        std::vector<std::pair<int, int>> cells;
    };
    const std::vector<Case> cases = {
        {"byte 300", [](PanelConfig& c, VantelDevices&) { c.InputType[0] = 300; }, {{1872, 44}}},
        {"byte -1", [](PanelConfig& c, VantelDevices&) { c.InputPreset[1] = -1; }, {{1729, 255}}},
        {"byte -300", [](PanelConfig& c, VantelDevices&) { c.AlarmSeconds = -300; }, {{8019, 212}}},
        {"word -1", [](PanelConfig& c, VantelDevices&) { c.OverrideMinutes = -1; }, {{8017, 255}, {8018, 255}}},
        {"word -256", [](PanelConfig& c, VantelDevices&) { c.OverrideMinutes = -256; }, {{8017, 255}, {8018, 0}}},
        {"word -257", [](PanelConfig& c, VantelDevices&) { c.DmxChannel[0] = -257; }, {{8064, 0xFE}, {8065, 0xFF}}},
        {"word -32768", [](PanelConfig& c, VantelDevices&) { c.DmxChannel[1] = -32768; }, {{8066, 0x80}, {8067, 0}}},
        {"long word 40000", [](PanelConfig& c, VantelDevices&) { c.InputTimedOnTime[0] = 40000; },
         {{1920, 0x9C}, {1921, 0x40}}},
        {"long word 70000 keeps its low 16 bits", [](PanelConfig& c, VantelDevices&) { c.InputTimedOnTime[1] = 70000; },
         {{1922, 0x11}, {1923, 0x70}}},
        {"long word -2", [](PanelConfig&, VantelDevices& d) { d[1].DeviceInputTimedOnTime[0] = -2; },
         {{8256 + 19, 0xFF}, {8256 + 20, 0xFE}}},
        {"negative control code has every bit", [](PanelConfig& c, VantelDevices&) { c.InputRelayControl(0, 1) = -1; },
         {{0, 2}, {288, 2}, {576, 2}}},
        {"modbus fields beyond their bits", [](PanelConfig& c, VantelDevices&) {
             c.ModbusProtocol = 1;
             c.ModbusBaud = 3;
             c.ModbusParity = 40;
         },
         {{8163, (1 + 6 + 320) & 0xFF}}},
        {"node count 260", [](PanelConfig& c, VantelDevices&) { c.NodeIOCount[11] = 260; }, {{8187, 4}}},
    };
    for (const Case& k : cases) {
        Fixture f;
        k.change(f.c(), f.d());
        const PanelImage& im = f.Build({9, 300, -1, 0, 0, 0});
        for (auto [cell, value] : k.cells) EXPECT_EQ(im[cell], value) << k.what << ", cell " << cell;
        EXPECT_EQ(im[8059], 44);
        EXPECT_EQ(im[8060], 255);
        for (int cell = 0; cell < M::ClearedCells; ++cell) {
            ASSERT_TRUE(im[cell] >= 0 && im[cell] <= 255) << k.what << ", cell " << cell << " = " << im[cell];
        }
    }
}

// 100 percent used to pack as 256, which the panel takes as 0 (off).
TEST(BuildPanelImage, DmxLevels)
{
    const std::pair<int, int> levels[] = {{0, 1},    {1, 3},     {10, 26},  {50, 128},  {90, 230},
                                          {99, 253}, {100, 255}, {101, 255}, {500, 255}, {-1, 0}, {-200, 0}};
    for (auto [percent, byte] : levels) {
        Fixture f;
        f.c().DmxOnLevel = static_cast<Integer>(percent);
        f.c().DmxOffLevel = static_cast<Integer>(percent);
        const PanelImage& im = f.Build();
        EXPECT_EQ(im[8161], byte) << percent;
        EXPECT_EQ(im[8160], byte) << percent;
    }
    for (int percent = 0; percent <= 100; ++percent) {
        EXPECT_EQ(DmxByteToLevel(DmxLevelToByte(percent)), percent);
    }
    EXPECT_EQ(DmxByteToLevel(255), 100);
    EXPECT_EQ(DmxByteToLevel(0), 0);
}

// ---------------------------------------------------------------------------
// Reading back.

TEST(ApplyPanelImage, DecodingExamples)
{
    Fixture f;
    PanelImage& im = f.s->Image;
    im.fill(0);
    im[8163] = 13;
    im[8033] = 255;   // not exactly 1: false
    im[8056] = 1;
    im[8057] = 2;
    im[2016] = 1;     // group 0 holds relay 0
    im[8021] = 0x80;  // relay 7 sweeps
    im[1920] = 0x7F;
    im[1921] = 0xFF;
    im[1922] = 0x80;  // high cell 128 and up: the 32-bit member takes 0..65535
    im[1923] = 0x01;
    im[8017] = 0xFF;  // the 16-bit member takes the bits as they are
    im[8018] = 0xFE;
    im[8064] = 0x80;
    im[8065] = 0x00;
    im[8161] = 255;
    im[8160] = 26;
    im[0] = 1;        // input 0 relay 0: planes 0 and 2 give 5
    im[576] = 1;
    im[3504 + 6] = 0x80;  // timer 1 preset 7
    im[4080] = 2;         // preset 0 relay 1 off
    im[8188] = 0;
    im[8036] = 9;
    for (int k = 0; k < 6; ++k) im[8058 + k] = 7;
    const int P = 8192 + 64 * 4;
    im[P + 19 + 14] = 0xC3;
    im[P + 20 + 14] = 0x50;

    PanelConfig& c = f.c();
    c.ModemPhoneNumber() = "5550100";
    c.PanelAddress() = "10.0.0.7";
    c.ConnectionType() = 2;
    c.CommPort = 3;
    c.AddOnModuleType = 1;
    c.RelayNames[0] = "FOURTEEN CHARS";
    c.InputPreset[48] = 33;
    f.d()[0].DeviceType = 4;
    f.d()[4].DeviceName = "LONG DEVICE NAME";
    f.d()[4].DeviceInputTimedOnTime[8] = 1234;
    ApplyPanelImage(im, c, f.d(), false);

    EXPECT_EQ(c.ModbusProtocol, 1);
    EXPECT_EQ(c.ModbusBaud, 2);
    EXPECT_EQ(c.ModbusParity, 1);
    EXPECT_EQ(c.DstEnabled, 0);
    EXPECT_EQ(c.PhotocellFilterShort, -1);
    EXPECT_EQ(c.TimedOnStartsOnClose, 0);
    EXPECT_EQ(c.GroupRelays(0, 0), -1);
    EXPECT_EQ(c.GroupRelays(0, 1), 0);
    EXPECT_EQ(c.SweepRelays[7], -1);
    EXPECT_EQ(c.InputTimedOnTime[0], 32767);
    EXPECT_EQ(c.InputTimedOnTime[1], 32769);
    EXPECT_EQ(c.OverrideMinutes, -2);
    EXPECT_EQ(c.DmxChannel[0], -32768);
    EXPECT_EQ(c.DmxOnLevel, 100);
    EXPECT_EQ(c.DmxOffLevel, 10);
    EXPECT_EQ(c.InputRelayControl(0, 0), 5);
    EXPECT_EQ(c.TimerPresetControl(1, 7), 1);
    EXPECT_EQ(c.PresetRelayControl(0, 1), 2);
    EXPECT_EQ(c.DstStartWeek, 0);  // no range checks
    EXPECT_EQ(c.TimeZone, 9);
    EXPECT_EQ(c.PanelName, std::string(18, '\0'));  // the panel name is always taken
    EXPECT_EQ(f.d()[4].DeviceInputTimedOnTime[7], 50000);

    // Never taken: connection settings, element 48, device 0, device input 8,
    // and the names when they were not asked for.
    EXPECT_EQ(c.ModemPhoneNumber(), "5550100");
    EXPECT_EQ(c.PanelAddress(), "10.0.0.7");
    EXPECT_EQ(c.ConnectionType(), 2);
    EXPECT_EQ(c.CommPort, 3);
    EXPECT_EQ(c.AddOnModuleType, 1);
    EXPECT_EQ(c.InputPreset[48], 33);
    EXPECT_EQ(c.RelayNames[0], "FOURTEEN CHARS");
    EXPECT_EQ(f.d()[0].DeviceType, 4);
    EXPECT_EQ(f.d()[4].DeviceName, "LONG DEVICE NAME");
    EXPECT_EQ(f.d()[4].DeviceInputTimedOnTime[8], 1234);

    // With names: exactly ten characters each, nothing trimmed.
    for (int j = 0; j < 10; ++j) im[5152 + j] = "AB        "[j];
    for (int j = 0; j < 10; ++j) im[P + 1 + j] = "KEYPAD 4XY"[j];
    ApplyPanelImage(im, c, f.d(), true);
    EXPECT_EQ(c.RelayNames[0], "AB        ");
    EXPECT_EQ(c.RelayNames[1], std::string(10, '\0'));
    EXPECT_EQ(f.d()[4].DeviceName, "KEYPAD 4XY");
    EXPECT_EQ(c.TimerNames[48], "5550100");
    EXPECT_EQ(c.PresetNames[48], "10.0.0.7");
}

// ---------------------------------------------------------------------------
// Round trips.

namespace {

// Fills every member, spare elements included, with values a configuration
// can hold and that survive a trip through the panel (names excepted: they
// come back padded or cut).
void RandomRecords(std::mt19937& rng, PanelConfig& c, VantelDevices& devices)
{
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto range = [](const std::string& name) -> std::pair<int, int> {
        static const std::map<std::string, std::pair<int, int>> ranges = {
            {"InputRelayControl", {0, 7}},         {"InputGroupControl", {0, 7}},
            {"DeviceInputRelayControl", {0, 7}},   {"DeviceInputGroupControl", {0, 7}},
            {"TimerRelayControl", {0, 3}},         {"TimerGroupControl", {0, 3}},
            {"PresetRelayControl", {0, 3}},        {"TimerPresetControl", {0, 1}},
            {"GroupRelays", {-2, 2}},              {"SweepRelays", {-2, 2}},
            {"SweepGroups", {-2, 2}},              {"TimedOnStartsOnClose", {-2, 2}},
            {"DstEnabled", {-2, 2}},               {"PhotocellFilterShort", {-2, 2}},
            {"OverrideMinutes", {-32768, 32767}},  {"DmxChannel", {-32768, 32767}},
            {"InputTimedOnTime", {0, 65535}},      {"DeviceInputTimedOnTime", {0, 65535}},
            {"DmxOnLevel", {0, 100}},              {"DmxOffLevel", {0, 100}},
            {"ModbusProtocol", {0, 1}},            {"ModbusBaud", {0, 3}},
            {"ModbusParity", {0, 3}},              {"AddOnModuleType", {-32768, 32767}},
            {"CommPort", {-32768, 32767}},         {"DeviceReserved", {-100000, 100000}},
        };
        auto it = ranges.find(name);
        return it == ranges.end() ? std::pair<int, int>{0, 255} : it->second;
    };
    auto fill = [&](const char* name, auto& m) {
        using T = std::decay_t<decltype(m)>;
        const auto [lo, hi] = range(name);
        auto one = [&](auto& x) {
            using E = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<E, Bytes>) {
                x.clear();
                const int n = pick(0, 24);
                for (int j = 0; j < n; ++j) x.push_back(static_cast<char>(pick(0, 255)));
            } else {
                x = static_cast<E>(pick(lo, hi));
            }
        };
        if constexpr (std::is_same_v<T, Bytes> || std::is_integral_v<T>) {
            one(m);
        } else if constexpr (requires { T::First; }) {
            for (auto& x : m.data) one(x);
        } else {
            for (auto& x : m) one(x);
        }
    };
    VisitPanelConfig(c, fill);
    for (VantelDevice& d : devices) VisitVantelDevice(d, fill);
}

Bytes Padded(const Bytes& s, std::size_t n)
{
    Bytes t = s.substr(0, n);
    t.resize(n, ' ');
    return t;
}

// What a configuration looks like after a trip through the panel, applied
// over `base`: members the panel does not keep come from base.
void ExpectedAfterTrip(const PanelConfig& sent, const VantelDevices& sentDevices, const PanelConfig& base,
                       const VantelDevices& baseDevices, bool names, PanelConfig& c, VantelDevices& devices)
{
    c = sent;
    devices = sentDevices;
    auto flag = [](Integer& v) { v = v != 0 ? True : False; };
    for (auto* m : {&c.GroupRelays}) for (auto& v : m->data) flag(v);
    for (auto* m : {&c.SweepRelays, &c.SweepGroups}) for (auto& v : *m) flag(v);
    for (auto* v : {&c.TimedOnStartsOnClose, &c.DstEnabled, &c.PhotocellFilterShort}) flag(*v);
    c.PanelName = Padded(sent.PanelName.empty() ? Bytes("VEL TAMBERLINE II ") : sent.PanelName, 18);
    for (auto* m : {&c.RelayNames, &c.GroupNames, &c.InputNames, &c.TimerNames, &c.PresetNames}) {
        for (int n = 0; n < 48; ++n) (*m)[n] = names ? Padded((*m)[n], 10) : Same((*m)[n], c, base);
    }
    for (int d = 1; d < DeviceSlots; ++d) {
        devices[d].DeviceName = names ? Padded(sentDevices[d].DeviceName, 10) : baseDevices[d].DeviceName;
    }

    // Spare elements and members that never reach the panel keep base's values.
    VisitPanelConfig(c, [&](const char* name, auto& m) {
        const auto& from = Same(m, c, base);
        using T = std::decay_t<decltype(m)>;
        const std::string n = name;
        if constexpr (std::is_integral_v<T>) {
            if (n == "AddOnModuleType" || n == "CommPort") m = from;
        } else if constexpr (std::is_same_v<T, ItemMatrix>) {
            for (int a = 0; a < ItemSlots; ++a) {
                m(a, 48) = from(a, 48);
                m(48, a) = from(48, a);
            }
        } else if constexpr (std::is_same_v<T, Array2<Integer, 13, 32>>) {
            for (int month = 0; month < 13; ++month) {
                for (int day = 0; day < 32; ++day) {
                    if (month == 12 || day == 31) m(month, day) = from(month, day);
                }
            }
        } else if constexpr (!std::is_same_v<T, Bytes> && requires { m.size(); m[0]; }) {
            m.back() = from.back();  // element 48, normal day 7, node 12
        }
    });
    devices[0] = baseDevices[0];
    for (int d = 1; d < DeviceSlots; ++d) {
        VisitVantelDevice(devices[d], [&](const char* name, auto& m) {
            const auto& from = Same(m, devices[d], baseDevices[d]);
            using T = std::decay_t<decltype(m)>;
            if (std::string(name) == "DeviceReserved") {
                if constexpr (!std::is_same_v<T, Bytes>) m = from;
            } else if constexpr (std::is_same_v<T, Array2<Integer, DeviceInputSlots, ItemSlots>>) {
                for (int a = 0; a < DeviceInputSlots; ++a) m(a, 48) = from(a, 48);
                for (int b = 0; b < ItemSlots; ++b) m(8, b) = from(8, b);
            } else if constexpr (requires { m.size(); m[0]; } && !std::is_same_v<T, Bytes>) {
                m[8] = from[8];
            }
        });
    }
}

// Cells no configuration item occupies; they stay 0.
bool UnusedCell(int cell)
{
    auto in = [cell](int a, int b) { return cell >= a && cell <= b; };
    if (in(5126, 5151) || in(7552, 7679) || in(8164, 8175) || in(8192, 8255) || in(10304, 12607) ||
        in(22848, 0x7FFF)) {
        return true;
    }
    if (in(8256, 10303) && (cell - 8192) % 64 >= 59) return true;
    if (in(12608, 22847) && (cell - 12288) % 320 >= 296) return true;
    return false;
}

}  // namespace

TEST(ImageRoundTrip, ConfigurationImageConfiguration)
{
    std::mt19937 rng(20240611);
    for (int round = 0; round < 6; ++round) {
        const bool names = round % 2 == 0;
        auto sent = std::make_unique<ProgramState>();
        auto base = std::make_unique<ProgramState>();
        RandomRecords(rng, sent->Config, sent->Devices);
        RandomRecords(rng, base->Config, base->Devices);
        if (round == 1) sent->Config.PanelName.clear();

        BuildPanelImage(sent->Config, sent->Devices, {4, 0, 9, 9, 1, 2}, sent->Image);
        auto got = std::make_unique<ProgramState>();
        got->Config = base->Config;
        got->Devices = base->Devices;
        ApplyPanelImage(sent->Image, got->Config, got->Devices, names);

        auto expected = std::make_unique<ProgramState>();
        ExpectedAfterTrip(sent->Config, sent->Devices, base->Config, base->Devices, names, expected->Config,
                          expected->Devices);
        SCOPED_TRACE("round " + std::to_string(round));
        ExpectSameRecords(expected->Config, expected->Devices, got->Config, got->Devices);
    }
}

TEST(ImageRoundTrip, CodesAreCutToTheirPlanes)
{
    Fixture f;
    f.c().TimerRelayControl(0, 0) = 7;
    f.c().TimerPresetControl(0, 0) = 2;
    f.c().InputRelayControl(0, 0) = 9;
    f.c().InputType[0] = 300;
    f.c().InputTimedOnTime[0] = -1;
    f.Build();
    ApplyPanelImage(f.s->Image, f.c(), f.d(), false);
    EXPECT_EQ(f.c().TimerRelayControl(0, 0), 3);
    EXPECT_EQ(f.c().TimerPresetControl(0, 0), 0);
    EXPECT_EQ(f.c().InputRelayControl(0, 0), 1);
    EXPECT_EQ(f.c().InputType[0], 44);
    EXPECT_EQ(f.c().InputTimedOnTime[0], 65535);
}

// An installer who uploads a panel and downloads it again must not change it.
TEST(ImageRoundTrip, ImageConfigurationImage)
{
    std::mt19937 rng(7);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<int> dmxBytes;
    for (int p = 0; p <= 100; ++p) dmxBytes.push_back(DmxLevelToByte(p));

    for (int round = 0; round < 8; ++round) {
        auto panel = std::make_unique<ProgramState>();
        PanelImage& im = panel->Image;
        im.fill(0);
        std::array<int, 6> password{};
        for (int& digit : password) digit = pick(0, 9);
        for (int cell = 0; cell < M::TransferCells; ++cell) {
            if (!UnusedCell(cell)) im[cell] = static_cast<Integer>(pick(0, 255));
        }
        for (int cell : {8033, 8056, 8057}) im[cell] = static_cast<Integer>(pick(0, 1));
        im[8163] = static_cast<Integer>(pick(0, 31));
        for (int cell : {8160, 8161}) im[cell] = static_cast<Integer>(dmxBytes[pick(0, 100)]);
        for (int k = 0; k < 6; ++k) im[8058 + k] = static_cast<Integer>(password[k]);

        // Upload into whatever the host held, download again.
        auto host = std::make_unique<ProgramState>();
        RandomRecords(rng, host->Config, host->Devices);
        ApplyPanelImage(im, host->Config, host->Devices, true);
        BuildPanelImage(host->Config, host->Devices, password, host->Image);
        for (int cell = 0; cell <= 0x7FFF; ++cell) {
            ASSERT_EQ(host->Image[cell], im[cell]) << "round " << round << ", cell " << cell;
        }
        EXPECT_EQ(PanelImageBytes(host->Image), PanelImageBytes(im));
    }
}

TEST(PanelImageBytes, SizeAndLowBits)
{
    auto s = std::make_unique<ProgramState>();
    s->Image.fill(0);
    s->Image[0] = 300;
    s->Image[0x5FFF] = -1;
    s->Image[0x6000] = 9;  // never transferred
    const std::string bytes = PanelImageBytes(s->Image);
    ASSERT_EQ(bytes.size(), 24576u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 44);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0x5FFF]), 255);

    auto back = std::make_unique<ProgramState>();
    back->Image.fill(5);
    std::string error;
    ASSERT_TRUE(PanelImageFromBytes(bytes, back->Image, &error)) << error;
    EXPECT_EQ(back->Image[0], 44);
    EXPECT_EQ(back->Image[0x5FFF], 255);
    EXPECT_EQ(back->Image[0x6000], 0);

    for (std::size_t size : {std::size_t{0}, std::size_t{24575}, std::size_t{24577}, std::size_t{32768}}) {
        back->Image.fill(5);
        EXPECT_FALSE(PanelImageFromBytes(std::string(size, 'x'), back->Image, &error)) << size;
        EXPECT_NE(error.find("24576"), std::string::npos) << error;
        EXPECT_EQ(back->Image[0], 5);
    }
}
