// What the Vantel device editors work out from the device records: the pilot
// byte of a device input, the automatic mapping of pilots from the input
// control settings, the folding of push-button and R6 input types and the
// captions of the photocell levels.
#pragma once

#include "PanelConfig.h"

#include <string>

namespace t2 {

// ---- The pilot byte: source x 64 + number - 1 ----
// Sources 0..3 index VantelPilotSourceTexts ("Static", "On If Relay", "On If
// Group", "On If Preset"); for "Static" bit 0 is the lamp (1 on, 0 off).
enum VantelPilotSource : int { PilotStatic = 0, PilotRelay = 1, PilotGroup = 2, PilotPreset = 3 };

// Bits 7..6 of the pilot (a negative value, from a damaged file, has none of
// the four sources and gives -1).
int PilotSource(int pilot);
// The relay, group or preset number 1..64 of bits 5..0.
int PilotNumber(int pilot);
// The pilot with another source, its bits 5..0 kept.
Integer WithPilotSource(int pilot, int source);
// The pilot with another number (1..64), its source bits kept.
Integer WithPilotNumber(int pilot, int number);
// A click on the lamp of a "Static" pilot: 0 becomes 1 (on), anything else 0.
Integer ToggledStaticPilot(int pilot);

// Auto mapping one input of a device: its pilot shows what the input controls.
// The pilot becomes "On If Preset" for a "Set Preset" input (its preset),
// else "On If Relay" for the lowest relay row with any code, else "On If
// Group" for the lowest group with any code, else static off; the input's
// off level is cleared as well.
void AutoMapAnInput(VantelDevice& device, int input);
// Auto maps inputs 0..6 of a device, whatever its input count.
void AutoMapDevice(VantelDevice& device);
// Auto maps every device 1..32 that has pilot lamps (push buttons, KIM-4 and
// R6); photocells and empty slots keep their settings. Returns how many
// devices were mapped.
int AutoMapAllDevices(VantelDevices& devices);

// ---- Device inputs ----
// The input type a push button (1..6) or an R6 (8) stores after it is shown:
// the remainder of the type divided by 5, with the sign of the type (a type
// left from a KIM-4 definition, 9, becomes 4; -7 from a damaged file -2,
// which is no type). Other device types keep their input types as stored.
Integer FoldedInputType(int deviceType, int inputType);

// The caption of a photocell channel level: which (" Off " or " On ") + the
// level in three digits + "/255 (" + the whole percent of 255 + "%)", so 128
// gives " Off 128/255 (50%)".
std::string PhotocellLevelCaption(const std::string& which, int level);

}  // namespace t2
