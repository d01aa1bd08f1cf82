// Readers of the reply fields, by the positions the panel documents (1-based in
// the whole reply, data from position 2). Each reader is safe on a reply of any
// length: a missing field reads as 0 (or an empty text), and the readers that
// return std::optional give nothing when the reply is shorter than its command's
// reply.
#pragma once

#include "Commands.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace t2 {

// Reply of "01".
struct PanelStatus {
    int hour = 0;           // 0..23
    int minute = 0;
    int second = 0;
    int month = 0;
    int day = 0;
    int year = 0;           // two digits
    int dayOfWeek = 0;      // 0 = Sunday .. 6 = Saturday (one hex digit)
    int ioCount = 0;        // installed inputs/relays
    int addOnType = 0;      // one hex digit
    int addOnRevision = 0;  // one hex digit
};
std::optional<PanelStatus> ReadPanelStatus(std::string_view reply);

// Reply of "05": the revision text, positions 2..41 (shorter when the reply is).
std::string RevisionFromReply(std::string_view reply);

// Reply of "31": count bytes from positions 2, 4, ...; nothing when the reply
// holds fewer than count bytes of data.
std::optional<std::vector<std::uint8_t>> MemoryFromReply(std::string_view reply, int count);

// Reply of "34": the four-digit checksum at positions 2..5.
std::optional<int> ChecksumFromReply(std::string_view reply);

// Replies of "20FF", "23FF", "24FF", "25FF": the character of item i (0..47),
// at position i + 2; '\0' when the reply's data has no such item.
char ItemStatusChar(std::string_view reply, int item);
// "23FF" / "24FF": on unless the character is "0" (a group or preset of "2"
// is unused; see ItemStatusChar).
bool ItemIsOn(std::string_view reply, int item);
// "20FF": the digit 0..3 of input i; a character that is not a digit counts as 0.
int InputStatusValue(std::string_view reply, int input);

// Reply of "07": 80 display characters as raw codes and the key lamp byte.
struct KeypadDisplay {
    std::string characters;  // 80 bytes, row by row (cell = 20 * row + column)
    int lamps = 0;           // bit k = lamp of key k
};
std::optional<KeypadDisplay> ReadKeypadDisplay(std::string_view reply);

// Reply of "49": three tables of 33 bytes, device 0..32.
struct NetworkStatus {
    std::array<int, NetworkDeviceSlots> inputs{};      // bit i = input i
    std::array<int, NetworkDeviceSlots> responding{};  // non-zero when the device answers
    std::array<int, NetworkDeviceSlots> level{};       // light level 0..255
};
std::optional<NetworkStatus> ReadNetworkStatus(std::string_view reply);

// Reply of "311F7A05": the six stored password digits.
std::optional<std::array<int, PasswordDigits>> PasswordFromReply(std::string_view reply);
// Reply of "311FF00B": the twelve node codes.
std::optional<std::array<int, NodeCodeCount>> NodeCodesFromReply(std::string_view reply);

}  // namespace t2
