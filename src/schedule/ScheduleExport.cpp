#include "ScheduleExport.h"

#include "CodeTexts.h"
#include "Windows1252.h"

#include <QDateTime>

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace t2 {

namespace {

// The 8-bit text (names as stored) as UTF-8.
std::string Utf8(const Bytes& bytes) { return BytesToText(bytes).toUtf8().toStdString(); }

// One line of text: control characters (a line break in a name) become spaces.
Bytes OneLine(Bytes text)
{
    for (char& ch : text) {
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) ch = ' ';
    }
    return text;
}

Bytes PadRight(Bytes text, std::size_t width)
{
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string Clock24(int minuteOfDay) { return Digits(minuteOfDay / 60, 2) + ":" + Digits(minuteOfDay % 60, 2); }

// Where a run crosses midnight, the date it belongs to.
std::string RunOfNote(const TimerRun& run)
{
    return ReadDayClock(run.minutes).dayShift == 0 ? std::string() : "the run of " + LongDateText(run.date);
}

std::string WithNote(std::string notes, const std::string& more)
{
    if (more.empty()) return notes;
    return notes.empty() ? more : notes + "; " + more;
}

bool HidesSome(const Schedule& s, bool all)
{
    if (all) return false;
    return std::any_of(s.runs.begin(), s.runs.end(), [&](const TimerRun& r) { return s.TimerOf(r).actions.empty(); });
}

}  // namespace

std::optional<ScheduleFormat> ParseScheduleFormat(const std::string& word)
{
    if (word == "text") return ScheduleFormat::Text;
    if (word == "csv") return ScheduleFormat::Csv;
    if (word == "ics") return ScheduleFormat::Ics;
    return std::nullopt;
}

ScheduleFormat ScheduleFormatOfFile(const std::string& path)
{
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char ch) { return std::tolower(ch); });
    auto endsWith = [&](const char* ext) {
        const std::string e = ext;
        return lower.size() >= e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0;
    };
    if (endsWith(".csv")) return ScheduleFormat::Csv;
    if (endsWith(".ics")) return ScheduleFormat::Ics;
    return ScheduleFormat::Text;
}

UtcStamp UtcNow()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDate d = now.date();
    const QTime t = now.time();
    return {{d.year(), d.month(), d.day()}, t.hour(), t.minute(), t.second()};
}

// ---- Text ----

std::string ScheduleText(const Schedule& s, const PanelConfig& c, bool all)
{
    Bytes out;
    const std::string range = s.days.empty() ? std::string("no dates")
                                             : IsoDate(s.days.front().date) + " to " + IsoDate(s.days.back().date);
    out += OneLine("Timer Schedule: " + (c.PanelName.empty() ? Bytes() : c.PanelName + ", ") + range) + "\n";
    out += "Site: " + SiteText(c) + "\n";
    if (HidesSome(s, all)) out += "Timers that do nothing are not listed (see Checks).\n";
    for (const ScheduleDay& day : s.days) {
        out += "\n" + LongDateText(day.date) + "\n";
        out += "  " + SunText(day.sun) + "; " + HoursText(day.hours) + "\n";
        if (day.dstChange != DstChange::None) out += "  " + DstChangeText(day.dstChange) + "\n";
        int listed = 0;
        for (int k : day.runs) {
            const TimerRun& run = s.runs[static_cast<std::size_t>(k)];
            if (!all && s.TimerOf(run).actions.empty()) continue;
            const RunFields f = DescribeRun(s, run);
            Bytes line = "  " + PadRight(f.time, 20) + f.timer + " " + PadRight(f.name, 10) + "  " + f.actions;
            if (!f.notes.empty()) line += "  (" + f.notes + ")";
            out += OneLine(line) + "\n";
            ++listed;
        }
        if (listed == 0) out += "  No timer runs.\n";
    }
    out += "\nChecks:\n";
    if (s.checks.empty()) out += "  none\n";
    for (const ScheduleCheck& check : s.checks) {
        const ScheduledTimer& timer = s.timers[static_cast<std::size_t>(check.timer)];
        out += OneLine("  " + TimerItem(check.timer) + " " + PadRight(timer.name, 10) + "  " +
                       CheckKindText(check.kind) + ": " + check.problem + " (" + check.windowCaption + ")") +
               "\n";
    }
    return Utf8(out);
}

// ---- CSV ----

namespace {

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char ch : text) {
        if (ch == '"') quoted += '"';
        quoted += ch;
    }
    return quoted + "\"";
}

