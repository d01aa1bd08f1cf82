// The .TMB settings file: the PanelConfig record followed by the 33 device
// records, member by member, little-endian, strings as a 16-bit length and
// their bytes. No header, no checksum.
#pragma once

#include "PanelConfig.h"

#include <string>

namespace t2 {

// The file's bytes for a configuration.
std::string SerializeSettings(const PanelConfig& config, const VantelDevices& devices);

// Parses a settings file's bytes into the records given. On failure returns
// false, leaves the records as they were and says what is wrong (member and
// byte offset) in *error. Bytes after the last device record are ignored.
bool ParseSettings(const std::string& bytes, PanelConfig& config, VantelDevices& devices,
                   std::string* error);

// Reads the file at path; on failure the records stay as they were and *error
// names the file and the problem.
bool ReadSettingsFile(const std::string& path, PanelConfig& config, VantelDevices& devices,
                      std::string* error);

// Writes the file atomically: a temporary file beside the target is renamed
// over it, so a failed save leaves the old file whole.
bool WriteSettingsFile(const std::string& path, const PanelConfig& config,
                       const VantelDevices& devices, std::string* error);

// Writes bytes to path atomically (shared by the settings file and the report).
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error);

// Reads a whole file; false with a message naming the file when it cannot.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error);

}  // namespace t2
