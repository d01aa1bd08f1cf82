// How a timer's time of day is kept in TimerTimeCode and TimerMinute.
//
//  - TimerTimeCode 0..23: a clock time, the hour of the day (0 is the midnight
//    hour, 12 the noon hour), and TimerMinute the minute 0..59.
//  - TimerTimeCode 24 or more: an offset time; only its low byte counts.
//    Bit 7 tells an open/close offset (1) from an astronomical one (0), bits
//    5-6 carry the offset type 0..3, bits 3-4 are always set (so that every
//    offset time is 24 or more) and bits 0-1 are bits 8-9 of the offset in
//    minutes, whose bits 0-7 are TimerMinute: offset 0..999 minutes.
//
// "Before Sunrise" 0 minutes is (24, 0), "Before Open" 0 minutes is (152, 0),
// "Before Sunset" 600 minutes is (90, 88), "After Close" 999 is (251, 231).
#pragma once

#include "PanelConfig.h"

#include <string>

namespace t2 {

// The time types, in the order of the timer window's options.
enum class TimerTimeType : int { Clock = 0, Astro = 1, OpenClose = 2 };

// Offset types 0..3 (AstroOffsetTexts, OpenCloseOffsetTexts).
enum TimerOffsetType : int { BeforeRise = 0, AfterRise = 1, BeforeSet = 2, AfterSet = 3 };

constexpr int MaxTimerOffset = 999;

struct TimerTime {
    Integer code = 0;     // TimerTimeCode
    Integer minute = 0;   // TimerMinute
    bool operator==(const TimerTime&) const = default;
};

TimerTimeType TimeTypeOf(int code);

// Clock times: the hour of the half day 0..11 ("12:", "1:" .. "11:") and
// AM (0) or PM (1); -1 for a code that is no clock hour 0..23.
int ClockHourIndex(int code);
int AmPmIndex(int code);
// The code of a clock hour; an AM/PM index outside 0..1 counts as AM.
Integer ClockCode(int hourIndex, int amPmIndex);

// Offset times: the type 0..3 and the offset in minutes; -1 for a clock time
// (and, for the offset, a TimerMinute outside 0..255, which no offset has).
int OffsetTypeOf(int code);
int OffsetOf(int code, int minute);

// The coding of an offset time from scratch.
TimerTime OffsetTime(bool openClose, int type, int offset);
// The same offset time with another type, or another offset (0..999): the
// rest of the code is kept, and bits 3-4 are set so the time stays an offset
// time whatever the code held before.
Integer WithOffsetType(int code, int type);
TimerTime WithOffset(int code, int offset);

// The time after the user picks a time type: unchanged when it has that type
// already, else the first setting of the new type: 12:00 AM (0, 0), "Before
// Sunrise" 0 minutes (24, 0) or "Before Open" 0 minutes (152, 0).
TimerTime ForTimeType(TimerTime time, TimerTimeType type);

// "7:05 AM", "600 Min Before Sunset", "999 Min After Close"; "" when the
// code has no meaning (a negative code, a clock minute outside 0..59).
std::string TimerTimeWords(TimerTime time);

// Why an offset time has no offset: "offset 300 out of range" for a
// TimerMinute outside 0..255 (only from a file); "" for any other time.
std::string TimerOffsetProblem(TimerTime time);

}  // namespace t2
