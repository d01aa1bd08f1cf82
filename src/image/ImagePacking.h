// Conversion between the configuration records and the panel memory image.
#pragma once

#include "PanelConfig.h"
#include "PanelNames.h"

#include <array>
#include <string>

namespace t2 {

// Fills image from the configuration: clears cells 0..0x7FFF, then packs every
// item the panel keeps at its address (see PanelMemory.h). passwordDigits are
// the six digits of the panel password, 0..9 each, as the connection window
// holds them. Every cell holds its low 8 bits afterwards (0..255), which is
// what the panel receives.
void BuildPanelImage(const PanelConfig& config, const VantelDevices& devices,
                     const std::array<int, 6>& passwordDigits, PanelImage& image);

// Reads an image (cells 0x0000..0x5FFF, as uploaded from the panel) back into
// the configuration. Members the image does not carry keep their values; the
// password cells and the connection settings are never taken; the item and
// device names are taken only when uploadNames is true (the panel name always).
void ApplyPanelImage(const PanelImage& image, PanelConfig& config, VantelDevices& devices,
                     bool uploadNames);

// DMX levels: percent to the panel's 0..255 and back. Levels of 100 percent
// and above give 255, levels below 0 give 0.
int DmxLevelToByte(int percent);
int DmxByteToLevel(int byte);

// The transferred cells 0x0000..0x5FFF as 24576 bytes, each the low 8 bits of its cell.
std::string PanelImageBytes(const PanelImage& image);

// Loads 24576 bytes into cells 0x0000..0x5FFF and clears the rest. Any other
// size is refused: false, image untouched, and *error says why.
bool PanelImageFromBytes(const std::string& bytes, PanelImage& image, std::string* error);

}  // namespace t2
