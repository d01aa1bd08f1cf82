#include "Defaults.h"
#include "PanelConfig.h"
#include "Windows1252.h"

#include <gtest/gtest.h>

#include <memory>

using namespace t2;

namespace {
std::unique_ptr<ProgramState> FreshState()
{
    auto s = std::make_unique<ProgramState>();
    ResetConfiguration(*s);
    return s;
}
}  // namespace

TEST(Model, TwoDimensionalArraysVaryTheFirstIndexFastest)
{
    PanelConfig c;
    c.InputRelayControl(3, 0) = 7;
    c.InputRelayControl(0, 1) = 9;
    EXPECT_EQ(c.InputRelayControl.data[3], 7);
    EXPECT_EQ(c.InputRelayControl.data[49], 9);
    c.SingleDateOpenTime(11, 30) = 5;  // December 31st
    EXPECT_EQ(c.SingleDateOpenTime.data[30 * 13 + 11], 5);
}

TEST(Model, SpareElementsCarryTheConnectionSettings)
{
    PanelConfig c;
    c.ModemPhoneNumber() = "5551234";
    c.PanelAddress() = "10.0.0.5";
    c.ConnectionType() = ConnectTcpIp;
    EXPECT_EQ(c.TimerNames[48], "5551234");
    EXPECT_EQ(c.PresetNames[48], "10.0.0.5");
    EXPECT_EQ(c.TimerTimeCode[48], 2);
}

TEST(Reset, GivesTheDefaults)
{
    auto s = FreshState();
    const PanelConfig& c = s->Config;
    EXPECT_EQ(TotalIOCount(c), 4);
    EXPECT_EQ(c.RelayNames[0], "RELAY 01");
    EXPECT_EQ(c.GroupNames[47], "GROUP 48");
    EXPECT_EQ(c.InputNames[9], "INPUT 10");
    EXPECT_EQ(c.TimerNames[11], "TIMER 12");
    EXPECT_EQ(c.PresetNames[47], "PRESET 48");
    EXPECT_EQ(c.InputPilot[17], 17);
    EXPECT_EQ(c.InputTimedOnTime[5], 10);
    EXPECT_EQ(c.TimerHolidayDate[0], 1);
    EXPECT_EQ(c.NormalDayOpenTime[0], 32);
    EXPECT_EQ(c.NormalDayCloseTime[6], 84);
    EXPECT_EQ(c.NormalDayOpenTime[7], 0);
    EXPECT_EQ(c.SingleDateOpenTime(12, 31), 100);
    EXPECT_EQ(c.SingleDateCloseTime(0, 0), 100);
    EXPECT_EQ(c.BlinkAlertMinutes, 10);
    EXPECT_EQ(c.OverrideMinutes, 120);
    EXPECT_EQ(c.AlarmSeconds, 5);
    EXPECT_EQ(c.DstEnabled, -1);
    EXPECT_EQ(c.DstStartWeek, 2);
    EXPECT_EQ(c.DstStartMonth, 3);
    EXPECT_EQ(c.DstEndWeek, 1);
    EXPECT_EQ(c.DstEndMonth, 11);
    EXPECT_EQ(c.Latitude, 45);
    EXPECT_EQ(c.Longitude, 90);
    EXPECT_EQ(c.TimeZone, 1);
    EXPECT_EQ(c.CommPort, 1);
    EXPECT_EQ(c.DmxOnLevel, 90);
    EXPECT_EQ(c.DmxOffLevel, 10);
    EXPECT_EQ(s->Devices[0].DeviceName, "VANTEL 00");
    EXPECT_EQ(s->Devices[10].DeviceName, "VANTEL 0A");
    EXPECT_EQ(s->Devices[16].DeviceName, "VANTEL 10");
    EXPECT_EQ(s->Devices[32].DeviceName, "VANTEL 20");
    EXPECT_EQ(s->Devices[5].DeviceInputTimedOnTime[7], 10);
    EXPECT_EQ(s->Devices[5].DeviceInputTimedOnTime[8], 0);
    EXPECT_EQ(s->DocumentFileName, DefaultDocumentFileName());
    EXPECT_EQ(s->SettingsFileName, "None");
}

