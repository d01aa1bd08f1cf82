// The timer schedule: which timers run on a date, the clock time each acts at
// (clock, sun and open/close times, across midnight and on the daylight
// saving change days), what it does, and the Checks.
#include "Defaults.h"
#include "OpenCloseTimes.h"
#include "TimerSchedule.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace t2;

namespace {

int At(int hour, int minute) { return hour * 60 + minute; }

// A fresh configuration at Washington, DC (Eastern; daylight saving time from
// the 2nd Sunday of March to the 1st Sunday of November: in 2026 March 8 and
// November 1), open 8:00A to 9:00P every weekday, every timer doing nothing.
std::unique_ptr<ProgramState> Site()
{
    auto s = std::make_unique<ProgramState>();
    ResetConfiguration(*s);
    PanelConfig& c = s->Config;
    c.Latitude = 39;
    c.Longitude = 77;
    c.TimeZone = 0;
    return s;
}

void SetClock(PanelConfig& c, int t, int hour, int minute)
{
    c.TimerTimeCode[t] = static_cast<Integer>(hour);
    c.TimerMinute[t] = static_cast<Integer>(minute);
}

void SetOffset(PanelConfig& c, int t, bool openClose, int type, int offset)
{
    const TimerTime time = OffsetTime(openClose, type, offset);
    c.TimerTimeCode[t] = time.code;
    c.TimerMinute[t] = time.minute;
}

// The runs of one timer in a schedule.
std::vector<const TimerRun*> RunsOf(const Schedule& s, int timer)
{
    std::vector<const TimerRun*> runs;
    for (const TimerRun& r : s.runs)
        if (r.timer == timer) runs.push_back(&r);
    return runs;
}

const ScheduleCheck* CheckOf(const std::vector<ScheduleCheck>& checks, int timer, ScheduleCheck::Kind kind)
{
    for (const ScheduleCheck& c : checks)
        if (c.timer == timer && c.kind == kind) return &c;
    return nullptr;
}

using TimerSetup = std::function<void(PanelConfig&)>;
using Expect = std::function<int(const SiteSun&)>;

}  // namespace

