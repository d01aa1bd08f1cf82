// Sunrise and sunset, the daylight saving rule, the astronomical timers' clock
// times and the city table.
#include "CityTable.h"
#include "Defaults.h"
#include "SunTimes.h"
#include "TimerTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

using namespace t2;

namespace {

// Minutes after midnight of "H:MM" standard time.
int At(int hour, int minute) { return hour * 60 + minute; }

}  // namespace

// Reference values: the US Naval Observatory's sunrise/sunset tables
// (Astronomical Applications Department, "Sun and Moon Data for One Day"),
// for the city's own coordinates, given here in the zone's standard time
// (the summer values were published in daylight time, one hour later).
TEST(SunTimes, WithinTwoMinutesOfTheAlmanac)
{
    struct Case {
        const char* city;
        CivilDate date;
        double latitude, longitudeWest, utcOffset;
        int sunrise, sunset;
    };
    const Case cases[] = {
        {"Washington, DC, summer solstice", {2024, 6, 20}, 38.895, 77.036, -5, At(4, 43), At(19, 37)},
        {"Washington, DC, winter solstice", {2024, 12, 21}, 38.895, 77.036, -5, At(7, 23), At(16, 49)},
        {"New York, NY", {2024, 6, 21}, 40.713, 74.006, -5, At(4, 25), At(19, 31)},
        {"Chicago, IL", {2024, 6, 20}, 41.878, 87.630, -6, At(4, 15), At(19, 29)},
        {"Los Angeles, CA, summer", {2024, 6, 21}, 34.052, 118.244, -8, At(4, 42), At(19, 8)},
        {"Los Angeles, CA, winter", {2024, 12, 21}, 34.052, 118.244, -8, At(6, 55), At(16, 47)},
        // Sunset after midnight daylight time is 11:48 PM standard time.
        {"Fairbanks, AK, summer", {2024, 6, 21}, 64.838, 147.716, -9, At(1, 58), At(23, 48)},
        {"Fairbanks, AK, winter", {2024, 12, 21}, 64.838, 147.716, -9, At(10, 58), At(14, 40)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.city);
        const SunDay day = ComputeSunDay(c.date, c.latitude, c.longitudeWest, c.utcOffset);
        ASSERT_EQ(day.kind, SunKind::RisesAndSets);
        EXPECT_NEAR(day.sunrise, c.sunrise, 2.0);
        EXPECT_NEAR(day.sunset, c.sunset, 2.0);
    }
}

TEST(SunTimes, PolarDaysHaveNoSunriseOrSunset)
{
    EXPECT_EQ(ComputeSunDay({2024, 6, 21}, 70, 148, -9).kind, SunKind::NeverSets);
    EXPECT_EQ(ComputeSunDay({2024, 12, 21}, 70, 148, -9).kind, SunKind::NeverRises);
    EXPECT_EQ(ComputeSunDay({2024, 6, 21}, -70, 0, 0).kind, SunKind::NeverRises);
    EXPECT_EQ(ComputeSunDay({2024, 3, 20}, 70, 148, -9).kind, SunKind::RisesAndSets);
    EXPECT_EQ(NoSunText(SunKind::NeverRises), "the sun stays below the horizon all day");
}

TEST(SunTimes, Dates)
{
    EXPECT_EQ(DayOfWeek({2024, 6, 20}), 4);    // Thursday
    EXPECT_EQ(DayOfWeek({2000, 1, 1}), 6);     // Saturday
    EXPECT_EQ(DayOfWeek({2024, 3, 10}), 0);
    EXPECT_EQ(ParseIsoDate("2024-02-29"), (CivilDate{2024, 2, 29}));
    for (const char* bad : {"2023-02-29", "2024-13-01", "2024-00-10", "2024-6-20", "2024/06/20", "20240620xx",
                            "1582-12-31", "2024-06-2a", "", "+024-06-20"})
        EXPECT_FALSE(ParseIsoDate(bad)) << bad;
    EXPECT_EQ(IsoDate({987, 3, 4}), "0987-03-04");
}

