// The schedule as files: plain text as the Timer Schedule window lists it, CSV
// (RFC 4180) for spreadsheets and iCalendar (RFC 5545) for calendar programs.
// All three are written from the one list of events Schedule::Events gives
// (the runs of timers that do nothing only with `all`), in UTF-8.
#pragma once

#include "TimerSchedule.h"

#include <string>

namespace t2 {

enum class ScheduleFormat { Text, Csv, Ics };

// "text", "csv", "ics"; none for another word.
std::optional<ScheduleFormat> ParseScheduleFormat(const std::string& word);
// The format a file name asks for by its extension (.csv, .ics, any other: text).
ScheduleFormat ScheduleFormatOfFile(const std::string& path);

// A moment in UTC, for the calendar's DTSTAMP.
struct UtcStamp {
    CivilDate date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
UtcStamp UtcNow();

// The days with their sun and hours, each followed by its runs; then the
// Checks. Lines end with LF.
std::string ScheduleText(const Schedule& schedule, const PanelConfig& c, bool all = false);

// One event as the files write it, in UTF-8: the date and 24-hour clock time
// the run happens at (YYYY-MM-DD, HH:MM), the timer number (two digits), its
// name, what it does and the notes (where a run crosses midnight, the date
// whose run it is).
struct EventFields {
    std::string date, time, timer, name, actions, notes;
};
EventFields DescribeEvent(const Schedule& schedule, const TimerRun& run);

// A header "date,time,timer,name,actions,notes", then one record per event:
// the date and 24-hour clock time the run happens at (YYYY-MM-DD, HH:MM),
// the timer number (two digits), its name, what it does and the notes.
// Fields with a comma, a quote or a line break are quoted; records end with CR LF.
std::string ScheduleCsv(const Schedule& schedule, bool all = false);

// A VCALENDAR with a VTIMEZONE made from the configuration's time zone and
// daylight saving rule, and one VEVENT per event at the panel's clock time
// (DTSTART;TZID=...), without a duration. Lines end with CR LF and are folded
// at 75 octets. Without a time zone of the list the times are local ("floating").
std::string ScheduleIcs(const Schedule& schedule, const PanelConfig& c, const UtcStamp& stamp, bool all = false);

// The calendar's TZID for the configuration ("Tamberline-II-Central"); "" for
// a time zone outside the list.
std::string IcsTimeZoneId(const PanelConfig& c);

// A file of the format, built from a schedule.
std::string ScheduleFile(ScheduleFormat format, const Schedule& schedule, const PanelConfig& c, bool all = false);

}  // namespace t2
