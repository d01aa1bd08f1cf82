// What a switch input may do, by its type: the actions its control windows
// offer for relays and for groups, what the rows of its relay window stand
// for, and whether it recalls a preset. Local inputs (InputType) and Vantel
// device inputs (DeviceType, DeviceInputType) follow the same rules: a device
// input behaves as the local input type it corresponds to, so the windows,
// the clamp and the report share one table.
#pragma once

#include "CodeTexts.h"
#include "PanelConfig.h"

#include <string>

namespace t2 {

// What the rows of an input-to-relay window stand for.
enum class ControlRows {
    Relays,   // relays 0 .. TotalIOCount-1
    Inputs,   // local inputs 0 .. TotalIOCount-1 ("Input Disable")
    Timers,   // all 48 timers ("Timer Disable", "Force Timer")
    None,     // no rows: a "Set Preset" input shows its preset picker instead
};

struct InputControl {
    bool known = false;           // false: a type the panel does not define (see below)
    int localType = -1;           // the local input type (0..12) the input behaves as
    std::string caption;          // the type caption of the control windows, " Momentary PB"
    TextTable relayActions{};     // value = index
    TextTable groupActions{};
    ControlRows relayRows = ControlRows::None;
    bool groupRows = false;       // the group window shows its 48 groups
    bool presetPicker = false;    // a "Set Preset" input: the relay window shows the preset picker

    int HighestRelayCode() const { return static_cast<int>(relayActions.size()) - 1; }
    int HighestGroupCode() const { return static_cast<int>(groupActions.size()) - 1; }
};

// A local input of this type (0..12). Outside 0..12 the result is not known:
// the windows keep the caption, rows and highest code they showed and offer
// an empty action list.
InputControl LocalInputControl(int inputType);

// An input of a Vantel device. Push buttons (1..6) and the R6 (8) use the
// input type modulo 5, a KIM-4 (7) the type as stored, and a photocell
// channel (9) always behaves as a maintained on/off switch. A device of type
// None, a device type above 9, a KIM-4 type outside 0..9 or a negative push
// button or R6 type (whose remainder keeps its sign) is not known (device
// type None hides every row; see the windows).
InputControl VantelInputControl(int deviceType, int deviceInputType);

// True when the device input's stored type is its "Set Preset" type, compared
// without folding (1 on push buttons and the R6, 3 on a KIM-4).
bool IsVantelSetPreset(int deviceType, int deviceInputType);

// The clamp of the control windows: a stored code above the highest code of
// the input's type is cut back to it. Returns true when it changed the code.
bool ClampControlCode(Integer& code, int highest);

}  // namespace t2