TEST(DaylightSaving, RuleSundays)
{
    struct Case {
        int year, month, week;
        int day;   // 0: none
    };
    const Case cases[] = {
        {2024, 3, 2, 10}, {2024, 11, 1, 3}, {2024, 10, 5, 27}, {2024, 3, 5, 31},
        {2024, 6, 5, 30}, {2024, 9, 1, 1}, {2024, 9, 4, 22}, {2025, 3, 2, 9},
        {2024, 0, 2, 0}, {2024, 13, 2, 0}, {2024, 3, 0, 0}, {2024, 3, 6, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + " week " + std::to_string(c.week));
        const auto sunday = RuleSunday(c.year, c.month, c.week);
        ASSERT_EQ(sunday.has_value(), c.day != 0);
        if (sunday) {
            EXPECT_EQ(*sunday, (CivilDate{c.year, c.month, c.day}));
        }
    }
}

TEST(DaylightSaving, InEffectBetweenTheRuleSundays)
{
    PanelConfig c;
    c.DstEnabled = True;
    c.DstStartWeek = 2;    // 2nd Sunday of March ..
    c.DstStartMonth = 3;
    c.DstEndWeek = 1;      // .. 1st Sunday of November
    c.DstEndMonth = 11;
    struct Case {
        CivilDate date;
        int minute;
        DstState state;
    };
    const Case cases[] = {
        {{2024, 3, 9}, At(12, 0), DstState::NotInEffect},
        {{2024, 3, 10}, At(1, 59), DstState::NotInEffect},
        {{2024, 3, 10}, At(2, 0), DstState::InEffect},
        {{2024, 6, 20}, At(12, 0), DstState::InEffect},
        {{2024, 11, 3}, At(0, 59), DstState::InEffect},
        {{2024, 11, 3}, At(1, 0), DstState::NotInEffect},
        {{2024, 11, 2}, At(24, 30), DstState::InEffect},       // past midnight, on the 3rd at 0:30
        {{2024, 12, 21}, At(12, 0), DstState::NotInEffect},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(IsoDate(k.date) + " minute " + std::to_string(k.minute));
        EXPECT_EQ(DaylightSavingAt(c, k.date, k.minute), k.state);
    }

    // A rule across the new year (the southern hemisphere's), one that starts
    // and ends on the same day, an incomplete one and DST switched off.
    PanelConfig south = c;
    south.DstStartMonth = 10;
    south.DstEndMonth = 4;
    EXPECT_EQ(DaylightSavingAt(south, {2024, 1, 15}, At(12, 0)), DstState::InEffect);
    EXPECT_EQ(DaylightSavingAt(south, {2024, 6, 15}, At(12, 0)), DstState::NotInEffect);
    EXPECT_EQ(DaylightSavingAt(south, {2024, 12, 15}, At(12, 0)), DstState::InEffect);
    PanelConfig same = c;
    same.DstEndWeek = 2;
    same.DstEndMonth = 3;
    EXPECT_EQ(DaylightSavingAt(same, {2024, 3, 10}, At(12, 0)), DstState::NotInEffect);
    PanelConfig incomplete = c;
    incomplete.DstEndMonth = 0;
    EXPECT_EQ(DaylightSavingAt(incomplete, {2024, 6, 20}, At(12, 0)), DstState::Incomplete);
    PanelConfig off = c;
    off.DstEnabled = False;
    EXPECT_EQ(DaylightSavingAt(off, {2024, 6, 20}, At(12, 0)), DstState::Disabled);
}

