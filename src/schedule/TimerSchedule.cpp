#include "TimerSchedule.h"

#include "CodeTexts.h"
#include "Defaults.h"
#include "OpenCloseTimes.h"

#include <algorithm>
#include <tuple>

namespace t2 {

namespace {

constexpr int IgnoreHolidaysBit = 0x80;
constexpr int WeekdayBits = 0x7F;
constexpr int QuarterHoursPerDay = 96;

std::string Tag(char tag, int index) { return tag + Digits(index + 1, 2); }

std::string Join(const std::vector<std::string>& parts, const char* separator)
{
    std::string text;
    for (const std::string& p : parts) {
        if (p.empty()) continue;
        if (!text.empty()) text += separator;
        text += p;
    }
    return text;
}

std::optional<int> QuarterHourMinutes(int value)
{
    if (value < 0 || value >= QuarterHoursPerDay) return std::nullopt;
    return value * 15;
}

}  // namespace

// ---- What a timer does ----

Bytes ActionText(const TimerAction& action) { return std::string(action.words) + " " + action.item + " " + action.name; }

Bytes ActionsText(const std::vector<TimerAction>& actions)
{
    Bytes text;
    for (const TimerAction& a : actions) {
        if (!text.empty()) text += ", ";
        text += ActionText(a);
    }
    return text;
}

std::vector<TimerAction> TimerActions(const PanelConfig& c, int timer)
{
    std::vector<TimerAction> actions;
    if (timer < 0 || timer >= ItemCount) return actions;
    const int ioCount = std::clamp(TotalIOCount(c), 0, ItemCount);
    auto switches = [&](TimerTarget target, const ItemMatrix& control, const NameArray& names, char tag, int count) {
        for (int k = 0; k < count; ++k) {
            const int code = control(timer, k);
            if (code != 1 && code != 2) continue;
            actions.push_back({target, k, Tag(tag, k), names[static_cast<std::size_t>(k)],
                               TimerSwitchActionTexts[static_cast<std::size_t>(code)]});
        }
    };
    switches(TimerTarget::Relay, c.TimerRelayControl, c.RelayNames, 'R', ioCount);
    switches(TimerTarget::Group, c.TimerGroupControl, c.GroupNames, 'G', ItemCount);
    for (int p = 0; p < ItemCount; ++p) {
        if (c.TimerPresetControl(timer, p) == 0) continue;
        actions.push_back({TimerTarget::Preset, p, Tag('P', p), c.PresetNames[static_cast<std::size_t>(p)],
                           TimerPresetActionTexts[1]});
    }
    return actions;
}

// ---- When a timer runs ----

std::string TimerItem(int timer) { return Tag('T', timer); }

bool IsDateTimer(const PanelConfig& c, int timer) { return c.TimerHolidayMonth[static_cast<std::size_t>(timer)] != 0; }

bool IgnoresHolidays(const PanelConfig& c, int timer)
{
    return !IsDateTimer(c, timer) && (c.TimerDays[static_cast<std::size_t>(timer)] & IgnoreHolidaysBit) == 0;
}

bool TimerRunsOn(const PanelConfig& c, int timer, const CivilDate& date)
{
    const auto t = static_cast<std::size_t>(timer);
    if (IsDateTimer(c, timer)) return c.TimerHolidayMonth[t] == date.month && c.TimerHolidayDate[t] == date.day;
    return (c.TimerDays[t] & (1 << DayOfWeek(date))) == 0;
}

// ---- The day ----

OpenHours OpenHoursOn(const PanelConfig& c, const CivilDate& date)
{
    OpenHours hours;
    const auto m = static_cast<std::size_t>(date.month - 1);
    const auto d = static_cast<std::size_t>(date.day - 1);
    if (date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= 31) {
        const int open = c.SingleDateOpenTime(m, d);
        const int close = c.SingleDateCloseTime(m, d);
        hours.ownTimes = !ShownAsUnset(open) || !ShownAsUnset(close);
        if (hours.ownTimes) {
            hours.openValue = open;
            hours.closeValue = close;
        }
    }
    if (!hours.ownTimes) {
        const auto w = static_cast<std::size_t>(DayOfWeek(date));
        hours.openValue = c.NormalDayOpenTime[w];
        hours.closeValue = c.NormalDayCloseTime[w];
    }
    hours.open = QuarterHourMinutes(hours.openValue);
    hours.close = QuarterHourMinutes(hours.closeValue);
    return hours;
}

DstChange DstChangeOn(const PanelConfig& c, const CivilDate& date)
{
    const DstState midnight = DaylightSavingAt(c, date, 0);
    const DstState evening = DaylightSavingAt(c, date, 24 * 60 - 1);
    if (midnight == DstState::NotInEffect && evening == DstState::InEffect) return DstChange::Forward;
    if (midnight == DstState::InEffect && evening == DstState::NotInEffect) return DstChange::Back;
    return DstChange::None;
}

std::vector<ScheduleDay> ScheduleDays(const PanelConfig& c, const CivilDate& from, int count)
{
    std::vector<ScheduleDay> days;
    if (!IsValidDate(from)) return days;
    count = std::clamp(count, 1, MaxScheduleDays);
    days.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        ScheduleDay day;
        day.date = AddDays(from, k);
        if (!IsValidDate(day.date)) break;   // past 9999
        day.dayOfWeek = DayOfWeek(day.date);
        day.sun = SunAtSite(c, day.date);
        day.hours = OpenHoursOn(c, day.date);
        day.dstChange = DstChangeOn(c, day.date);
        days.push_back(std::move(day));
    }
    return days;
}

