#include "InputControl.h"

namespace t2 {

namespace {

// The local input type each device input type stands for.
constexpr std::array<int, 5> ButtonAsLocal{InputMomentaryPB, InputSetPreset, InputTimedOn, InputTwoStep,
                                           InputFourStep};
constexpr std::array<int, 10> Kim4AsLocal{InputMomentaryOnOff, InputMomentaryPB, InputMaintOnOff, InputSetPreset,
                                          InputTimedOn,        InputHidBiLevel,  InputTwoStep,    InputFourStep,
                                          InputTimerDisable,   InputOutputOverride};
constexpr std::array<int, 5> R6AsLocal{InputMaintOnOff, InputSetPreset, InputTimedOn, InputTwoStep, InputFourStep};

// The rules of a local input type, with the caption the windows show.
InputControl Rules(int localType, const char* caption)
{
    InputControl c;
    c.known = true;
    c.localType = localType;
    c.caption = std::string(" ") + caption;
    c.relayActions = InputRelayActions(localType);
    c.groupActions = InputGroupActions(localType);
    switch (localType) {
    case InputSetPreset: c.relayRows = ControlRows::None; break;
    case InputInputDisable: c.relayRows = ControlRows::Inputs; break;
    case InputTimerDisable:
    case InputForceTimer: c.relayRows = ControlRows::Timers; break;
    default: c.relayRows = ControlRows::Relays; break;
    }
    c.presetPicker = localType == InputSetPreset;
    c.groupRows = c.groupActions.size() > 1;   // types with no group action ("." only) show no groups
    return c;
}

}  // namespace

InputControl LocalInputControl(int inputType)
{
    const char* caption = TableText(InputTypeTexts, inputType);
    if (!caption) return {};
    return Rules(inputType, caption);
}

InputControl VantelInputControl(int deviceType, int deviceInputType)
{
    // Push buttons and R6 use the type's remainder by 5, which keeps its sign:
    // a negative type is none of the table.
    const int folded = deviceInputType % 5;
    if (deviceType >= 1 && deviceType <= 6) {
        if (folded < 0) return {};
        return Rules(ButtonAsLocal[folded], ButtonInputTypeTexts[folded]);
    }
    if (deviceType == DeviceR6) {
        if (folded < 0) return {};
        return Rules(R6AsLocal[folded], R6InputTypeTexts[folded]);
    }
    if (deviceType == DeviceKim4) {
        if (deviceInputType < 0 || deviceInputType > 9) return {};
        return Rules(Kim4AsLocal[deviceInputType], ReportKim4InputTypeTexts[deviceInputType]);
    }
    if (deviceType == DevicePhotocell) return Rules(InputMaintOnOff, R6InputTypeTexts[0]);
    return {};
}

bool IsVantelSetPreset(int deviceType, int deviceInputType)
{
    if ((deviceType >= 1 && deviceType <= 6) || deviceType == DeviceR6) return deviceInputType == ButtonSetPresetType;
    if (deviceType == DeviceKim4) return deviceInputType == Kim4SetPresetType;
    return false;
}

bool ClampControlCode(Integer& code, int highest)
{
    if (code <= highest) return false;
    code = static_cast<Integer>(highest);
    return true;
}

}  // namespace t2
