// What the timers do, date by date: for a range of dates, which timers run on
// each date, the clock time each one acts at and what it switches, with the
// day's sunrise, sunset and open hours beside them. Display only: nothing
// here changes the configuration.
//
// What is modelled, from the configuration alone:
//  - a timer runs on the weekdays checked for it, or on its one date (month
//    and day, every year; a date such as 31 February never comes);
//  - its clock time is the stored clock time, or the day's sunrise or sunset
//    (as the panel clock shows them, daylight saving rule applied) before or
//    after by the offset, or the day's open or close time before or after by
//    the offset; an offset may carry the time into the day before or after;
//  - the day's open and close times are the date's own single-date times
//    when it has them, else those of its weekday.
// What the panel decides and is not modelled: which dates are holidays and
// what "Ignore Holidays" does on them (it is shown as a flag), whether a
// clock time the daylight saving change skips or repeats runs, and the
// panel's own rounding of sunrise and sunset.
//
//     const t2::Schedule s = t2::ComputeSchedule(config, t2::Today(), 7);
//     for (int k : s.days[0].runs) { const t2::TimerRun& run = s.runs[k]; ... }
#pragma once

#include "PanelConfig.h"
#include "SunTimes.h"
#include "TimerTime.h"

#include <optional>
#include <string>
#include <vector>

namespace t2 {

// ---- What a timer does ----
enum class TimerTarget { Relay, Group, Preset };

struct TimerAction {
    TimerTarget target = TimerTarget::Relay;
    int index = 0;          // 0..47
    std::string item;       // as the report's lists name it: "R05", "G12", "P02"
    Bytes name;             // the target's name as stored
    const char* words = ""; // "Turn On", "Turn Off", "Activate"
};

// "Turn On R05 LOBBY" (the name as its bytes).
Bytes ActionText(const TimerAction& action);
// The actions joined with ", ".
Bytes ActionsText(const std::vector<TimerAction>& actions);

// What a timer does: a relay or group action "Turn On" (1) or "Turn Off" (2)
// on relays below the I/O count and on groups, then every preset it
// activates (any value but 0), in that order. Empty for a timer outside 0..47.
std::vector<TimerAction> TimerActions(const PanelConfig& c, int timer);

// ---- When a timer runs ----
// "T05".
std::string TimerItem(int timer);

// The timer runs on its one date (TimerHolidayMonth is not 0).
bool IsDateTimer(const PanelConfig& c, int timer);
// A weekday timer with "Ignore Holidays" checked.
bool IgnoresHolidays(const PanelConfig& c, int timer);
// Whether the date is one of the timer's days (its weekday checked, or its one
// date); the time is not looked at.
bool TimerRunsOn(const PanelConfig& c, int timer, const CivilDate& date);

// ---- The day ----
struct OpenHours {
    bool ownTimes = false;        // the date's own single-date times
    int openValue = 0;            // as stored, in quarter hours
    int closeValue = 0;
    std::optional<int> open;      // minutes after midnight; none when the value is no time (0..95)
    std::optional<int> close;
};
// The open and close times of a date: its own single-date times while at
// least one of them is set (100 or more is unset), else its weekday's.
OpenHours OpenHoursOn(const PanelConfig& c, const CivilDate& date);

// The daylight saving change a date has: the clock goes forward at 2:00A
// (2:00A to 2:59A do not come) or back at 2:00A (1:00A to 1:59A come twice).
enum class DstChange { None, Forward, Back };
DstChange DstChangeOn(const PanelConfig& c, const CivilDate& date);

struct ScheduleDay {
    CivilDate date;
    int dayOfWeek = 0;            // 0 Sunday .. 6 Saturday
    SiteSun sun;
    OpenHours hours;
    DstChange dstChange = DstChange::None;
    std::vector<int> runs;        // indexes into Schedule::runs of the runs of this date, in time order
};

// The days of a range, without the timers (the year view's sun).
std::vector<ScheduleDay> ScheduleDays(const PanelConfig& c, const CivilDate& from, int count);

// ---- A timer's run ----
enum class ClockNote {
    None,
    Skipped,    // on a date the clock goes forward: this clock time does not come
    Repeated,   // on a date the clock goes back: this clock time comes twice
};

struct TimerRun {
    CivilDate date;               // the date the timer runs for (its weekday or its one date)
    int timer = 0;                // 0..47, also the index into Schedule::timers
    bool placed = true;           // false: no time on this date, see problem
    int minutes = 0;              // clock time, minutes after midnight of date; below 0 the
                                  // day before, 1440 and more the day after
    ClockNote clock = ClockNote::None;
    std::string problem;          // why the run has no time ("no sunset on this date")

