#include "VantelDeviceRules.h"

#include "CodeTexts.h"
#include "InputControl.h"

namespace t2 {

namespace {

constexpr int PilotNumberBits = 63;    // bits 5..0
constexpr int AutoMappedInputs = 7;    // inputs 0..6

bool HasPilotLamps(int deviceType) { return deviceType >= 1 && deviceType <= DeviceR6; }

long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

}  // namespace

int PilotSource(int pilot) { return pilot < 0 ? -1 : pilot / 64; }

int PilotNumber(int pilot) { return (pilot & PilotNumberBits) + 1; }

Integer WithPilotSource(int pilot, int source)
{
    return static_cast<Integer>(source * 64 + (pilot & PilotNumberBits));
}

Integer WithPilotNumber(int pilot, int number)
{
    return static_cast<Integer>((pilot & ~PilotNumberBits) | ((number - 1) & PilotNumberBits));
}

Integer ToggledStaticPilot(int pilot) { return pilot == 0 ? Integer(1) : Integer(0); }

void AutoMapAnInput(VantelDevice& device, int input)
{
    if (input < 0 || input >= DeviceInputSlots) return;
    const auto i = static_cast<std::size_t>(input);
    Integer& pilot = device.DeviceInputPilot[i];
    pilot = 0;
    device.DeviceInputOffLevel[i] = 0;
    if (IsVantelSetPreset(device.DeviceType, device.DeviceInputType[i])) {
        pilot = static_cast<Integer>(PilotPreset * 64 + device.DeviceInputPreset[i]);
        return;
    }
    // The lowest relay row with any code wins over every group, "Off Only" too.
    for (int r = 0; r < ItemCount; ++r) {
        if (device.DeviceInputRelayControl(i, static_cast<std::size_t>(r)) != 0) {
            pilot = static_cast<Integer>(PilotRelay * 64 + r);
            return;
        }
    }
    for (int g = 0; g < ItemCount; ++g) {
        if (device.DeviceInputGroupControl(i, static_cast<std::size_t>(g)) != 0) {
            pilot = static_cast<Integer>(PilotGroup * 64 + g);
            return;
        }
    }
}

void AutoMapDevice(VantelDevice& device)
{
    for (int i = 0; i < AutoMappedInputs; ++i) AutoMapAnInput(device, i);
}

int AutoMapAllDevices(VantelDevices& devices)
{
    int mapped = 0;
    for (int d = 1; d < DeviceSlots; ++d) {
        VantelDevice& device = devices[static_cast<std::size_t>(d)];
        if (!HasPilotLamps(device.DeviceType)) continue;
        AutoMapDevice(device);
        ++mapped;
    }
    return mapped;
}

Integer FoldedInputType(int deviceType, int inputType)
{
    const bool folds = (deviceType >= 1 && deviceType <= 6) || deviceType == DeviceR6;
    if (!folds) return static_cast<Integer>(inputType);
    // The remainder keeps the sign of the type: a negative type from a
    // damaged file stays negative, selects no entry and has no control rules.
    return static_cast<Integer>(inputType % 5);
}

std::string PhotocellLevelCaption(const std::string& which, int level)
{
    return which + Digits(level, 3) + "/255 (" + std::to_string(FloorDiv(level * 100LL, 255)) + "%)";
}

}  // namespace t2
