#include "StatusDecode.h"

namespace t2::status {

Look RelayLook(char c)
{
    return c == '0' ? Look{"Off", Grey} : Look{"On", White};
}

RowLook GroupLook(char c)
{
    if (c == '2') return {{"---", Grey}, false};
    return {RelayLook(c), true};
}

RowLook PresetLook(char c)
{
    if (c == '2') return {{"---", Grey}, false};
    return {c == '0' ? Look{"Off", Grey} : Look{"Set", White}, true};
}

InputLights InputLook(char c)
{
    const int value = (c >= '0' && c <= '9') ? c - '0' : 0;
    switch (value) {
    case 0: return {true, false, false};
    case 1: return {true, false, true};
    case 2: return {true, true, false};
    case 3: return {true, true, true};
    default: return {};
    }
}

DeviceReading DeviceFromStatus(const NetworkStatus& status, int device)
{
    DeviceReading r;
    if (device < 0 || device >= NetworkDeviceSlots) return r;
    const int bits = status.inputs[device];
    for (int i = 0; i < 8; ++i) r.inputOn[i] = (bits >> i) & 1;
    r.responding = status.responding[device] != 0;
    r.lightLevel = status.level[device];
    return r;
}

std::string DeviceTypeText(int type)
{
    if (type >= 1 && type <= 6) return std::to_string(type) + " Push Button";
    switch (type) {
    case 7: return "KIM-4";
    case 8: return "R6";
    case 9: return "PhotoCell";
    default: return {};
    }
}

int PushButtonFrameHeight(int buttons) { return 480 * buttons + 855; }

std::string LightLevelText(int level)
{
    // The whole percent below level / 2.55, worked in integers.
    const int percent = level * 100 / 255;
    return std::to_string(level) + "/255 (" + std::to_string(percent) + "%)";
}

std::string PresenceText(bool responding) { return responding ? "Connected" : "No Response"; }

int KeyCode(int key)
{
    if (key >= 0 && key < 6) return 1 << key;
    return key == 6 ? 48 : 0;
}

bool LampLit(int lamps, int key) { return key >= 0 && key < 6 && ((lamps >> key) & 1); }

std::string ErrorCountText(int count) { return count > 99 ? ">99" : std::to_string(count); }

void NetworkTest::Start(const NetworkStatus& status)
{
    for (int d = 1; d <= Devices; ++d) monitored_[d] = status.responding[d] != 0;
}

std::array<NetworkTest::DeviceResult, NetworkTest::Devices + 1> NetworkTest::Step(const NetworkStatus& status)
{
    std::array<DeviceResult, Devices + 1> out{};
    for (int d = 1; d <= Devices; ++d) {
        DeviceResult& r = out[d];
        r.monitored = monitored_[d];
        if (!r.monitored) continue;
        r.responding = status.responding[d] != 0;
        if (r.responding) {
            r.errorBackground = errors_[d] > 0 ? Yellow : Green;
            if (status.inputs[d] != lastInputs_[d]) {
                lastInputs_[d] = status.inputs[d];
                r.inputsChanged = true;
            }
        } else {
            ++errors_[d];
            r.errorBackground = Red;
        }
        r.errorText = ErrorCountText(errors_[d]);
    }
    return out;
}

void NetworkTest::ClearTotals()
{
    cycles_ = 0;
    for (int d = 1; d <= Devices; ++d)
        if (monitored_[d]) errors_[d] = 0;
}

void NetworkTest::ToggleMonitored(int device)
{
    if (device >= 1 && device <= Devices) monitored_[device] = !monitored_[device];
}

}  // namespace t2::status