    // The date and clock time the run happens at.
    CivilDate ClockDate() const;
    int ClockMinute() const;      // 0..1439
};

// What every run of one timer shares.
struct ScheduledTimer {
    int timer = 0;
    Bytes name;
    TimerTime time;
    std::string timeWords;        // "7:05 AM", "30 Min After Sunset"; "" when the code has no meaning
    bool dateTimer = false;       // runs on its one date
    bool ignoreHolidays = false;  // a weekday timer with "Ignore Holidays" checked
    std::vector<TimerAction> actions;
};

// ---- The Checks ----
struct ScheduleCheck {
    enum Kind { NeverRuns, DoesNothing };
    int timer = 0;
    Kind kind = NeverRuns;
    std::string problem;          // "no weekday is checked", "February 31 does not exist"
    const char* window = "";      // the window to fix it in: "frmT2TimersConfigure"
    const char* windowCaption = "";   // "Configure Timers"
};
// "Never runs", "Does nothing".
const char* CheckKindText(ScheduleCheck::Kind kind);

// The timers that never run (no weekday checked, a date that does not exist,
// a time that has no meaning, a sun time where the site gives no sun), then
// those that run but do nothing, each by timer number.
std::vector<ScheduleCheck> ScheduleChecks(const PanelConfig& c);

// ---- The schedule ----
struct Schedule {
    CivilDate from;
    std::vector<ScheduledTimer> timers;   // all 48, by number
    std::vector<ScheduleDay> days;        // one per date of the range, in order
    std::vector<TimerRun> runs;           // every run of the range, in the order they happen (runs
                                          // without a time last), timers in number order at one time
    std::vector<ScheduleCheck> checks;

    const ScheduledTimer& TimerOf(const TimerRun& run) const { return timers[static_cast<std::size_t>(run.timer)]; }
    // The runs that do something (or every run with all), in order.
    std::vector<const TimerRun*> Events(bool all = false) const;
};

// Longest range computed at once (about ten years).
constexpr int MaxScheduleDays = 3660;

// The schedule of `count` dates from `from` (count is kept within
// 1..MaxScheduleDays; dates past 9999 are left out).
Schedule ComputeSchedule(const PanelConfig& c, const CivilDate& from, int count);

// ---- Words ----
// A run as the day's list shows it.
struct RunFields {
    std::string time;   // "6:45P", "9:25P (day before)"; "--:--" without a time
    std::string timer;  // "T07"
    Bytes name;
    Bytes actions;      // ActionsText, or "no action"
    std::string notes;  // what the time comes from, flags and day notes, joined with "; "
};
RunFields DescribeRun(const Schedule& schedule, const TimerRun& run);

// "Tuesday, March 10, 2026".
std::string LongDateText(const CivilDate& date);
// "Sunrise 7:10A, sunset 7:08P", or why there is none.
std::string SunText(const SiteSun& sun);
// "Open 8:00A, close 9:00P" and " (own times)" for a single date's own.
std::string HoursText(const OpenHours& hours);
// "Daylight saving time starts: the clock goes from 2:00A to 3:00A", or "".
std::string DstChangeText(DstChange change);
// "latitude 45 N, longitude 90 W, time zone Central (UTC-6); daylight saving
// time from the 2nd Sunday of March to the 1st Sunday of November".
std::string SiteText(const PanelConfig& c);

}  // namespace t2
