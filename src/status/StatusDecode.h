// What the live monitoring windows make of the panel's replies: captions,
// colours and states, as plain functions of the reply text so that they can be
// checked without a window.
#pragma once

#include "Replies.h"

#include <array>
#include <string>
#include <string_view>

namespace t2::status {

struct Rgb {
    int red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

constexpr Rgb White{255, 255, 255};
constexpr Rgb Grey{128, 128, 128};
constexpr Rgb Black{0, 0, 0};
constexpr Rgb LightGreen{128, 255, 128};   // "Updates Enabled"
constexpr Rgb LightRed{255, 128, 128};     // "Updates Disabled"
constexpr Rgb DarkYellow{192, 192, 0};     // a lit key lamp
constexpr Rgb LightGrey{192, 192, 192};    // a dark key lamp
constexpr Rgb Green{0, 255, 0};
constexpr Rgb Yellow{255, 255, 0};
constexpr Rgb Red{255, 0, 0};
constexpr Rgb Blue{0, 0, 255};

struct Look {
    std::string text;
    Rgb background;
    bool operator==(const Look&) const = default;
};

// A relay: "0" is off (grey), any other character on (white).
Look RelayLook(char c);

// A row with switching buttons: groups and presets. "2" is an item the panel
// does not use: "---" on grey and no buttons.
struct RowLook {
    Look status;
    bool buttons = true;
    bool operator==(const RowLook&) const = default;
};
RowLook GroupLook(char c);    // "0" Off, other On
RowLook PresetLook(char c);   // "0" Off, other Set

// A local input's two fields, lit (white) or dark (grey), from the input's
// digit: 0 none, 1 "On", 2 "Off", 3 both. A character that is not a digit
// counts as 0; the digits 4..9 leave the fields as they are (known false).
struct InputLights {
    bool known = false;
    bool offLit = false;
    bool onLit = false;
    bool operator==(const InputLights&) const = default;
};
InputLights InputLook(char c);

// --- Vantel devices ---------------------------------------------------------

// One device of the "49" reply.
struct DeviceReading {
    std::array<bool, 8> inputOn{};
    bool responding = false;
    int lightLevel = 0;
};
DeviceReading DeviceFromStatus(const NetworkStatus& status, int device);

// The type label: 1..6 "<t> Push Button", 7 "KIM-4", 8 "R6", 9 "PhotoCell",
// anything else "".
std::string DeviceTypeText(int type);
// Height in twips of the push-button frame for a station of t buttons.
int PushButtonFrameHeight(int buttons);
// level "/255 (" percent "%)": 128 gives "128/255 (50%)".
std::string LightLevelText(int level);
// "Connected" / "No Response".
std::string PresenceText(bool responding);

// --- Virtual keypad ---------------------------------------------------------

constexpr int KeypadKeys = 7;   // keys 0..5 and "Both"
// The code a key sends: 1, 2, 4, 8, 16, 32; the key "Both" (6) sends 48.
int KeyCode(int key);
// Lamp of key k (0..5) in the lamp byte.
bool LampLit(int lamps, int key);
// Codes 0..7 are the display's custom characters.
inline bool IsCustomCharacter(unsigned char c) { return c < 8; }

// --- Network diagnostic -----------------------------------------------------

// The error count as shown: ">99" above 99, else the number.
std::string ErrorCountText(int count);

// The test of the network diagnostic: which devices are watched, their missed
// readings and input changes. Devices are numbered 1..32.
class NetworkTest {
public:
    static constexpr int Devices = 32;

    // What one reading did to device d.
    struct DeviceResult {
        bool monitored = false;
        bool responding = false;
        bool inputsChanged = false;
        Rgb errorBackground{};
        std::string errorText;
    };

    // Activation: the devices that answer are the ones watched.
    void Start(const NetworkStatus& status);
    // One cycle's reading.
    std::array<DeviceResult, Devices + 1> Step(const NetworkStatus& status);
    // "Clear Totals": the cycle count and every watched device's errors.
    void ClearTotals();
    // The user takes a device out of the test or puts it in.
    void ToggleMonitored(int device);

    bool Monitored(int device) const { return monitored_.at(device); }
    int ErrorCount(int device) const { return errors_.at(device); }
    int LastInputs(int device) const { return lastInputs_.at(device); }
    int CycleCount() const { return cycles_; }
    void CountCycle() { ++cycles_; }

private:
    std::array<bool, Devices + 1> monitored_{};
    std::array<int, Devices + 1> errors_{};
    std::array<int, Devices + 1> lastInputs_{};
    int cycles_ = 0;
};

}  // namespace t2::status