// ---- A timer's run ----

CivilDate TimerRun::ClockDate() const { return AddDays(date, ReadDayClock(minutes).dayShift); }

int TimerRun::ClockMinute() const { return ReadDayClock(minutes).minuteOfDay; }

namespace {

ClockNote NoteAt(DstChange change, int minuteOfDay)
{
    if (change == DstChange::Forward && minuteOfDay >= 120 && minuteOfDay < 180) return ClockNote::Skipped;
    if (change == DstChange::Back && minuteOfDay >= 60 && minuteOfDay < 120) return ClockNote::Repeated;
    return ClockNote::None;
}

std::string ValueProblem(const char* what, int value)
{
    return std::string("the ") + what + " time of this date is no time (value " + std::to_string(value) + ")";
}

TimerRun ResolveRun(const PanelConfig& c, const ScheduleDay& day, const ScheduledTimer& timer)
{
    TimerRun run;
    run.date = day.date;
    run.timer = timer.timer;
    const int code = timer.time.code;
    const int offset = OffsetOf(code, timer.time.minute);
    const int sign = OffsetTypeOf(code) == BeforeRise || OffsetTypeOf(code) == BeforeSet ? -1 : 1;
    switch (TimeTypeOf(code)) {
    case TimerTimeType::Clock:
        run.minutes = code * 60 + timer.time.minute;
        break;
    case TimerTimeType::Astro:
        if (const auto at = AstroTimerClock(c, timer.timer, day.sun)) {
            run.minutes = *at;
        } else {
            run.placed = false;
            run.problem = !day.sun.usable ? day.sun.problem : "no sunrise or sunset: " + NoSunText(day.sun.kind);
        }
        break;
    case TimerTimeType::OpenClose: {
        const bool open = OffsetTypeOf(code) == BeforeRise || OffsetTypeOf(code) == AfterRise;
        const std::optional<int> base = open ? day.hours.open : day.hours.close;
        if (base) {
            run.minutes = *base + sign * offset;
        } else {
            run.placed = false;
            run.problem = ValueProblem(open ? "open" : "close", open ? day.hours.openValue : day.hours.closeValue);
        }
        break;
    }
    }
    if (run.placed) {
        const DayClock clock = ReadDayClock(run.minutes);
        const DstChange change = clock.dayShift == 0 ? day.dstChange : DstChangeOn(c, run.ClockDate());
        run.clock = NoteAt(change, clock.minuteOfDay);
    }
    return run;
}

// Whether the timer's time can give a clock time at all (else it never runs).
bool HasTime(const PanelConfig& c, const ScheduledTimer& timer)
{
    if (timer.timeWords.empty()) return false;
    if (TimeTypeOf(timer.time.code) != TimerTimeType::Astro) return true;
    return SunAtSite(c, {2000, 1, 1}).usable;
}

}  // namespace

// ---- The Checks ----

const char* CheckKindText(ScheduleCheck::Kind kind)
{
    return kind == ScheduleCheck::NeverRuns ? "Never runs" : "Does nothing";
}

