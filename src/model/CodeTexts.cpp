#include "CodeTexts.h"

#include <cstdio>

namespace t2 {

const char* TableText(TextTable table, int code)
{
    if (code < 0 || static_cast<std::size_t>(code) >= table.size()) return nullptr;
    return table[static_cast<std::size_t>(code)];
}

std::string OutOfTableText(int code) { return "?" + std::to_string(code); }

std::string CodeText(TextTable table, int code)
{
    const char* text = TableText(table, code);
    return text ? std::string(text) : OutOfTableText(code);
}

TextTable InputRelayActions(int inputType)
{
    switch (inputType) {
    case InputMomentaryOnOff:
    case InputMaintOnOff: return ActionsOnOffBlink;
    case InputMomentaryPB:
    case InputMaintMultiWay: return ActionsOnOff;
    case InputSetPreset: return ActionsNone;
    case InputTimedOn: return ActionsTimedOn;
    case InputHidBiLevel: return ActionsHidBiLevel;
    case InputTwoStep:
    case InputFourStep: return ActionsStep;
    case InputInputDisable:
    case InputTimerDisable: return ActionsDisable;
    case InputOutputOverride: return ActionsOverride;
    case InputForceTimer: return ActionsForce;
    default: return {};
    }
}

TextTable InputGroupActions(int inputType)
{
    switch (inputType) {
    case InputSetPreset:
    case InputInputDisable:
    case InputTimerDisable:
    case InputForceTimer: return ActionsNone;
    default: return InputRelayActions(inputType);
    }
}

int DeviceInputCount(int deviceType)
{
    if (deviceType < 0 || deviceType >= static_cast<int>(DeviceTypeInputCounts.size())) return 0;
    return DeviceTypeInputCounts[static_cast<std::size_t>(deviceType)];
}

std::string Digits(long long n, int width)
{
    char buf[32];
    if (n < 0) {
        std::snprintf(buf, sizeof buf, "-%0*lld", width, -n);
    } else {
        std::snprintf(buf, sizeof buf, "%0*lld", width, n);
    }
    return buf;
}

std::string ClockText(int minutesOfDay)
{
    if (minutesOfDay < 0 || minutesOfDay >= 24 * 60) return OutOfTableText(minutesOfDay);
    const int hour24 = minutesOfDay / 60;
    const int minute = minutesOfDay % 60;
    const int hour12 = hour24 % 12 == 0 ? 12 : hour24 % 12;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d:%02d%c", hour12, minute, hour24 < 12 ? 'A' : 'P');
    return buf;
}

std::string DayClockText(long long minutes)
{
    constexpr long long day = 24 * 60;
    const long long size = minutes < 0 ? -minutes : minutes;
    return ClockText(static_cast<int>(size % day));
}

std::string QuarterHourText(int quarterHours) { return DayClockText(quarterHours * 15LL); }

std::string NodeCaption(int node)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "Node %X", node + 1);
    return buf;
}

}  // namespace t2
