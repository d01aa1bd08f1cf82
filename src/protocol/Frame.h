// The frame of a command and of a reply, and safe reading of reply fields.
//
// A command travels as "[00" + command text + two checksum digits + "]"; the
// checksum covers "00" and the command text. A reply travels as "[" + data +
// two checksum digits + "]", the checksum covering the data only; a reply
// without data is "[00]". Replies are read by 1-based character position as
// the panel documents them (the data starts at position 2); every reader here
// is safe on replies of any length, including garbage.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace t2 {

// "[00" + command + Hex2(FrameChecksum("00" + command)) + "]".
std::string FrameCommand(std::string_view command);

// "[" + data + Hex2(FrameChecksum(data)) + "]": how the panel answers.
std::string FrameReply(std::string_view data);

// The command text of a command frame, when the frame is well formed: "[00" at
// the start, "]" at the end, two hexadecimal checksum digits before it that
// match the checksum of everything between "[" and them. Nothing otherwise.
std::optional<std::string> ParseCommandFrame(std::string_view frame);

// True when reply is a whole reply with a correct checksum: at least four
// characters, "[" first, "]" last, and the two characters before the "]" are
// hexadecimal digits (either case) equal to FrameChecksum of everything from
// the second character up to them. A reply longer than the caller expected is
// checked whole.
bool ReplyChecksumOk(std::string_view reply);

// The data of a reply: everything between "[" and the checksum digits; empty
// when the reply is shorter than four characters.
std::string_view ReplyData(std::string_view reply);

// The character at 1-based position of reply, or '\0' when there is none.
char ReplyChar(std::string_view reply, std::size_t position);

// count characters of reply from 1-based position, cut short at the end of the
// reply (possibly empty).
std::string_view ReplyField(std::string_view reply, std::size_t position, std::size_t count);

// HexValue2 / HexValue4 of the field at 1-based position (0 when missing).
int ReplyHex2(std::string_view reply, std::size_t position);
int ReplyHex4(std::string_view reply, std::size_t position);
// HexValue of the single character at position (0 when missing or not hex).
int ReplyHex1(std::string_view reply, std::size_t position);

}  // namespace t2
