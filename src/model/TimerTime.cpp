#include "TimerTime.h"

#include "CodeTexts.h"

namespace t2 {

namespace {

constexpr int OpenCloseBit = 128;
constexpr int TypeBits = 96;      // bits 5-6
constexpr int MarkBits = 24;      // bits 3-4
constexpr int HighOffsetBits = 3; // bits 0-1

int LowByte(int code) { return code & 0xFF; }

}  // namespace

TimerTimeType TimeTypeOf(int code)
{
    if (code < 24) return TimerTimeType::Clock;
    return (LowByte(code) & OpenCloseBit) ? TimerTimeType::OpenClose : TimerTimeType::Astro;
}

int ClockHourIndex(int code) { return code >= 0 && code < 24 ? code % 12 : -1; }
int AmPmIndex(int code) { return code >= 0 && code < 24 ? code / 12 : -1; }

Integer ClockCode(int hourIndex, int amPmIndex)
{
    const int half = amPmIndex == 1 ? 1 : 0;
    return static_cast<Integer>(half * 12 + hourIndex);
}

int OffsetTypeOf(int code)
{
    if (TimeTypeOf(code) == TimerTimeType::Clock) return -1;
    return (LowByte(code) & TypeBits) / 32;
}

int OffsetOf(int code, int minute)
{
    if (TimeTypeOf(code) == TimerTimeType::Clock || minute < 0 || minute > 255) return -1;
    return (LowByte(code) & HighOffsetBits) * 256 + minute;
}

TimerTime OffsetTime(bool openClose, int type, int offset)
{
    return {static_cast<Integer>(MarkBits + (openClose ? OpenCloseBit : 0) + 32 * type + offset / 256),
            static_cast<Integer>(offset % 256)};
}

Integer WithOffsetType(int code, int type)
{
    return static_cast<Integer>(((LowByte(code) & ~TypeBits) | MarkBits) + 32 * type);
}

TimerTime WithOffset(int code, int offset)
{
    return {static_cast<Integer>(((LowByte(code) & ~HighOffsetBits) | MarkBits) + offset / 256),
            static_cast<Integer>(offset % 256)};
}

TimerTime ForTimeType(TimerTime time, TimerTimeType type)
{
    if (TimeTypeOf(time.code) == type) return time;
    switch (type) {
    case TimerTimeType::Clock: return {0, 0};
    case TimerTimeType::Astro: return OffsetTime(false, 0, 0);
    case TimerTimeType::OpenClose: return OffsetTime(true, 0, 0);
    }
    return time;
}

std::string TimerTimeWords(TimerTime time)
{
    const TimerTimeType type = TimeTypeOf(time.code);
    if (type == TimerTimeType::Clock) {
        if (time.code < 0 || time.minute < 0 || time.minute > 59) return {};
        const int hour = ClockHourIndex(time.code);
        return std::to_string(hour == 0 ? 12 : hour) + ":" + Digits(time.minute, 2) +
               (AmPmIndex(time.code) == 0 ? " AM" : " PM");
    }
    const int offset = OffsetOf(time.code, time.minute);
    if (offset < 0) return {};
    const int offsetType = OffsetTypeOf(time.code);
    const char* what = type == TimerTimeType::Astro ? AstroOffsetTexts[offsetType] : OpenCloseOffsetTexts[offsetType];
    return std::to_string(offset) + " Min " + what;
}

std::string TimerOffsetProblem(TimerTime time)
{
    if (TimeTypeOf(time.code) == TimerTimeType::Clock || OffsetOf(time.code, time.minute) >= 0) return {};
    return "offset " + std::to_string(time.minute) + " out of range";
}

}  // namespace t2