std::vector<ScheduleCheck> ScheduleChecks(const PanelConfig& c)
{
    std::vector<ScheduleCheck> checks;
    const SiteSun site = SunAtSite(c, {2000, 1, 1});
    for (int t = 0; t < ItemCount; ++t) {
        const auto ti = static_cast<std::size_t>(t);
        auto add = [&](ScheduleCheck::Kind kind, std::string problem, const char* window, const char* caption) {
            checks.push_back({t, kind, std::move(problem), window, caption});
        };
        auto never = [&](std::string problem) {
            add(ScheduleCheck::NeverRuns, std::move(problem), "frmT2TimersConfigure", "Configure Timers");
        };
        const TimerTime time{c.TimerTimeCode[ti], c.TimerMinute[ti]};
        if (TimerTimeWords(time).empty()) {
            never("its time has no meaning (TimerTimeCode " + std::to_string(time.code) + ", TimerMinute " +
                  std::to_string(time.minute) + ")");
        } else if (TimeTypeOf(time.code) == TimerTimeType::Astro && !site.usable) {
            add(ScheduleCheck::NeverRuns, "the site gives no sunrise or sunset: " + site.problem,
                "frmT2AstroClockSettings", "Astro Clock Settings");
        }
        if (IsDateTimer(c, t)) {
            const int month = c.TimerHolidayMonth[ti];
            const int date = c.TimerHolidayDate[ti];
            if (month < 1 || month > 12) {
                never("month " + std::to_string(month) + " does not exist");
            } else if (date < 1 || date > DaysInMonth(2000, month)) {   // 2000: February has 29 days
                never(std::string(MonthNames[static_cast<std::size_t>(month - 1)]) + " " + std::to_string(date) +
                      " does not exist");
            }
        } else if ((c.TimerDays[ti] & WeekdayBits) == WeekdayBits) {
            never("no weekday is checked");
        }
        if (TimerActions(c, t).empty())
            add(ScheduleCheck::DoesNothing, "no relay, group or preset action", "frmT2TimerToRelayControl",
                "Timer To Relay Control");
    }
    std::stable_sort(checks.begin(), checks.end(),
                     [](const ScheduleCheck& a, const ScheduleCheck& b) { return a.kind < b.kind; });
    return checks;
}

// ---- The schedule ----

std::vector<const TimerRun*> Schedule::Events(bool all) const
{
    std::vector<const TimerRun*> events;
    for (const TimerRun& run : runs) {
        if (run.placed && (all || !TimerOf(run).actions.empty())) events.push_back(&run);
    }
    return events;
}

Schedule ComputeSchedule(const PanelConfig& c, const CivilDate& from, int count)
{
    Schedule s;
    s.from = from;
    s.days = ScheduleDays(c, from, count);
    s.checks = ScheduleChecks(c);
    std::array<bool, ItemCount> hasTime{};
    for (int t = 0; t < ItemCount; ++t) {
        const auto ti = static_cast<std::size_t>(t);
        ScheduledTimer& timer = s.timers.emplace_back();
        timer.timer = t;
        timer.name = c.TimerNames[ti];
        timer.time = {c.TimerTimeCode[ti], c.TimerMinute[ti]};
        timer.timeWords = TimerTimeWords(timer.time);
        timer.dateTimer = IsDateTimer(c, t);
        timer.ignoreHolidays = IgnoresHolidays(c, t);
        timer.actions = TimerActions(c, t);
        hasTime[ti] = HasTime(c, timer);
    }
    // Date by date, each run with its place in the order they happen: runs
    // without a time after all others, by date; at one time, by number.
    struct Order {
        bool unplaced;
        long long when;
        int timer;
        int day;
        std::size_t run;
        bool operator<(const Order& o) const
        {
            return std::tie(unplaced, when, timer) < std::tie(o.unplaced, o.when, o.timer);
        }
    };
    std::vector<TimerRun> unsorted;
    std::vector<Order> order;
    unsorted.reserve(s.days.size() * 8);
    order.reserve(s.days.size() * 8);
    for (std::size_t d = 0; d < s.days.size(); ++d) {
        const ScheduleDay& day = s.days[d];
        for (const ScheduledTimer& timer : s.timers) {
            if (!hasTime[static_cast<std::size_t>(timer.timer)] || !TimerRunsOn(c, timer.timer, day.date)) continue;
            const TimerRun& run = unsorted.emplace_back(ResolveRun(c, day, timer));
            const auto dayIndex = static_cast<long long>(d);
            order.push_back({!run.placed, run.placed ? dayIndex * 1440 + run.minutes : dayIndex, run.timer,
                             static_cast<int>(d), unsorted.size() - 1});
        }
    }
    std::sort(order.begin(), order.end());
    s.runs.reserve(unsorted.size());
    for (const Order& o : order) {
        s.days[static_cast<std::size_t>(o.day)].runs.push_back(static_cast<int>(s.runs.size()));
        s.runs.push_back(std::move(unsorted[o.run]));
    }
    return s;
}