TEST(SunAtSite, StandardAndClockTimesAndTheAstronomicalTimers)
{
    ProgramState s;
    ResetConfiguration(s);
    PanelConfig& c = s.Config;   // DST from the 2nd Sunday of March to the 1st of November
    c.Latitude = 39;             // "District of Columbia,Washington"
    c.Longitude = 77;
    c.TimeZone = 0;
    c.TimerTimeCode[0] = 24 + 96;   // 30 Min After Sunset
    c.TimerMinute[0] = 30;
    c.TimerTimeCode[1] = 24 + 2;    // 600 Min Before Sunrise: the evening before
    c.TimerMinute[1] = 88;
    c.TimerTimeCode[2] = 152;       // open/close: no sun
    c.TimerTimeCode[3] = 18;        // clock: no sun

    const SiteSun summer = SunAtSite(c, {2024, 6, 20});
    ASSERT_TRUE(summer.usable);
    EXPECT_EQ(summer.dst, DstState::InEffect);
    // USNO for Washington: 5:43 AM and 8:37 PM daylight time.
    EXPECT_NEAR(summer.sunriseClock, At(5, 43), 2);
    EXPECT_NEAR(summer.sunsetClock, At(20, 37), 2);
    EXPECT_EQ(summer.sunriseClock, summer.sunriseStandard + 60);
    EXPECT_EQ(summer.sunsetClock, summer.sunsetStandard + 60);
    EXPECT_EQ(AstroTimerClock(c, 0, summer), summer.sunsetClock + 30);
    EXPECT_EQ(AstroTimerClock(c, 1, summer), summer.sunriseClock - 600);
    EXPECT_EQ(ReadDayClock(*AstroTimerClock(c, 1, summer)).dayShift, -1);
    EXPECT_FALSE(AstroTimerClock(c, 2, summer));
    EXPECT_FALSE(AstroTimerClock(c, 3, summer));

    const SiteSun winter = SunAtSite(c, {2024, 12, 21});
    EXPECT_EQ(winter.dst, DstState::NotInEffect);
    EXPECT_EQ(winter.sunriseClock, winter.sunriseStandard);
    EXPECT_NEAR(winter.sunriseStandard, At(7, 23), 2);
    EXPECT_NEAR(winter.sunsetStandard, At(16, 49), 2);

    c.Latitude = 70;   // outside the list, as a file may hold it
    const SiteSun polar = SunAtSite(c, {2024, 12, 21});
    EXPECT_TRUE(polar.usable);
    EXPECT_EQ(polar.kind, SunKind::NeverRises);
    EXPECT_FALSE(AstroTimerClock(c, 0, polar));

    c.Latitude = 39;
    c.TimeZone = 5;
    EXPECT_FALSE(SunAtSite(c, {2024, 6, 20}).usable);
    c.TimeZone = 0;
    c.Latitude = 91;
    EXPECT_FALSE(SunAtSite(c, {2024, 6, 20}).usable);
}

TEST(SunAtSite, ClockTexts)
{
    EXPECT_EQ(Clock24Text(At(5, 3)), "05:03");
    EXPECT_EQ(Clock24Text(At(24, 48)), "00:48 (next day)");
    EXPECT_EQ(Clock24Text(-15), "23:45 (day before)");
    EXPECT_EQ(Clock12Text(At(20, 37)), "8:37P");
    EXPECT_EQ(Clock12Text(At(24, 0)), "12:00A (next day)");
}

TEST(CityTable, TheBuiltInCities)
{
    CityList table;
    table.fill({"x", 0, 0});
    FillCityTable(table);
    EXPECT_EQ(table.size(), 260u);
    struct Case {
        int index;
        const char* name;
        int latitude, longitude;
    };
    // First, last and some whose spelling is kept as the panel's users know it.
    const Case cases[] = {
        {0, "Alabama,Birmingham", 33, 87},       {6, "Alaska,Fairbanks", 65, 148},
        {11, "Arizona,Yums", 32, 114},            {22, "California,San Bernandio", 34, 117},
        {40, "District of Columbia,Washington", 39, 77}, {44, "Florida,Key West", 24, 82},
        {47, "Florida,Penescola", 30, 87},        {173, "North Dakota,Fargo", 37, 97},
        {198, "Pennsylvania,Lancester", 40, 76},  {216, "Texas,Amerillo", 35, 102},
        {230, "Texas,Texakana", 33, 94},          {232, "Utah,Opden", 41, 112},
        {237, "Vermont,Montpellier", 44, 72},     {259, "Wyoming,Sheridan", 45, 107},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CityRecord& city = table[static_cast<std::size_t>(c.index)];
        EXPECT_STREQ(city.name, c.name);
        EXPECT_EQ(city.latitude, c.latitude);
        EXPECT_EQ(city.longitude, c.longitude);
    }
    // Every city lies within the lists it fills, and no record is left over.
    std::set<std::string> names;
    for (const CityRecord& city : table) {
        EXPECT_GE(city.latitude, 20) << city.name;
        EXPECT_LE(city.latitude, 65) << city.name;
        EXPECT_GE(city.longitude, 50) << city.name;
        EXPECT_LE(city.longitude, 150) << city.name;
        EXPECT_NE(std::string(city.name).find(','), std::string::npos) << city.name;
        names.insert(city.name);
    }
    EXPECT_EQ(names.size(), 260u);   // no two cities share a name
    EXPECT_EQ(&CityTable(), &CityTable());
    EXPECT_STREQ(CityTable()[44].name, "Florida,Key West");
}
