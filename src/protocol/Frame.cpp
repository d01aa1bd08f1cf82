#include "Frame.h"

#include "Hex.h"

namespace t2 {

std::string FrameCommand(std::string_view command)
{
    std::string body = "00";
    body.append(command);
    return "[" + body + Hex2(FrameChecksum(body)) + "]";
}

std::string FrameReply(std::string_view data)
{
    std::string reply = "[";
    reply.append(data);
    reply += Hex2(FrameChecksum(data));
    reply += "]";
    return reply;
}

namespace {

// Checks "[" body digits "]" and returns the body when the checksum matches.
std::optional<std::string_view> CheckedBody(std::string_view frame)
{
    if (frame.size() < 4 || frame.front() != '[' || frame.back() != ']') return std::nullopt;
    const char hi = frame[frame.size() - 3];
    const char lo = frame[frame.size() - 2];
    if (!IsHexDigit(hi) || !IsHexDigit(lo)) return std::nullopt;
    const std::string_view body = frame.substr(1, frame.size() - 4);
    if (HexValue2(frame.substr(frame.size() - 3, 2)) != FrameChecksum(body)) return std::nullopt;
    return body;
}

}  // namespace

std::optional<std::string> ParseCommandFrame(std::string_view frame)
{
    const auto body = CheckedBody(frame);
    if (!body || body->size() < 2 || body->substr(0, 2) != "00") return std::nullopt;
    return std::string(body->substr(2));
}

bool ReplyChecksumOk(std::string_view reply) { return CheckedBody(reply).has_value(); }

std::string_view ReplyData(std::string_view reply)
{
    if (reply.size() < 4) return {};
    return reply.substr(1, reply.size() - 4);
}

char ReplyChar(std::string_view reply, std::size_t position)
{
    if (position < 1 || position > reply.size()) return '\0';
    return reply[position - 1];
}

std::string_view ReplyField(std::string_view reply, std::size_t position, std::size_t count)
{
    if (position < 1 || position > reply.size()) return {};
    return reply.substr(position - 1, count);
}

int ReplyHex2(std::string_view reply, std::size_t position) { return HexValue2(ReplyField(reply, position, 2)); }
int ReplyHex4(std::string_view reply, std::size_t position) { return HexValue4(ReplyField(reply, position, 4)); }
int ReplyHex1(std::string_view reply, std::size_t position) { return HexValue2(ReplyField(reply, position, 1)); }

}  // namespace t2