// ---- Words ----

RunFields DescribeRun(const Schedule& schedule, const TimerRun& run)
{
    const ScheduledTimer& timer = schedule.TimerOf(run);
    RunFields f;
    f.time = run.placed ? Clock12Text(run.minutes) : "--:--";
    f.timer = TimerItem(run.timer);
    f.name = timer.name;
    f.actions = timer.actions.empty() ? Bytes("no action") : ActionsText(timer.actions);
    std::vector<std::string> notes;
    if (TimeTypeOf(timer.time.code) != TimerTimeType::Clock) notes.push_back(timer.timeWords);
    if (timer.dateTimer) notes.push_back("Holiday " + Digits(run.date.month, 2) + "/" + Digits(run.date.day, 2));
    if (timer.ignoreHolidays) notes.push_back("Ignore Holidays");
    if (run.clock == ClockNote::Skipped) notes.push_back("the clock skips this time as daylight saving time starts");
    if (run.clock == ClockNote::Repeated) notes.push_back("this time comes twice as daylight saving time ends");
    notes.push_back(run.problem);
    f.notes = Join(notes, "; ");
    return f;
}

std::string LongDateText(const CivilDate& date)
{
    if (!IsValidDate(date)) return IsoDate(date);
    return std::string(DayNames[static_cast<std::size_t>(DayOfWeek(date))]) + ", " +
           MonthNames[static_cast<std::size_t>(date.month - 1)] + " " + std::to_string(date.day) + ", " +
           std::to_string(date.year);
}

std::string SunText(const SiteSun& sun)
{
    if (!sun.usable) return "No sunrise or sunset: " + sun.problem;
    if (sun.kind != SunKind::RisesAndSets) return "No sunrise or sunset: " + NoSunText(sun.kind);
    return "Sunrise " + Clock12Text(sun.sunriseClock) + ", sunset " + Clock12Text(sun.sunsetClock);
}

std::string HoursText(const OpenHours& hours)
{
    auto time = [](const std::optional<int>& minutes, int value) {
        return minutes ? ClockText(*minutes) : "no time (value " + std::to_string(value) + ")";
    };
    return "Open " + time(hours.open, hours.openValue) + ", close " + time(hours.close, hours.closeValue) +
           (hours.ownTimes ? " (this date's own times)" : "");
}

std::string DstChangeText(DstChange change)
{
    switch (change) {
    case DstChange::Forward: return "Daylight saving time starts: the clock goes from 2:00A to 3:00A";
    case DstChange::Back: return "Daylight saving time ends: the clock goes from 2:00A back to 1:00A";
    case DstChange::None: break;
    }
    return {};
}

std::string SiteText(const PanelConfig& c)
{
    std::string dst = "automatic daylight saving time off";
    if (c.DstEnabled != 0) {
        const char* startWeek = TableText(DstWeekTexts, c.DstStartWeek - 1);
        const char* startMonth = TableText(MonthNames, c.DstStartMonth - 1);
        const char* endWeek = TableText(DstWeekTexts, c.DstEndWeek - 1);
        const char* endMonth = TableText(MonthNames, c.DstEndMonth - 1);
        dst = startWeek && startMonth && endWeek && endMonth
                  ? std::string("daylight saving time from the ") + startWeek + " of " + startMonth + " to the " +
                        endWeek + " of " + endMonth
                  : std::string("daylight saving rule incomplete");
    }
    return SiteLocationText(c) + "; " + dst;
}

}  // namespace t2
