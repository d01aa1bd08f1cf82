#include "Replies.h"

#include "Frame.h"

namespace t2 {

namespace {

bool AtLeast(std::string_view reply, int length) { return reply.size() >= static_cast<std::size_t>(length); }

}  // namespace

std::optional<PanelStatus> ReadPanelStatus(std::string_view reply)
{
    if (!AtLeast(reply, StatusReplyLength)) return std::nullopt;
    PanelStatus s;
    s.hour = ReplyHex2(reply, 2);
    s.minute = ReplyHex2(reply, 4);
    s.second = ReplyHex2(reply, 6);
    s.month = ReplyHex2(reply, 8);
    s.day = ReplyHex2(reply, 10);
    s.year = ReplyHex2(reply, 12);
    s.dayOfWeek = ReplyHex1(reply, 14);
    s.ioCount = ReplyHex2(reply, 16);
    s.addOnType = ReplyHex1(reply, 19);
    s.addOnRevision = ReplyHex1(reply, 20);
    return s;
}

std::string RevisionFromReply(std::string_view reply)
{
    const std::string_view data = ReplyData(reply);
    return std::string(data.substr(0, RevisionTextLength));
}

std::optional<std::vector<std::uint8_t>> MemoryFromReply(std::string_view reply, int count)
{
    if (count < 0 || !AtLeast(reply, 4 + 2 * count)) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    for (int j = 0; j < count; ++j) bytes[j] = static_cast<std::uint8_t>(ReplyHex2(reply, 2 * j + 2));
    return bytes;
}

std::optional<int> ChecksumFromReply(std::string_view reply)
{
    if (!AtLeast(reply, ChecksumReplyLength)) return std::nullopt;
    return ReplyHex4(reply, 2);
}

char ItemStatusChar(std::string_view reply, int item)
{
    const std::string_view data = ReplyData(reply);
    if (item < 0 || static_cast<std::size_t>(item) >= data.size()) return '\0';
    return data[static_cast<std::size_t>(item)];
}

bool ItemIsOn(std::string_view reply, int item)
{
    const char c = ItemStatusChar(reply, item);
    return c != '\0' && c != '0';
}

int InputStatusValue(std::string_view reply, int input)
{
    const char c = ItemStatusChar(reply, input);
    return (c >= '0' && c <= '9') ? c - '0' : 0;
}

std::optional<KeypadDisplay> ReadKeypadDisplay(std::string_view reply)
{
    if (!AtLeast(reply, KeypadReplyLength)) return std::nullopt;
    KeypadDisplay d;
    d.characters = std::string(ReplyField(reply, 2, DisplayCharacters));
    d.lamps = ReplyHex2(reply, 82);
    return d;
}

std::optional<NetworkStatus> ReadNetworkStatus(std::string_view reply)
{
    if (!AtLeast(reply, NetworkStatusReplyLength)) return std::nullopt;
    NetworkStatus n;
    for (int d = 0; d < NetworkDeviceSlots; ++d) {
        n.inputs[d] = ReplyHex2(reply, 2 * d + 2);
        n.responding[d] = ReplyHex2(reply, 2 * d + 68);
        n.level[d] = ReplyHex2(reply, 2 * d + 134);
    }
    return n;
}

std::optional<std::array<int, PasswordDigits>> PasswordFromReply(std::string_view reply)
{
    const auto bytes = MemoryFromReply(reply, PasswordDigits);
    if (!bytes) return std::nullopt;
    std::array<int, PasswordDigits> digits{};
    for (int i = 0; i < PasswordDigits; ++i) digits[i] = (*bytes)[i];
    return digits;
}

std::optional<std::array<int, NodeCodeCount>> NodeCodesFromReply(std::string_view reply)
{
    const auto bytes = MemoryFromReply(reply, NodeCodeCount);
    if (!bytes) return std::nullopt;
    std::array<int, NodeCodeCount> codes{};
    for (int i = 0; i < NodeCodeCount; ++i) codes[i] = (*bytes)[i];
    return codes;
}

}  // namespace t2