std::string CsvRecord(std::initializer_list<std::string> fields)
{
    std::string line;
    bool first = true;
    for (const std::string& f : fields) {
        if (!first) line += ',';
        line += CsvField(f);
        first = false;
    }
    return line + "\r\n";
}

}  // namespace

EventFields DescribeEvent(const Schedule& s, const TimerRun& run)
{
    const RunFields f = DescribeRun(s, run);
    return {IsoDate(run.ClockDate()), Clock24(run.ClockMinute()), Digits(run.timer + 1, 2),
            Utf8(f.name),             Utf8(f.actions),            Utf8(WithNote(f.notes, RunOfNote(run)))};
}

std::string ScheduleCsv(const Schedule& s, bool all)
{
    std::string out = CsvRecord({"date", "time", "timer", "name", "actions", "notes"});
    for (const TimerRun* run : s.Events(all)) {
        const EventFields f = DescribeEvent(s, *run);
        out += CsvRecord({f.date, f.time, f.timer, f.name, f.actions, f.notes});
    }
    return out;
}

// ---- iCalendar ----

namespace {

constexpr std::size_t FoldOctets = 75;
constexpr std::array<const char*, 5> ZoneLetters{"E", "C", "M", "P", "AK"};

// A content line folded at 75 octets (never inside a UTF-8 character), CR LF.
std::string Folded(const std::string& line)
{
    std::string out;
    std::size_t pos = 0;
    std::size_t room = FoldOctets;
    while (line.size() - pos > room) {
        std::size_t cut = room;
        while (cut > 1 && (static_cast<unsigned char>(line[pos + cut]) & 0xC0) == 0x80) --cut;
        out += line.substr(pos, cut) + "\r\n ";
        pos += cut;
        room = FoldOctets - 1;   // after the leading space
    }
    return out + line.substr(pos) + "\r\n";
}

// A TEXT value: backslash, semicolon, comma and line breaks (CR LF, CR or LF)
// escaped, other control characters made spaces.
std::string IcsText(const std::string& utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char ch = utf8[i];
        const auto u = static_cast<unsigned char>(ch);
        if (ch == '\\' || ch == ';' || ch == ',') {
            out += '\\';
            out += ch;
        } else if (ch == '\r' || ch == '\n') {
            out += "\\n";
            if (ch == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
        } else if (u < 0x20 || u == 0x7F) {
            out += ' ';
        } else {
            out += ch;
        }
    }
    return out;
}

std::string IcsDate(const CivilDate& d) { return Digits(d.year, 4) + Digits(d.month, 2) + Digits(d.day, 2); }

std::string IcsLocal(const CivilDate& d, int minuteOfDay)
{
    return IcsDate(d) + "T" + Digits(minuteOfDay / 60, 2) + Digits(minuteOfDay % 60, 2) + "00";
}

std::string UtcOffsetText(int minutes)
{
    const int size = minutes < 0 ? -minutes : minutes;
    return std::string(minutes < 0 ? "-" : "+") + Digits(size / 60, 2) + Digits(size % 60, 2);
}

std::string ByDay(int week) { return (week == 5 ? std::string("-1") : std::to_string(week)) + "SU"; }

// Whether the configuration's rule ever moves the clock.
bool RuleApplies(const PanelConfig& c)
{
    if (c.DstEnabled == 0) return false;
    const auto start = RuleSunday(1970, c.DstStartMonth, c.DstStartWeek);
    const auto end = RuleSunday(1970, c.DstEndMonth, c.DstEndWeek);
    return start && end && !(c.DstStartMonth == c.DstEndMonth && c.DstStartWeek == c.DstEndWeek);
}

void AddTimeZone(std::string& out, const PanelConfig& c, const std::string& tzid)
{
    const int standard = *TimeZoneUtcOffset(c.TimeZone) * 60;
    const int daylight = standard + 60;
    const std::string letters = ZoneLetters[static_cast<std::size_t>(c.TimeZone)];
    out += Folded("BEGIN:VTIMEZONE");
    out += Folded("TZID:" + tzid);
    if (!RuleApplies(c)) {
        out += Folded("BEGIN:STANDARD");
        out += Folded("DTSTART:19700101T000000");
        out += Folded("TZOFFSETFROM:" + UtcOffsetText(standard));
        out += Folded("TZOFFSETTO:" + UtcOffsetText(standard));
        out += Folded("TZNAME:" + letters + "ST");
        out += Folded("END:STANDARD");
    } else {
        // The clock goes forward at 2:00 AM standard time and back at 2:00 AM
        // daylight time; each onset is given at the clock time it has before.
        struct Onset {
            const char* kind;
            int month, week, from, to;
            const char* name;
        };
        const Onset onsets[] = {
            {"STANDARD", c.DstEndMonth, c.DstEndWeek, daylight, standard, "ST"},
            {"DAYLIGHT", c.DstStartMonth, c.DstStartWeek, standard, daylight, "DT"},
        };
        for (const Onset& o : onsets) {
            out += Folded(std::string("BEGIN:") + o.kind);
            out += Folded("DTSTART:" + IcsDate(*RuleSunday(1970, o.month, o.week)) + "T020000");
            out += Folded("RRULE:FREQ=YEARLY;BYMONTH=" + std::to_string(o.month) + ";BYDAY=" + ByDay(o.week));
            out += Folded("TZOFFSETFROM:" + UtcOffsetText(o.from));
            out += Folded("TZOFFSETTO:" + UtcOffsetText(o.to));
            out += Folded("TZNAME:" + letters + o.name);
            out += Folded(std::string("END:") + o.kind);
        }
    }
    out += Folded("END:VTIMEZONE");
}

// A short stable mark of the panel, so that two sites' runs never share a UID.
std::string SiteMark(const Bytes& panelName)
{
    std::uint32_t h = 2166136261u;
    for (unsigned char ch : panelName) h = (h ^ ch) * 16777619u;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08x", h);
    return buf;
}

}  // namespace

