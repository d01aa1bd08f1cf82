#include "SunTimes.h"

#include "CodeTexts.h"
#include "TimerTime.h"

#include <QDate>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace t2 {

// ---- Dates ----

namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Julian day number of the date's noon (Gregorian calendar).
long long DayNumber(const CivilDate& d)
{
    const long long a = (14 - d.month) / 12;
    const long long y = d.year + 4800LL - a;
    const long long m = d.month + 12 * a - 3;
    return d.day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

}  // namespace

int DaysInMonth(int year, int month)
{
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool IsValidDate(const CivilDate& date)
{
    return date.year >= 1583 && date.year <= 9999 && date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

CivilDate Today()
{
    const QDate today = QDate::currentDate();
    return {today.year(), today.month(), today.day()};
}

int DayOfWeek(const CivilDate& date) { return static_cast<int>((DayNumber(date) + 1) % 7); }

std::optional<CivilDate> ParseIsoDate(const std::string& text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    auto number = [&text](std::size_t from, std::size_t count) {
        int n = 0;
        for (std::size_t k = from; k < from + count; ++k) {
            if (text[k] < '0' || text[k] > '9') return -1;
            n = n * 10 + (text[k] - '0');
        }
        return n;
    };
    const CivilDate date{number(0, 4), number(5, 2), number(8, 2)};
    if (date.year < 0 || date.month < 0 || date.day < 0 || !IsValidDate(date)) return std::nullopt;
    return date;
}

std::string IsoDate(const CivilDate& date)
{
    return Digits(date.year, 4) + "-" + Digits(date.month, 2) + "-" + Digits(date.day, 2);
}

CivilDate AddDays(const CivilDate& date, int days)
{
    const QDate d = QDate::fromJulianDay(DayNumber(date) + days);
    return {d.year(), d.month(), d.day()};
}

long long DaysBetween(const CivilDate& from, const CivilDate& to) { return DayNumber(to) - DayNumber(from); }

// ---- The sun ----

namespace {

constexpr double Pi = std::numbers::pi;
double Rad(double degrees) { return degrees * Pi / 180.0; }
double Deg(double radians) { return radians * 180.0 / Pi; }

// The sun at a moment given in Julian centuries from J2000.0.
struct SunPosition {
    double declination;     // radians
    double equationOfTime;  // minutes
};

SunPosition SunAt(double t)
{
    const double meanLongitude = std::fmod(280.46646 + t * (36000.76983 + t * 0.0003032), 360.0);
    const double meanAnomaly = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    const double eccentricity = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
    const double m = Rad(meanAnomaly);
    const double center = std::sin(m) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                          std::sin(2 * m) * (0.019993 - 0.000101 * t) + std::sin(3 * m) * 0.000289;
    const double omega = Rad(125.04 - 1934.136 * t);
    const double apparentLongitude = meanLongitude + center - 0.00569 - 0.00478 * std::sin(omega);
    const double seconds = 21.448 - t * (46.8150 + t * (0.00059 - t * 0.001813));
    const double meanObliquity = 23.0 + (26.0 + seconds / 60.0) / 60.0;
    const double obliquity = Rad(meanObliquity + 0.00256 * std::cos(omega));

    const double declination = std::asin(std::sin(obliquity) * std::sin(Rad(apparentLongitude)));

    const double y = std::pow(std::tan(obliquity / 2.0), 2);
    const double l0 = Rad(meanLongitude);
    const double e = eccentricity;
    const double eq = y * std::sin(2 * l0) - 2 * e * std::sin(m) + 4 * e * y * std::sin(m) * std::cos(2 * l0) -
                      0.5 * y * y * std::sin(4 * l0) - 1.25 * e * e * std::sin(2 * m);
    return {declination, Deg(eq) * 4.0};
}

// cos of the hour angle at which the sun's upper limb meets the horizon.
double CosRiseHourAngle(double latitude, double declination)
{
    const double phi = Rad(latitude);
    return std::cos(Rad(90.833)) / (std::cos(phi) * std::cos(declination)) - std::tan(phi) * std::tan(declination);
}

}  // namespace

SunDay ComputeSunDay(const CivilDate& date, double latitude, double longitudeWest, double utcOffsetHours)
{
    // Julian date of the local midnight that starts the date.
    const double midnight = static_cast<double>(DayNumber(date)) - 0.5 - utcOffsetHours / 24.0;
    auto centuries = [midnight](double minutes) { return (midnight + minutes / 1440.0 - 2451545.0) / 36525.0; };
    // Solar noon in minutes after local midnight, for the sun of a moment.
    auto noon = [&](const SunPosition& sun) {
        return 720.0 + 4.0 * longitudeWest - sun.equationOfTime + utcOffsetHours * 60.0;
    };

    SunDay day;
    const SunPosition atNoon = SunAt(centuries(noon(SunAt(centuries(720.0)))));
    const double cosNoon = CosRiseHourAngle(latitude, atNoon.declination);
    if (cosNoon > 1.0) {
        day.kind = SunKind::NeverRises;
        return day;
    }
    if (cosNoon < -1.0) {
        day.kind = SunKind::NeverSets;
        return day;
    }
    // Each event once from the sun of noon, then again from the sun of its
    // own first estimate.
    auto event = [&](double sign) {
        double when = noon(atNoon) + sign * 4.0 * Deg(std::acos(cosNoon));
        const SunPosition sun = SunAt(centuries(when));
        const double c = std::clamp(CosRiseHourAngle(latitude, sun.declination), -1.0, 1.0);
        when = noon(sun) + sign * 4.0 * Deg(std::acos(c));
        return when;
    };
    day.sunrise = event(-1.0);
    day.sunset = event(+1.0);
    return day;
}

// ---- The site and the panel's clock ----

std::optional<int> TimeZoneUtcOffset(int timeZone)
{
    if (timeZone < 0 || timeZone >= static_cast<int>(TimeZoneTexts.size())) return std::nullopt;
    return -5 - timeZone;
}

std::optional<CivilDate> RuleSunday(int year, int month, int week)
{
    if (month < 1 || month > 12 || week < 1 || week > 5) return std::nullopt;
    const CivilDate first{year, month, 1};
    const int firstSunday = 1 + (7 - DayOfWeek(first)) % 7;
    int day = firstSunday + 7 * (week - 1);
    if (week == 5) {
        day = firstSunday + 28;
        if (day > DaysInMonth(year, month)) day -= 7;
    }
    return CivilDate{year, month, day};
}

DstState DaylightSavingAt(const PanelConfig& c, const CivilDate& date, int minutesStandard)
{
    if (c.DstEnabled == 0) return DstState::Disabled;
    const auto start = RuleSunday(date.year, c.DstStartMonth, c.DstStartWeek);
    const auto end = RuleSunday(date.year, c.DstEndMonth, c.DstEndWeek);
    if (!start || !end) return DstState::Incomplete;
    // Moments in minutes of standard time.
    const long long now = DayNumber(date) * 1440 + minutesStandard;
    const long long startDay = DayNumber(*start);
    const long long endDay = DayNumber(*end);
    const long long from = startDay * 1440 + 120;   // 2:00 AM standard
    const long long to = endDay * 1440 + 60;        // 2:00 AM daylight
    bool on = false;
    if (startDay < endDay) on = now >= from && now < to;
    else if (startDay > endDay) on = now >= from || now < to;
    return on ? DstState::InEffect : DstState::NotInEffect;
}

DayClock ReadDayClock(int minutes)
{
    const int shift = minutes >= 0 ? minutes / 1440 : -((-minutes + 1439) / 1440);
    return {minutes - shift * 1440, shift};
}

namespace {

std::string DayNote(int shift)
{
    if (shift == 0) return {};
    if (shift == 1) return " (next day)";
    if (shift == -1) return " (day before)";
    return " (" + std::string(shift > 0 ? "+" : "") + std::to_string(shift) + " days)";
}

}  // namespace

std::string Clock24Text(int minutes)
{
    const DayClock clock = ReadDayClock(minutes);
    return Digits(clock.minuteOfDay / 60, 2) + ":" + Digits(clock.minuteOfDay % 60, 2) + DayNote(clock.dayShift);
}

std::string Clock12Text(int minutes)
{
    const DayClock clock = ReadDayClock(minutes);
    return ClockText(clock.minuteOfDay) + DayNote(clock.dayShift);
}

SiteSun SunAtSite(const PanelConfig& c, const CivilDate& date)
{
    SiteSun sun;
    const auto offset = TimeZoneUtcOffset(c.TimeZone);
    if (!IsValidDate(date)) {
        sun.problem = "no such date";
    } else if (!offset) {
        sun.problem = "time zone " + std::to_string(c.TimeZone) + " is none of the list";
    } else if (c.Latitude < -90 || c.Latitude > 90) {
        sun.problem = "latitude " + std::to_string(c.Latitude) + " is no latitude";
    } else if (c.Longitude < -180 || c.Longitude > 180) {
        sun.problem = "longitude " + std::to_string(c.Longitude) + " is no longitude";
    }
    if (!sun.problem.empty()) return sun;

    sun.usable = true;
    sun.dst = DaylightSavingAt(c, date, 720);
    const SunDay day = ComputeSunDay(date, c.Latitude, c.Longitude, *offset);
    sun.kind = day.kind;
    if (day.kind != SunKind::RisesAndSets) return sun;
    sun.sunriseStandard = static_cast<int>(std::lround(day.sunrise));
    sun.sunsetStandard = static_cast<int>(std::lround(day.sunset));
    auto clock = [&](int standard) {
        return standard + (DaylightSavingAt(c, date, standard) == DstState::InEffect ? 60 : 0);
    };
    sun.sunriseClock = clock(sun.sunriseStandard);
    sun.sunsetClock = clock(sun.sunsetStandard);
    return sun;
}

std::optional<int> AstroTimerClock(const PanelConfig& c, int timer, const SiteSun& sun)
{
    if (timer < 0 || timer >= ItemCount || !sun.usable || sun.kind != SunKind::RisesAndSets) return std::nullopt;
    const auto t = static_cast<std::size_t>(timer);
    const int code = c.TimerTimeCode[t];
    if (TimeTypeOf(code) != TimerTimeType::Astro) return std::nullopt;
    const int offset = OffsetOf(code, c.TimerMinute[t]);
    if (offset < 0) return std::nullopt;
    switch (OffsetTypeOf(code)) {
    case BeforeRise: return sun.sunriseClock - offset;
    case AfterRise: return sun.sunriseClock + offset;
    case BeforeSet: return sun.sunsetClock - offset;
    case AfterSet: return sun.sunsetClock + offset;
    default: return std::nullopt;
    }
}

std::string SiteLocationText(const PanelConfig& c)
{
    auto degrees = [](int value, char positive, char negative) {
        return std::to_string(value < 0 ? -value : value) + " " + (value < 0 ? negative : positive);
    };
    std::string zone = "time zone " + std::to_string(c.TimeZone) + " (none of the list)";
    if (const auto offset = TimeZoneUtcOffset(c.TimeZone))
        zone = std::string("time zone ") + TimeZoneTexts[static_cast<std::size_t>(c.TimeZone)] + " (UTC" +
               std::to_string(*offset) + ")";
    return "latitude " + degrees(c.Latitude, 'N', 'S') + ", longitude " + degrees(c.Longitude, 'W', 'E') + ", " + zone;
}

std::string DstStateText(DstState state)
{
    switch (state) {
    case DstState::Disabled: return "Automatic daylight saving time off";
    case DstState::Incomplete: return "Daylight saving rule incomplete";
    case DstState::InEffect: return "Daylight saving time in effect";
    case DstState::NotInEffect: return "Daylight saving time not in effect";
    }
    return {};
}

std::string NoSunText(SunKind kind)
{
    switch (kind) {
    case SunKind::NeverRises: return "the sun stays below the horizon all day";
    case SunKind::NeverSets: return "the sun stays above the horizon all day";
    case SunKind::RisesAndSets: break;
    }
    return {};
}

}  // namespace t2
