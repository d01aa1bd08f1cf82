#include "Commands.h"
#include "Frame.h"
#include "Hex.h"
#include "Replies.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace t2;

TEST(Hex, HelpersKeepTheLowDigitsAndReadLeniently)
{
    EXPECT_EQ(Hex2(10), "0A");
    EXPECT_EQ(Hex2(300), "2C");
    EXPECT_EQ(Hex2(0), "00");
    EXPECT_EQ(Hex2(-1), "FF");
    EXPECT_EQ(Hex2(-2), "FE");
    EXPECT_EQ(Hex4(24575), "5FFF");
    EXPECT_EQ(Hex4(0), "0000");
    EXPECT_EQ(Hex4(0x12345), "2345");
    EXPECT_EQ(Hex4(-1), "FFFF");

    struct Case { const char* text; int two; int four; };
    const Case cases[] = {
        {"0A", 10, 10},   {"0a", 10, 10},   {"5FFF", 95, 24575}, {"5fff", 95, 24575},
        {"G1", 0, 0},     {"", 0, 0},       {"7", 7, 7},         {"1G", 1, 1},
        {"FFFFFF", 255, 65535}, {"12 4", 18, 18}, {"-1", 0, 0},  {"abcd9", 171, 43981},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HexValue2(c.text), c.two) << c.text;
        EXPECT_EQ(HexValue4(c.text), c.four) << c.text;
    }
}

TEST(Checksum, FrameChecksumRotatesThenAdds)
{
    EXPECT_EQ(FrameChecksum("abc"), 0xAB);
    EXPECT_EQ(FrameChecksum(""), 0);
    // A high bit re-enters on the right: 0x80 rotates to 0x01, 0xFF stays 0xFF.
    EXPECT_EQ(FrameChecksum(std::string("\x80\x00", 2)), 0x01);
    EXPECT_EQ(FrameChecksum(std::string("\xFF\x00", 2)), 0xFF);
}

TEST(Checksum, ImageChecksumAddsThenRotates)
{
    std::vector<std::uint8_t> image(PanelTransferBytes, 0);
    EXPECT_EQ(ImageChecksum(image), 0);
    image[0] = 1;  // rotated 24576 times, a multiple of 16
    EXPECT_EQ(ImageChecksum(image), 1);
    const std::vector<std::uint8_t> ones(64, 255);
    EXPECT_EQ(ImageChecksum(ones), 65532);
    const std::vector<std::uint8_t> two = {1, 2};
    EXPECT_EQ(ImageChecksum(two), ((1 * 2) + 2) * 2);
    std::uint16_t s = 0;
    for (std::uint8_t b : ones) s = ImageChecksumStep(s, b);
    EXPECT_EQ(s, 65532);
}

TEST(Frame, CommandFramesAsTheyGoOnTheWire)
{
    EXPECT_EQ(FrameCommand("01"), "[0001D3]");
    EXPECT_EQ(FrameCommand("05"), "[0005D7]");
    EXPECT_EQ(FrameCommand("23FF"), "[0023FF39]");
    EXPECT_EQ(FrameCommand("3400005FFF"), "[003400005FFF5B]");
    EXPECT_EQ(ParseCommandFrame("[0001D3]"), std::optional<std::string>("01"));
    EXPECT_EQ(ParseCommandFrame("[0023FF39]"), std::optional<std::string>("23FF"));
    for (const char* bad : {"[0001D4]", "[0001D3", "0001D3]", "[01D3]", "[00]", "", "[", "[0001G3]", "[1101D3]"}) {
        EXPECT_FALSE(ParseCommandFrame(bad)) << bad;
    }
}

