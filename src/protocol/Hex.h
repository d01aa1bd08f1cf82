// The hexadecimal helpers, the frame checksum and the image checksum that the
// panel protocol is built on.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace t2 {

// Two upper-case hexadecimal digits of the low byte of value ("0A" for 10,
// "2C" for 300, "FF" for -1).
std::string Hex2(int value);
// Four upper-case hexadecimal digits of the low 16 bits of value ("5FFF").
std::string Hex4(long value);

// Reads up to the first two (HexValue2) or four (HexValue4) characters of text
// as a hexadecimal number; either letter case. Reading stops at the first
// character that is not a hexadecimal digit; no digit at all gives 0, so a
// short or empty text is safe ("7" gives 7, "G1" gives 0, "" gives 0).
int HexValue2(std::string_view text);
int HexValue4(std::string_view text);

// True for 0-9, A-F and a-f.
bool IsHexDigit(char c);

// The 8-bit checksum of a frame or reply body: for each character code b,
// rotate the sum left by one bit, then add b modulo 256. "abc" gives 0xAB,
// an empty body gives 0.
int FrameChecksum(std::string_view chars);

// One step of the 16-bit image checksum: add the byte modulo 65536, then
// rotate left by one bit. The transfers fold every byte they send or receive.
std::uint16_t ImageChecksumStep(std::uint16_t sum, std::uint8_t value);
// The image checksum over bytes in address order, starting from 0. The panel
// computes the same over a memory range for the checksum command. The bytes
// are what travels on the wire, so callers holding wider cells pass their low
// eight bits.
std::uint16_t ImageChecksum(std::span<const std::uint8_t> bytes);

}  // namespace t2
