// The .TMB settings file: the PanelConfig record followed by the 33 device
// records, member by member, little-endian, strings as a 16-bit length and
// their bytes. No header, no checksum.
#pragma once

#include "PanelConfig.h"

#include <cstddef>
#include <string>

namespace t2 {

// The longest text a field of the file holds, in bytes (its length is 16 bits).
constexpr std::size_t MaxSettingsTextBytes = 0xFFFF;

// The longest settings file the writer can make: every string at its
// 65535-byte limit (about 18 MB; a real file is about 100 KB). The reader
// refuses a longer input as not a settings file without reading it to its
// end, so a device or a pipe that never ends cannot use up the memory.
std::size_t MaxSettingsFileBytes();

// The file's bytes for a configuration.
std::string SerializeSettings(const PanelConfig& config, const VantelDevices& devices);

// Parses a settings file's bytes into the records given. On failure returns
// false, leaves the records as they were and says what is wrong (member and
// byte offset) in *error. Bytes after the last device record are ignored.
bool ParseSettings(const std::string& bytes, PanelConfig& config, VantelDevices& devices,
                   std::string* error);

// Reads the file at path, a regular file (or a symbolic link to one) of at
// most MaxSettingsFileBytes(); on failure the records stay as they were and
// *error names the file as given and the problem. A folder, device, pipe or
// socket is refused before it is opened (a pipe nobody writes to would keep
// the reader waiting for ever).
bool ReadSettingsFile(const std::string& path, PanelConfig& config, VantelDevices& devices,
                      std::string* error);

// Writes the file atomically: a temporary file beside the target is renamed
// over it, so a failed save leaves the old file whole. A target that exists
// and is not a regular file (a folder, device, pipe or socket), or a symbolic
// link that leads round in a loop, is refused and left as it is; a symbolic
// link to a regular file is written through.
bool WriteSettingsFile(const std::string& path, const PanelConfig& config,
                       const VantelDevices& devices, std::string* error);

// Writes bytes to path atomically, as WriteSettingsFile does (shared by the
// settings file, the report and the panel image).
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error);

// Reads a whole regular file of at most maxBytes bytes. False with a message
// naming the file as given when it is not a regular file (refused before it
// is opened, as ReadSettingsFile does), cannot be read or holds more than
// maxBytes; a longer input is not read past maxBytes + 1, and *tooLong (when
// given) tells that case apart.
bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string* error,
                   bool* tooLong = nullptr);

}  // namespace t2
