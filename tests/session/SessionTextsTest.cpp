// The texts of the status reading and the clock command, without a panel.
#include "PanelSession.h"

#include <gtest/gtest.h>

using namespace t2;

TEST(SessionTexts, TimeDateIoAndAddOn)
{
    struct TimeCase {
        int h, m, s;
        const char* text;
    };
    for (const TimeCase& c : {TimeCase{0, 5, 0, "12:05:00 AM"}, TimeCase{12, 5, 0, "12:05:00 PM"},
                              TimeCase{13, 5, 0, "01:05:00 PM"}, TimeCase{9, 5, 0, "09:05:00 AM"},
                              TimeCase{23, 59, 59, "11:59:59 PM"}, TimeCase{11, 0, 7, "11:00:07 AM"}}) {
        EXPECT_EQ(FormatPanelTime(c.h, c.m, c.s), c.text);
    }
    EXPECT_EQ(FormatPanelDate(6, 3, 15, 14), "Sat 03/15/14");
    EXPECT_EQ(FormatPanelDate(0, 12, 1, 9), "Sun 12/01/09");
    // A day code the panel does not name shows the date alone.
    EXPECT_EQ(FormatPanelDate(9, 3, 15, 14), "03/15/14");
    EXPECT_EQ(FormatIOInstalled(4), "04 Inputs/Relays");
    EXPECT_EQ(FormatIOInstalled(48), "48 Inputs/Relays");
    const char* cards[] = {"None", "DMX  Rev 3", "MODBUS  Rev 3", "N2  Rev 3", "Voice/DTMF  Rev 3",
                           "BACnet  Rev 3", "Modem  Rev 3", "Ethernet  Rev 3", "Unknown Type"};
    for (int type = 0; type <= 8; ++type) EXPECT_EQ(FormatAddOnCard(type, 3), cards[type]) << type;
    EXPECT_EQ(FormatAddOnCard(15, 3), "Unknown Type");
}

TEST(SessionTexts, ClockCommandAndPanelAddress)
{
    // Friday 7 March 2014, 14:05:33: seconds are not sent.
    const QDateTime moment(QDate(2014, 3, 7), QTime(14, 5, 33));
    EXPECT_EQ(PanelSession::ClockCommandFor(moment).text, "00" "0E" "05" "03" "07" "0E" "5");
    EXPECT_EQ(PanelSession::ClockCommandFor(QDateTime(QDate(2023, 1, 1), QTime(0, 0))).text, "000000010117" "0");

    LinkSettings link;
    EXPECT_TRUE(link.SetPanelAddress("192.168.1.50"));
    EXPECT_EQ(link.address, "192.168.1.50");
    EXPECT_EQ(link.tcpPort, 10001);
    EXPECT_TRUE(link.SetPanelAddress(" 127.0.0.1:10002 "));
    EXPECT_EQ(link.address, "127.0.0.1");
    EXPECT_EQ(link.tcpPort, 10002);
    EXPECT_FALSE(link.SetPanelAddress("127.0.0.1:99999"));
    EXPECT_EQ(link.tcpPort, 10001);
}