TEST(Reset, LeavesTheSpareElementsAndHostStateAlone)
{
    auto s = FreshState();
    PanelConfig& c = s->Config;
    c.RelayNames[48] = "keep r";
    c.GroupNames[48] = "keep g";
    c.InputNames[48] = "keep i";
    c.InputPreset[48] = 3;
    c.InputRelayControl(48, 5) = 4;
    c.InputRelayControl(5, 48) = 6;
    c.NodeIOCount[12] = 7;
    c.NormalDayOpenTime[7] = 11;
    s->Devices[3].DeviceInputType[8] = 2;
    s->Devices[3].DeviceReserved[2] = 123456;
    s->Devices[3].DeviceInputRelayControl(8, 1) = 5;
    // what the reset does change
    c.ModemPhoneNumber() = "5551234";
    c.PanelAddress() = "10.1.1.1";
    c.ConnectionType() = ConnectTcpIp;
    c.CommPort = 4;
    s->DataChanged = true;
    s->SettingsFileName = "x.TMB";
    s->PanelConnected = true;
    s->UploadNames = true;
    s->Image[7] = 9;
    s->DocumentPrintOptions[3] = true;

    ResetConfiguration(*s);

    EXPECT_EQ(c.RelayNames[48], "keep r");
    EXPECT_EQ(c.GroupNames[48], "keep g");
    EXPECT_EQ(c.InputNames[48], "keep i");
    EXPECT_EQ(c.InputPreset[48], 3);
    EXPECT_EQ(c.InputRelayControl(48, 5), 4);
    EXPECT_EQ(c.InputRelayControl(5, 48), 6);
    EXPECT_EQ(c.NodeIOCount[12], 7);
    EXPECT_EQ(c.NormalDayOpenTime[7], 11);
    EXPECT_EQ(s->Devices[3].DeviceInputType[8], 2);
    EXPECT_EQ(s->Devices[3].DeviceReserved[2], 123456);
    EXPECT_EQ(s->Devices[3].DeviceInputRelayControl(8, 1), 5);
    EXPECT_EQ(c.ModemPhoneNumber(), "");
    EXPECT_EQ(c.PanelAddress(), "");
    EXPECT_EQ(c.ConnectionType(), ConnectDirectSerial);
    EXPECT_EQ(c.CommPort, 1);
    EXPECT_TRUE(s->DataChanged);
    EXPECT_EQ(s->SettingsFileName, "x.TMB");
    EXPECT_TRUE(s->PanelConnected);
    EXPECT_TRUE(s->UploadNames);
    EXPECT_EQ(s->Image[7], 9);
    EXPECT_FALSE(s->DocumentPrintOptions[3]);
}

TEST(Reset, TotalIOCount)
{
    struct Case {
        std::array<Integer, 13> nodes;
        int expected;
    } cases[] = {
        {{1}, 4},
        {{0}, 0},
        {{2, 0, 0, 0, 1}, 12},  // an empty node between counts nothing
        {{8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8}, 48},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5}, 0},  // node element 12 is not counted
        {{8, 4}, 48},
        {{-3}, 0},
    };
    for (const Case& k : cases) {
        PanelConfig c;
        c.NodeIOCount = k.nodes;
        EXPECT_EQ(TotalIOCount(c), k.expected);
    }
}

TEST(Model, Windows1252TextRoundTripsEveryByte)
{
    Bytes all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const QString text = BytesToText(all);
    EXPECT_EQ(text[0x80], QChar(0x20AC));  // the euro sign
    EXPECT_EQ(text[0xE9], QChar(0x00E9));
    EXPECT_EQ(TextToBytes(text), all);
    EXPECT_EQ(TextToBytes(QString::fromUtf8("\xE4\xB8\xAD" "A")), "?A");  // not in the code page
}

#ifdef _WIN32
// On Windows the folders and file names are the system's own, fixed ones.
TEST(Folders, AreFixedOnWindows)
{
    EXPECT_EQ(ProgramFolder(), "C:\\VEL Tamberline II");
    EXPECT_EQ(DocumentationFolder(), "C:\\VEL Tamberline II\\Documentation");
    EXPECT_EQ(BackupsFolder(), "C:\\VEL Tamberline II\\Backups");
    EXPECT_EQ(MaintenanceFileName(), "C:\\VEL Tamberline II\\Tamberline II Maintenance.TMB");
    struct Case {
        const char* settings;
        const char* report;
    };
    for (const Case& c : {Case{"None", "C:\\VEL Tamberline II\\Documentation\\Tamberline II.txt"},
                          Case{"D:\\Sites\\NORTH.TMB", "C:\\VEL Tamberline II\\Documentation\\NORTH.TXT"},
                          Case{"D:/Sites/south.tmb", "C:\\VEL Tamberline II\\Documentation\\south.TXT"},
                          Case{"E:EAST.TMB", "C:\\VEL Tamberline II\\Documentation\\EAST.TXT"}}) {
        EXPECT_EQ(DefaultDocumentFileName(c.settings), c.report) << c.settings;
    }
}
#endif