std::string IcsTimeZoneId(const PanelConfig& c)
{
    if (!TimeZoneUtcOffset(c.TimeZone)) return {};
    return std::string("Tamberline-II-") + TimeZoneTexts[static_cast<std::size_t>(c.TimeZone)];
}

std::string ScheduleIcs(const Schedule& s, const PanelConfig& c, const UtcStamp& stamp, bool all)
{
    const std::string tzid = IcsTimeZoneId(c);
    const std::string stampText = IcsDate(stamp.date) + "T" + Digits(stamp.hour, 2) + Digits(stamp.minute, 2) +
                                  Digits(stamp.second, 2) + "Z";
    const std::string mark = SiteMark(c.PanelName);
    std::string out;
    out += Folded("BEGIN:VCALENDAR");
    out += Folded("VERSION:2.0");
    out += Folded("PRODID:-//VEL//Tamberline II Timer Schedule//EN");
    out += Folded("CALSCALE:GREGORIAN");
    out += Folded("METHOD:PUBLISH");
    out += Folded("X-WR-CALNAME:" + IcsText(Utf8(c.PanelName.empty() ? Bytes("Timer Schedule") : c.PanelName + " Timer Schedule")));
    if (!tzid.empty()) {
        out += Folded("X-WR-TIMEZONE:" + tzid);
        AddTimeZone(out, c, tzid);
    }
    for (const TimerRun* run : s.Events(all)) {
        const RunFields f = DescribeRun(s, *run);
        const std::string start = IcsLocal(run->ClockDate(), run->ClockMinute());
        out += Folded("BEGIN:VEVENT");
        out += Folded("UID:" + IcsDate(run->date) + "-" + f.timer + "-" + mark + "@vel-tamberline-ii");
        out += Folded("DTSTAMP:" + stampText);
        out += Folded(tzid.empty() ? "DTSTART:" + start : "DTSTART;TZID=" + tzid + ":" + start);
        out += Folded("SUMMARY:" + IcsText(Utf8(f.timer + " " + f.name + ": " + f.actions)));
        const std::string notes = WithNote(f.notes, RunOfNote(*run));
        if (!notes.empty()) out += Folded("DESCRIPTION:" + IcsText(Utf8(notes)));
        out += Folded("TRANSP:TRANSPARENT");
        out += Folded("END:VEVENT");
    }
    out += Folded("END:VCALENDAR");
    return out;
}

std::string ScheduleFile(ScheduleFormat format, const Schedule& schedule, const PanelConfig& c, bool all)
{
    switch (format) {
    case ScheduleFormat::Csv: return ScheduleCsv(schedule, all);
    case ScheduleFormat::Ics: return ScheduleIcs(schedule, c, UtcNow(), all);
    case ScheduleFormat::Text: break;
    }
    return ScheduleText(schedule, c, all);
}

}  // namespace t2