TEST(Frame, RepliesOfAnyLengthAreCheckedSafely)
{
    EXPECT_TRUE(ReplyChecksumOk("[00]"));
    EXPECT_EQ(FrameReply(""), "[00]");
    EXPECT_EQ(FrameReply("abc"), "[abcAB]");
    EXPECT_TRUE(ReplyChecksumOk("[abcAB]"));
    EXPECT_TRUE(ReplyChecksumOk("[abcab]"));  // either letter case
    const std::string longReply = FrameReply(std::string(600, '7'));
    EXPECT_TRUE(ReplyChecksumOk(longReply));
    EXPECT_EQ(ReplyData(longReply).size(), 600u);
    for (const char* bad : {"", "[", "[]", "[0]", "[abcAC]", "xabcAB]", "[abcAB", "[abcGB]", "[abc\0B]"}) {
        EXPECT_FALSE(ReplyChecksumOk(bad)) << bad;
    }
    EXPECT_EQ(ReplyChar("[ab", 1), '[');
    EXPECT_EQ(ReplyChar("[ab", 4), '\0');
    EXPECT_EQ(ReplyChar("[ab", 0), '\0');
    EXPECT_EQ(ReplyField("[abc", 3, 10), "bc");
    EXPECT_EQ(ReplyField("[abc", 9, 2), "");
    EXPECT_EQ(ReplyHex2("[7", 2), 7);
    EXPECT_EQ(ReplyHex4("", 2), 0);
}

TEST(Commands, EveryCommandOfTheTable)
{
    struct Case { PanelCommand c; const char* text; int length; int timeout; };
    const std::array<std::uint8_t, 3> three = {0x01, 0xAB, 0xFF};
    std::array<std::uint8_t, PanelBlockSize> zero{};
    std::array<std::uint8_t, PanelBlockSize> block{};
    block[63] = 0x5A;
    const Case cases[] = {
        {SetClockCommand(14, 5, 3, 7, 2014, 5), "000E0503070E5", 4, 4},
        {ReadStatusCommand(), "01", 34, 5},
        {ForceTimerWaitCommand(), "02", 6, 80},
        {RevisionCommand(), "05", 44, 3},
        {KeypadCommand(0x21), "0721", 86, 3},
        {RelaySwitchCommand(11, true), "100B1", 4, 4},
        {RelaySwitchCommand(0, false), "10000", 4, 4},
        {AllRelaysCommand(false), "10FF0", 4, 4},
        {AllRelaysCommand(true), "10FF1", 4, 4},
        {GroupSwitchCommand(47, true), "112F1", 4, 4},
        {ForceTimerCommand(11), "130B0", 4, 4},
        {InputStatusCommand(), "20FF", 52, 4},
        {RelayStatusCommand(), "23FF", 52, 5},
        {GroupStatusCommand(), "24FF", 52, 5},
        {PresetStatusCommand(), "25FF", 52, 5},
        {WriteMemoryCommand(0x1234, three), "30123402" "01ABFF", 4, 4},
        {ReadMemoryCommand(0x0040, 3, 2), "3100400" "2", 10, 2},
        {MemoryChecksumCommand(0, 0x5FFF), "3400005FFF", 8, 4},
        {ImageChecksumCommand(), "3400005FFF", 8, 4},
        {ClearMemoryCommand(0x40, 0x7F), "360040007F", 4, 4},
        {PresetSetCommand(2), "40020", 4, 4},
        {PresetCaptureCommand(47), "412F0", 4, 4},
        {NetworkStatusCommand(), "49", 202, 4},
        {PasswordReadCommand(), "311F7A05", 16, 4},
        {PasswordWriteCommand({1, 2, 3, 4, 5, 9}), "301F7A05010203040509", 4, 4},
        {NodeCodesReadCommand(), "311FF00B", 28, 2},
        {BlockReadCommand(383), "315FC03F", 132, 10},
        {BlockClearCommand(1), "360040007F", 4, 4},
        {BlockDownloadCommand(2, zero), "36008000BF", 4, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.c.text, c.text);
        EXPECT_EQ(c.c.replyLength, c.length) << c.text;
        EXPECT_EQ(c.c.timeoutSeconds, c.timeout) << c.text;
    }
    const PanelCommand write = BlockDownloadCommand(1, block);
    EXPECT_EQ(write.text.size(), 136u);
    EXPECT_EQ(write.text.substr(0, 8), "3000403F");
    EXPECT_EQ(write.text.substr(134), "5A");
    EXPECT_EQ(FrameCommand(write.text).size(), 142u);
    EXPECT_EQ(FrameCommand(BlockClearCommand(0).text).size(), 16u);
}

