// Sunrise and sunset at the panel's site, for the installer to see whether
// the astronomical clock settings are plausible, and the clock times the
// astronomical timers act at. Display only: nothing here changes the
// configuration.
//
// The sun's position follows the NOAA solar calculator (Meeus' low-precision
// formulas: the sun's apparent longitude, the equation of time and the
// declination); sunrise and sunset are the moments the sun's upper limb meets
// the horizon with standard refraction, a zenith of 90.833 degrees. Within the
// latitudes the panel offers the result is within a minute of the almanacs.
#pragma once

#include "PanelConfig.h"

#include <optional>
#include <string>

namespace t2 {

struct CivilDate {
    int year = 2000;
    int month = 1;   // 1..12
    int day = 1;     // 1..31
    bool operator==(const CivilDate&) const = default;
};

bool IsValidDate(const CivilDate& date);
// The date of this computer's clock.
CivilDate Today();
int DaysInMonth(int year, int month);
// 0 Sunday .. 6 Saturday.
int DayOfWeek(const CivilDate& date);
// "YYYY-MM-DD" exactly (a valid date of the years 1583..9999), else nothing.
std::optional<CivilDate> ParseIsoDate(const std::string& text);
std::string IsoDate(const CivilDate& date);
// The date days later (earlier for a negative count), and the number of days
// from one date to another.
CivilDate AddDays(const CivilDate& date, int days);
long long DaysBetween(const CivilDate& from, const CivilDate& to);

// ---- The sun ----
enum class SunKind {
    RisesAndSets,
    NeverRises,   // the sun stays below the horizon all day
    NeverSets,    // the sun stays above the horizon all day
};

struct SunDay {
    SunKind kind = SunKind::RisesAndSets;
    // Minutes after midnight of the date in the given zone, unrounded; they
    // may fall outside 0..1440 where the zone lies far from the site.
    double sunrise = 0;
    double sunset = 0;
};

// latitude: degrees north (negative south); longitudeWest: degrees west
// (negative east); utcOffsetHours: the zone's offset from UTC (-5 for
// Eastern standard time).
SunDay ComputeSunDay(const CivilDate& date, double latitude, double longitudeWest, double utcOffsetHours);

// ---- The site and the panel's clock ----
// The UTC offset of a TimeZone code in standard time: 0 Eastern -5,
// 1 Central -6, 2 Mountain -7, 3 Pacific -8, 4 Alaska -9; none outside.
std::optional<int> TimeZoneUtcOffset(int timeZone);

// The Sunday of a month a daylight saving rule names: week 1..4 the 1st to
// 4th Sunday, 5 the last one; none for a week or month outside the rule.
std::optional<CivilDate> RuleSunday(int year, int month, int week);

enum class DstState {
    Disabled,      // automatic daylight saving time is off
    Incomplete,    // on, but a week or month of the rule has no meaning
    InEffect,
    NotInEffect,
};

// Whether the panel's clock is moved forward at a moment of the date, given
// in minutes after midnight standard time (outside 0..1439 on the day before
// or after): the clock goes forward at 2:00 AM on the start Sunday and back
// at 2:00 AM daylight time (1:00 AM standard) on the end Sunday. A rule whose end comes before its start in the year
// spans the new year; one that starts and ends on the same day never applies.
DstState DaylightSavingAt(const PanelConfig& c, const CivilDate& date, int minutesStandard);

// A clock time in minutes after midnight of a date, which may lie on the day
// before (negative) or after (1440 or more).
struct DayClock {
    int minuteOfDay = 0;   // 0..1439
    int dayShift = 0;      // -1 the day before, +1 the day after, ...
};
DayClock ReadDayClock(int minutes);
// "HH:MM" (24-hour), with " (next day)" or " (day before)" when it is not
// on the date itself.
std::string Clock24Text(int minutes);
// "h:nnA/P" as the windows show times, with the same day note.
std::string Clock12Text(int minutes);

// Everything shown about the sun at the configuration's site on a date.
struct SiteSun {
    bool usable = false;       // false: problem says why nothing was computed
    std::string problem;
    SunKind kind = SunKind::RisesAndSets;
    int sunriseStandard = 0;   // minutes after midnight, rounded
    int sunsetStandard = 0;
    int sunriseClock = 0;      // with the daylight saving rule applied
    int sunsetClock = 0;
    DstState dst = DstState::Disabled;   // at noon of the date
};
SiteSun SunAtSite(const PanelConfig& c, const CivilDate& date);

// The panel clock time a timer with an astronomical time acts at: the
// sunrise or sunset clock time before or after by its offset. Nothing for a
// timer of another type, when the sun does not rise or set, or when the site
// gives no sun.
std::optional<int> AstroTimerClock(const PanelConfig& c, int timer, const SiteSun& sun);

// "latitude 39 N, longitude 77 W, time zone Eastern (UTC-5)"; a time zone
// outside the list reads "time zone 7 (none of the list)".
std::string SiteLocationText(const PanelConfig& c);

// "Daylight saving time in effect" and the like.
std::string DstStateText(DstState state);

// Why a day has no sunrise and sunset: "the sun stays below the horizon all
// day" or "... above ..."; "" for a day that has both.
std::string NoSunText(SunKind kind);

}  // namespace t2