TEST(TimerSchedule, ClockSunAndOpenCloseTimesOnOrdinaryAndChangeDays)
{
    struct Case {
        const char* what;
        CivilDate date;
        TimerSetup setup;     // timer 0
        Expect minutes;       // from the date's sun at the site
        const char* time;     // the list's time, where it is fixed
        ClockNote note;
    };
    auto clock = [](int h, int m) { return [h, m](PanelConfig& c) { SetClock(c, 0, h, m); }; };
    auto offset = [](bool openClose, int type, int minutes) {
        return [=](PanelConfig& c) { SetOffset(c, 0, openClose, type, minutes); };
    };
    auto fixed = [](int minutes) { return [minutes](const SiteSun&) { return minutes; }; };
    const CivilDate june{2026, 6, 16}, forward{2026, 3, 8}, back{2026, 11, 1}, saturday{2026, 3, 7};
    const Case cases[] = {
        {"clock 7:05 AM", june, clock(7, 5), fixed(At(7, 5)), "7:05A", ClockNote::None},
        {"clock 11:59 PM", june, clock(23, 59), fixed(At(23, 59)), "11:59P", ClockNote::None},
        {"30 Min After Sunset", june, offset(false, AfterSet, 30),
         [](const SiteSun& s) { return s.sunsetClock + 30; }, nullptr, ClockNote::None},
        {"45 Min Before Sunrise", june, offset(false, BeforeRise, 45),
         [](const SiteSun& s) { return s.sunriseClock - 45; }, nullptr, ClockNote::None},
        {"15 Min After Open", june, offset(true, AfterRise, 15), fixed(At(8, 15)), "8:15A", ClockNote::None},
        {"30 Min Before Close", june, offset(true, BeforeSet, 30), fixed(At(20, 30)), "8:30P", ClockNote::None},
        // Daylight saving time starts: 2:00A to 2:59A do not come.
        {"2:30 AM as the clock goes forward", forward, clock(2, 30), fixed(At(2, 30)), "2:30A", ClockNote::Skipped},
        {"1:30 AM as the clock goes forward", forward, clock(1, 30), fixed(At(1, 30)), "1:30A", ClockNote::None},
        {"3:00 AM as the clock goes forward", forward, clock(3, 0), fixed(At(3, 0)), "3:00A", ClockNote::None},
        {"sunset as the clock goes forward", forward, offset(false, AfterSet, 0),
         [](const SiteSun& s) { return s.sunsetStandard + 60; }, nullptr, ClockNote::None},
        {"open as the clock goes forward", forward, offset(true, BeforeRise, 0), fixed(At(8, 0)), "8:00A",
         ClockNote::None},
        {"a close offset into the skipped hour", saturday, offset(true, AfterSet, 330), fixed(At(26, 30)),
         "2:30A (next day)", ClockNote::Skipped},
        // Daylight saving time ends: 1:00A to 1:59A come twice.
        {"1:30 AM as the clock goes back", back, clock(1, 30), fixed(At(1, 30)), "1:30A", ClockNote::Repeated},
        {"2:30 AM as the clock goes back", back, clock(2, 30), fixed(At(2, 30)), "2:30A", ClockNote::None},
        {"12:59 AM as the clock goes back", back, clock(0, 59), fixed(At(0, 59)), "12:59A", ClockNote::None},
        {"sunrise as the clock goes back", back, offset(false, AfterRise, 0),
         [](const SiteSun& s) { return s.sunriseStandard; }, nullptr, ClockNote::None},
        // Offsets across midnight.
        {"600 Min Before Sunrise", june, offset(false, BeforeRise, 600),
         [](const SiteSun& s) { return s.sunriseClock - 600; }, nullptr, ClockNote::None},
        {"600 Min After Sunset", june, offset(false, AfterSet, 600),
         [](const SiteSun& s) { return s.sunsetClock + 600; }, nullptr, ClockNote::None},
        {"600 Min Before Open", june, offset(true, BeforeRise, 600), fixed(At(-2, 0)), "10:00P (day before)",
         ClockNote::None},
        {"999 Min After Close", june, offset(true, AfterSet, 999), fixed(At(21, 0) + 999), "1:39P (next day)",
         ClockNote::None},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        auto s = Site();
        PanelConfig& c = s->Config;
        k.setup(c);
        c.TimerRelayControl(0, 0) = 1;
        const Schedule schedule = ComputeSchedule(c, k.date, 1);
        ASSERT_EQ(schedule.days.size(), 1u);
        const auto runs = RunsOf(schedule, 0);
        ASSERT_EQ(runs.size(), 1u);
        const TimerRun& run = *runs[0];
        const SiteSun sun = SunAtSite(c, k.date);
        ASSERT_TRUE(run.placed) << run.problem;
        EXPECT_EQ(run.minutes, k.minutes(sun));
        EXPECT_EQ(run.clock, k.note);
        const RunFields f = DescribeRun(schedule, run);
        EXPECT_EQ(f.time, k.time ? std::string(k.time) : Clock12Text(run.minutes));
        EXPECT_EQ(f.timer, "T01");
        EXPECT_EQ(f.actions, "Turn On R01 RELAY 01");
        const bool skips = f.notes.find("the clock skips this time") != std::string::npos;
        const bool twice = f.notes.find("this time comes twice") != std::string::npos;
        EXPECT_EQ(skips, k.note == ClockNote::Skipped);
        EXPECT_EQ(twice, k.note == ClockNote::Repeated);
        const int shift = ReadDayClock(run.minutes).dayShift;
        EXPECT_EQ(run.ClockDate(), AddDays(k.date, shift));
        EXPECT_EQ(run.ClockMinute(), run.minutes - shift * 1440);
    }

    // The sun's clock times themselves follow the rule on both change days.
    auto s = Site();
    const SiteSun startDay = SunAtSite(s->Config, forward);
    EXPECT_EQ(startDay.sunsetClock, startDay.sunsetStandard + 60);
    EXPECT_EQ(startDay.sunriseClock, startDay.sunriseStandard + 60);   // after 2:00 AM standard
    const SiteSun endDay = SunAtSite(s->Config, back);
    EXPECT_EQ(endDay.sunriseClock, endDay.sunriseStandard);
    EXPECT_EQ(DstChangeOn(s->Config, forward), DstChange::Forward);
    EXPECT_EQ(DstChangeOn(s->Config, back), DstChange::Back);
    EXPECT_EQ(DstChangeOn(s->Config, saturday), DstChange::None);
    s->Config.DstEnabled = False;
    EXPECT_EQ(DstChangeOn(s->Config, forward), DstChange::None);
}

