#include "Hex.h"

namespace t2 {

namespace {

constexpr char Digits[] = "0123456789ABCDEF";

int DigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

int HexValue(std::string_view text, std::size_t digits)
{
    int value = 0;
    for (std::size_t i = 0; i < digits && i < text.size(); ++i) {
        const int d = DigitValue(text[i]);
        if (d < 0) break;
        value = value * 16 + d;
    }
    return value;
}

}  // namespace

bool IsHexDigit(char c) { return DigitValue(c) >= 0; }

std::string Hex2(int value)
{
    const unsigned v = static_cast<unsigned>(value) & 0xFFu;
    return {Digits[v >> 4], Digits[v & 0xF]};
}

std::string Hex4(long value)
{
    const unsigned long v = static_cast<unsigned long>(value) & 0xFFFFul;
    return {Digits[(v >> 12) & 0xF], Digits[(v >> 8) & 0xF], Digits[(v >> 4) & 0xF], Digits[v & 0xF]};
}

int HexValue2(std::string_view text) { return HexValue(text, 2); }
int HexValue4(std::string_view text) { return HexValue(text, 4); }

int FrameChecksum(std::string_view chars)
{
    unsigned c = 0;
    for (char ch : chars) {
        c <<= 1;
        if (c > 255) c -= 255;
        c = (c + static_cast<unsigned char>(ch)) & 0xFFu;
    }
    return static_cast<int>(c);
}

std::uint16_t ImageChecksumStep(std::uint16_t sum, std::uint8_t value)
{
    std::uint32_t s = ((static_cast<std::uint32_t>(sum) + value) & 0xFFFFu) << 1;
    if (s > 0xFFFFu) s -= 0xFFFFu;
    return static_cast<std::uint16_t>(s);
}

std::uint16_t ImageChecksum(std::span<const std::uint8_t> bytes)
{
    std::uint16_t s = 0;
    for (std::uint8_t b : bytes) s = ImageChecksumStep(s, b);
    return s;
}

}  // namespace t2