TEST(Replies, FieldsAtTheirPositions)
{
    // "01": 14:05:09 03/15/14, Saturday, 16 I/O, card 7 revision 3.
    const std::string status = FrameReply("0E0509030F0E6" "x10" "y73" "00000000000");
    ASSERT_EQ(status.size(), 34u);
    const auto s = ReadPanelStatus(status);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->hour, 14);
    EXPECT_EQ(s->minute, 5);
    EXPECT_EQ(s->second, 9);
    EXPECT_EQ(s->month, 3);
    EXPECT_EQ(s->day, 15);
    EXPECT_EQ(s->year, 14);
    EXPECT_EQ(s->dayOfWeek, 6);
    EXPECT_EQ(s->ioCount, 16);
    EXPECT_EQ(s->addOnType, 7);
    EXPECT_EQ(s->addOnRevision, 3);
    EXPECT_FALSE(ReadPanelStatus("[00]"));

    EXPECT_EQ(RevisionFromReply(FrameReply(std::string(40, 'R'))), std::string(40, 'R'));
    EXPECT_EQ(RevisionFromReply("[ab"), "");

    const auto mem = MemoryFromReply(FrameReply("01ABff"), 3);
    ASSERT_TRUE(mem);
    EXPECT_EQ(*mem, (std::vector<std::uint8_t>{1, 0xAB, 0xFF}));
    EXPECT_FALSE(MemoryFromReply(FrameReply("01AB"), 3));
    EXPECT_EQ(ChecksumFromReply(FrameReply("FFFC")), 65532);

    const std::string relays = FrameReply("0X1" + std::string(45, '0'));
    EXPECT_FALSE(ItemIsOn(relays, 0));
    EXPECT_TRUE(ItemIsOn(relays, 1));
    EXPECT_TRUE(ItemIsOn(relays, 2));
    EXPECT_FALSE(ItemIsOn(relays, 48));
    EXPECT_FALSE(ItemIsOn(relays, -1));
    const std::string inputs = FrameReply("3Z2" + std::string(45, '0'));
    EXPECT_EQ(InputStatusValue(inputs, 0), 3);
    EXPECT_EQ(InputStatusValue(inputs, 1), 0);
    EXPECT_EQ(InputStatusValue(inputs, 2), 2);

    std::string net;
    for (int d = 0; d < 33; ++d) net += Hex2(d);
    for (int d = 0; d < 33; ++d) net += Hex2(d == 5 ? 1 : 0);
    for (int d = 0; d < 33; ++d) net += Hex2(200 + d);
    const auto n = ReadNetworkStatus(FrameReply(net));
    ASSERT_TRUE(n);
    EXPECT_EQ(n->inputs[32], 32);
    EXPECT_EQ(n->responding[5], 1);
    EXPECT_EQ(n->responding[4], 0);
    EXPECT_EQ(n->level[1], 201);

    const auto k = ReadKeypadDisplay(FrameReply(std::string(80, 'A') + "21"));
    ASSERT_TRUE(k);
    EXPECT_EQ(k->characters, std::string(80, 'A'));
    EXPECT_EQ(k->lamps, 0x21);

    const auto pw = PasswordFromReply(FrameReply("010203040509"));
    ASSERT_TRUE(pw);
    EXPECT_EQ((*pw)[5], 9);
    EXPECT_FALSE(NodeCodesFromReply(FrameReply("01")));
}