TEST(TimerSchedule, SingleDatesWithTheirOwnTimes)
{
    auto s = Site();
    PanelConfig& c = s->Config;
    for (int t = 4; t < ItemCount; ++t) c.TimerDays[t] = 0x7F;   // only timers 1..4 run
    SetOffset(c, 0, true, AfterRise, 15);    // 15 Min After Open
    SetOffset(c, 1, true, BeforeSet, 30);    // 30 Min Before Close
    SetOffset(c, 2, true, AfterSet, 0);      // At Close
    SetClock(c, 3, 12, 0);
    StoreSingleDateTime(c, 2, 9, true, 40);    // March 10: open 10:00A ..
    StoreSingleDateTime(c, 2, 9, false, 60);   // .. close 3:00P
    StoreSingleDateTime(c, 2, 10, true, 38);   // March 11: only the open time, 9:30A; close 12:00A
    c.SingleDateOpenTime(2, 12) = 98;          // March 13: a value that is set but no time
    struct Case {
        const char* what;
        CivilDate date;
        bool own;
        const char* hours;
        const char* times[4];
    };
    const Case cases[] = {
        {"a weekday's times", {2026, 3, 9}, false, "Open 8:00A, close 9:00P", {"8:15A", "8:30P", "9:00P", "12:00P"}},
        {"own open and close times", {2026, 3, 10}, true, "Open 10:00A, close 3:00P (this date's own times)",
         {"10:15A", "2:30P", "3:00P", "12:00P"}},
        {"only the open time set", {2026, 3, 11}, true, "Open 9:30A, close 12:00A (this date's own times)",
         {"9:45A", "11:30P (day before)", "12:00A", "12:00P"}},
        {"a set value that is no time", {2026, 3, 13}, true,
         "Open no time (value 98), close no time (value 100) (this date's own times)", {"--:--", "--:--", "--:--", "12:00P"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        const OpenHours hours = OpenHoursOn(c, k.date);
        EXPECT_EQ(hours.ownTimes, k.own);
        EXPECT_EQ(HoursText(hours), k.hours);
        const Schedule schedule = ComputeSchedule(c, k.date, 1);
        ASSERT_EQ(schedule.days[0].runs.size(), 4u);
        for (int t = 0; t < 4; ++t) {
            const auto runs = RunsOf(schedule, t);
            ASSERT_EQ(runs.size(), 1u);
            EXPECT_EQ(DescribeRun(schedule, *runs[0]).time, k.times[t]) << "timer " << t;
        }
    }
    // A run without a time says why and comes after the runs with one.
    const Schedule odd = ComputeSchedule(c, {2026, 3, 13}, 1);
    ASSERT_EQ(odd.runs.size(), 4u);
    EXPECT_EQ(odd.runs[0].timer, 3);
    EXPECT_TRUE(odd.runs[0].placed);
    const TimerRun& open = odd.runs[1];
    EXPECT_FALSE(open.placed);
    EXPECT_EQ(open.problem, "the open time of this date is no time (value 98)");
    EXPECT_NE(DescribeRun(odd, open).notes.find("value 98"), std::string::npos);
    EXPECT_EQ(odd.runs.back().problem, "the close time of this date is no time (value 100)");
    EXPECT_EQ(odd.Events(true).size(), 1u);
}

TEST(TimerSchedule, WeekdaysSingleDatesAndDaysThatNeverCome)
{
    auto s = Site();
    PanelConfig& c = s->Config;
    for (int t = 0; t < 6; ++t) {
        SetClock(c, t, 12, 0);
        c.TimerPresetControl(t, 0) = 1;
    }
    c.TimerDays[0] = 0x41;                 // -MTWTF-H: weekdays, holidays ignored
    c.TimerDays[1] = 0xC1;                 // -MTWTF--
    c.TimerHolidayMonth[2] = 7;            // 4 July
    c.TimerHolidayDate[2] = 4;
    c.TimerHolidayMonth[3] = 2;            // 31 February
    c.TimerHolidayDate[3] = 31;
    c.TimerHolidayMonth[4] = 2;            // 29 February
    c.TimerHolidayDate[4] = 29;
    c.TimerDays[5] = 0x7F;                 // no weekday checked

    const Schedule july = ComputeSchedule(c, {2026, 6, 29}, 7);   // Monday .. Sunday
    auto dates = [&](int timer) {
        std::vector<int> days;
        for (const TimerRun* r : RunsOf(july, timer)) days.push_back(r->date.day);
        return days;
    };
    EXPECT_EQ(dates(0), (std::vector<int>{29, 30, 1, 2, 3}));
    EXPECT_EQ(dates(1), dates(0));
    EXPECT_EQ(dates(2), (std::vector<int>{4}));
    EXPECT_TRUE(dates(5).empty());
    EXPECT_TRUE(july.timers[0].ignoreHolidays);
    EXPECT_FALSE(july.timers[1].ignoreHolidays);
    EXPECT_FALSE(july.timers[2].ignoreHolidays);   // a date timer's mask is not its days
    EXPECT_EQ(DescribeRun(july, *RunsOf(july, 0)[0]).notes, "Ignore Holidays");
    EXPECT_EQ(DescribeRun(july, *RunsOf(july, 1)[0]).notes, "");
    EXPECT_EQ(DescribeRun(july, *RunsOf(july, 2)[0]).notes, "Holiday 07/04");

    // Over two years February 31 never comes and February 29 once.
    const Schedule years = ComputeSchedule(c, {2027, 1, 1}, 365 + 366);
    EXPECT_TRUE(RunsOf(years, 3).empty());
    ASSERT_EQ(RunsOf(years, 4).size(), 1u);
    EXPECT_EQ(RunsOf(years, 4)[0]->date, (CivilDate{2028, 2, 29}));
    EXPECT_EQ(RunsOf(years, 2).size(), 2u);

    const std::vector<ScheduleCheck> checks = ScheduleChecks(c);
    const ScheduleCheck* february = CheckOf(checks, 3, ScheduleCheck::NeverRuns);
    ASSERT_NE(february, nullptr);
    EXPECT_EQ(february->problem, "February 31 does not exist");
    EXPECT_STREQ(february->window, "frmT2TimersConfigure");
    EXPECT_STREQ(february->windowCaption, "Configure Timers");
    const ScheduleCheck* noDay = CheckOf(checks, 5, ScheduleCheck::NeverRuns);
    ASSERT_NE(noDay, nullptr);
    EXPECT_EQ(noDay->problem, "no weekday is checked");
    for (int t : {0, 1, 2, 4}) EXPECT_EQ(CheckOf(checks, t, ScheduleCheck::NeverRuns), nullptr) << t;

    // Other stored values that never come.
    c.TimerDays[5] = -1;                   // every bit set
    c.TimerHolidayMonth[4] = 13;
    c.TimerHolidayMonth[3] = 4;            // 31 April
    const std::vector<ScheduleCheck> more = ScheduleChecks(c);
    EXPECT_EQ(CheckOf(more, 5, ScheduleCheck::NeverRuns)->problem, "no weekday is checked");
    EXPECT_EQ(CheckOf(more, 4, ScheduleCheck::NeverRuns)->problem, "month 13 does not exist");
    EXPECT_EQ(CheckOf(more, 3, ScheduleCheck::NeverRuns)->problem, "April 31 does not exist");
}

TEST(TimerSchedule, WhatTimersDoAndWhichDoNothing)
{
    auto s = Site();
    PanelConfig& c = s->Config;   // 4 I/O points: relays 1..4
    c.RelayNames[2] = "LOT";
    c.GroupNames[1] = "HALLS";
    c.PresetNames[4] = "NIGHT";
    SetClock(c, 0, 18, 0);
    c.TimerRelayControl(0, 2) = 1;
    c.TimerRelayControl(0, 3) = 2;
    c.TimerRelayControl(0, 10) = 1;    // relay 11 is not installed
    c.TimerRelayControl(0, 1) = 3;     // no action of the list
    c.TimerGroupControl(0, 1) = 2;
    c.TimerPresetControl(0, 4) = 1;
    c.TimerRelayControl(1, 20) = 1;    // only an uninstalled relay: does nothing
    SetClock(c, 2, 18, 75);            // a clock minute that is no minute
    c.TimerRelayControl(2, 0) = 1;
    c.TimerTimeCode[3] = -3;           // no time at all
    c.TimerRelayControl(3, 0) = 1;

    const Schedule schedule = ComputeSchedule(c, {2026, 6, 16}, 1);
    const std::vector<TimerAction>& actions = schedule.timers[0].actions;
    ASSERT_EQ(actions.size(), 4u);
    EXPECT_EQ(ActionsText(actions), "Turn On R03 LOT, Turn Off R04 RELAY 04, Turn Off G02 HALLS, Activate P05 NIGHT");
    EXPECT_EQ(actions[2].target, TimerTarget::Group);
    EXPECT_EQ(actions[3].index, 4);
    EXPECT_TRUE(schedule.timers[1].actions.empty());

    // Runs of timers that do nothing count, but the events leave them out.
    EXPECT_EQ(RunsOf(schedule, 1).size(), 1u);
    EXPECT_EQ(DescribeRun(schedule, *RunsOf(schedule, 1)[0]).actions, "no action");
    std::vector<int> events;
    for (const TimerRun* r : schedule.Events()) events.push_back(r->timer);
    EXPECT_EQ(events, (std::vector<int>{0}));
    EXPECT_EQ(schedule.Events(true).size(), 46u);   // every timer with a time

    // Timers without a meaningful time never run.
    EXPECT_TRUE(RunsOf(schedule, 2).empty());
    EXPECT_TRUE(RunsOf(schedule, 3).empty());
    EXPECT_EQ(CheckOf(schedule.checks, 2, ScheduleCheck::NeverRuns)->problem,
              "its time has no meaning (TimerTimeCode 18, TimerMinute 75)");
    EXPECT_NE(CheckOf(schedule.checks, 3, ScheduleCheck::NeverRuns), nullptr);

    const ScheduleCheck* idle = CheckOf(schedule.checks, 1, ScheduleCheck::DoesNothing);
    ASSERT_NE(idle, nullptr);
    EXPECT_EQ(idle->problem, "no relay, group or preset action");
    EXPECT_STREQ(idle->window, "frmT2TimerToRelayControl");
    EXPECT_EQ(CheckOf(schedule.checks, 0, ScheduleCheck::DoesNothing), nullptr);
    // Never-runs first, then does-nothing, each by number.
    ASSERT_FALSE(schedule.checks.empty());
    EXPECT_EQ(schedule.checks.front().timer, 2);
    EXPECT_EQ(schedule.checks[1].timer, 3);
    EXPECT_EQ(schedule.checks[2].timer, 1);
    EXPECT_EQ(schedule.checks[2].kind, ScheduleCheck::DoesNothing);

    // Sun times where the site gives no sun never run; clock times still do.
    c.TimeZone = 7;
    SetOffset(c, 5, false, AfterSet, 30);
    c.TimerRelayControl(5, 0) = 1;
    const Schedule noZone = ComputeSchedule(c, {2026, 6, 16}, 1);
    EXPECT_TRUE(RunsOf(noZone, 5).empty());
    EXPECT_EQ(RunsOf(noZone, 0).size(), 1u);
    const ScheduleCheck* zone = CheckOf(noZone.checks, 5, ScheduleCheck::NeverRuns);
    ASSERT_NE(zone, nullptr);
    EXPECT_EQ(zone->problem, "the site gives no sunrise or sunset: time zone 7 is none of the list");
    EXPECT_STREQ(zone->window, "frmT2AstroClockSettings");
}

TEST(TimerSchedule, RunsInTheOrderTheyHappen)
{
    auto s = Site();
    PanelConfig& c = s->Config;
    SetClock(c, 0, 23, 0);                    // 11:00P every day
    SetOffset(c, 1, false, BeforeRise, 600);  // the evening before, about 7:40P
    SetClock(c, 2, 6, 0);
    SetClock(c, 3, 6, 0);                     // the same time: by number
    for (int t = 0; t < 4; ++t) c.TimerRelayControl(t, 0) = 1;
    const Schedule schedule = ComputeSchedule(c, {2026, 6, 16}, 2);
    std::vector<std::pair<int, int>> order;   // (day, timer)
    for (const TimerRun* r : schedule.Events()) order.emplace_back(r->date.day, r->timer);
    const std::vector<std::pair<int, int>> expected = {{16, 1}, {16, 2}, {16, 3}, {17, 1}, {16, 0},
                                                       {17, 2}, {17, 3}, {17, 0}};
    EXPECT_EQ(order, expected);
    // A day's list holds its own runs, the one of the evening before first.
    std::vector<int> second;
    for (int k : schedule.days[1].runs)
        if (!schedule.TimerOf(schedule.runs[static_cast<std::size_t>(k)]).actions.empty())
            second.push_back(schedule.runs[static_cast<std::size_t>(k)].timer);
    EXPECT_EQ(second, (std::vector<int>{1, 2, 3, 0}));

    // Where the sun does not rise the sun timers run without a time.
    c.Latitude = 70;   // outside the list, as a file may hold it
    const Schedule polar = ComputeSchedule(c, {2026, 12, 21}, 1);
    const auto runs = RunsOf(polar, 1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_FALSE(runs[0]->placed);
    EXPECT_EQ(runs[0]->problem, "no sunrise or sunset: the sun stays below the horizon all day");
    EXPECT_EQ(&polar.runs.back(), runs[0]);
}

TEST(TimerSchedule, RangesAndWords)
{
    auto s = Site();
    EXPECT_EQ(ComputeSchedule(s->Config, {2026, 1, 1}, 0).days.size(), 1u);
    EXPECT_EQ(ComputeSchedule(s->Config, {2026, 1, 1}, MaxScheduleDays + 5).days.size(),
              static_cast<std::size_t>(MaxScheduleDays));
    EXPECT_EQ(ComputeSchedule(s->Config, {9999, 12, 30}, 7).days.size(), 2u);
    EXPECT_TRUE(ComputeSchedule(s->Config, {2026, 2, 30}, 7).days.empty());
    EXPECT_EQ(LongDateText({2026, 3, 10}), "Tuesday, March 10, 2026");
    EXPECT_EQ(SiteText(s->Config),
              "latitude 39 N, longitude 77 W, time zone Eastern (UTC-5); daylight saving time from the 2nd Sunday "
              "of March to the 1st Sunday of November");
    s->Config.DstEndWeek = 9;
    EXPECT_NE(SiteText(s->Config).find("daylight saving rule incomplete"), std::string::npos);
    EXPECT_EQ(DstChangeText(DstChange::Forward), "Daylight saving time starts: the clock goes from 2:00A to 3:00A");
}
