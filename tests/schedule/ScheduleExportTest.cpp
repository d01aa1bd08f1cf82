// The schedule's calendar file in the corners the sample site does not reach:
// the time zone for other daylight saving rules, no time zone at all, and
// folding and escaping of long names and 8-bit characters.
#include "Defaults.h"
#include "ScheduleExport.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

using namespace t2;

namespace {

std::unique_ptr<ProgramState> Site()
{
    auto s = std::make_unique<ProgramState>();
    ResetConfiguration(*s);   // Central; 2nd Sunday of March to 1st Sunday of November
    s->Config.TimerRelayControl(0, 0) = 1;
    s->Config.TimerTimeCode[0] = 7;   // 7:00 AM
    return s;
}

const UtcStamp Stamp{{2026, 1, 2}, 3, 4, 5};

// The lines between BEGIN:VTIMEZONE and END:VTIMEZONE, joined with "|".
std::string TimeZoneOf(const std::string& ics)
{
    const std::size_t from = ics.find("BEGIN:VTIMEZONE\r\n");
    const std::size_t to = ics.find("END:VTIMEZONE\r\n");
    if (from == std::string::npos || to == std::string::npos) return {};
    std::string part = ics.substr(from, to - from);
    std::string joined;
    std::istringstream lines(part);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        joined += line + "|";
    }
    return joined;
}

}  // namespace

TEST(ScheduleIcs, TimeZoneFromTheDaylightSavingRule)
{
    struct Case {
        const char* what;
        int zone, startWeek, startMonth, endWeek, endMonth;
        bool enabled;
        const char* expected;
    };
    const Case cases[] = {
        {"the rule of the defaults", 1, 2, 3, 1, 11, true,
         "BEGIN:VTIMEZONE|TZID:Tamberline-II-Central|BEGIN:STANDARD|DTSTART:19701101T020000|"
         "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU|TZOFFSETFROM:-0500|TZOFFSETTO:-0600|TZNAME:CST|END:STANDARD|"
         "BEGIN:DAYLIGHT|DTSTART:19700308T020000|RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU|TZOFFSETFROM:-0600|"
         "TZOFFSETTO:-0500|TZNAME:CDT|END:DAYLIGHT|"},
        {"last Sundays in Alaska", 4, 5, 4, 5, 10, true,
         "BEGIN:VTIMEZONE|TZID:Tamberline-II-Alaska|BEGIN:STANDARD|DTSTART:19701025T020000|"
         "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU|TZOFFSETFROM:-0800|TZOFFSETTO:-0900|TZNAME:AKST|END:STANDARD|"
         "BEGIN:DAYLIGHT|DTSTART:19700426T020000|RRULE:FREQ=YEARLY;BYMONTH=4;BYDAY=-1SU|TZOFFSETFROM:-0900|"
         "TZOFFSETTO:-0800|TZNAME:AKDT|END:DAYLIGHT|"},
        {"daylight saving time off", 0, 2, 3, 1, 11, false,
         "BEGIN:VTIMEZONE|TZID:Tamberline-II-Eastern|BEGIN:STANDARD|DTSTART:19700101T000000|TZOFFSETFROM:-0500|"
         "TZOFFSETTO:-0500|TZNAME:EST|END:STANDARD|"},
        {"a rule that never applies", 3, 2, 3, 2, 3, true,
         "BEGIN:VTIMEZONE|TZID:Tamberline-II-Pacific|BEGIN:STANDARD|DTSTART:19700101T000000|TZOFFSETFROM:-0800|"
         "TZOFFSETTO:-0800|TZNAME:PST|END:STANDARD|"},
        {"an incomplete rule", 2, 0, 3, 1, 11, true,
         "BEGIN:VTIMEZONE|TZID:Tamberline-II-Mountain|BEGIN:STANDARD|DTSTART:19700101T000000|TZOFFSETFROM:-0700|"
         "TZOFFSETTO:-0700|TZNAME:MST|END:STANDARD|"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        auto s = Site();
        PanelConfig& c = s->Config;
        c.TimeZone = static_cast<Integer>(k.zone);
        c.DstEnabled = k.enabled ? True : False;
        c.DstStartWeek = static_cast<Integer>(k.startWeek);
        c.DstStartMonth = static_cast<Integer>(k.startMonth);
        c.DstEndWeek = static_cast<Integer>(k.endWeek);
        c.DstEndMonth = static_cast<Integer>(k.endMonth);
        const std::string ics = ScheduleIcs(ComputeSchedule(c, {2026, 6, 1}, 1), c, Stamp);
        EXPECT_EQ(TimeZoneOf(ics), k.expected);
        EXPECT_NE(ics.find("DTSTART;TZID=" + IcsTimeZoneId(c) + ":20260601T070000\r\n"), std::string::npos);
    }

    // A time zone outside the list: no VTIMEZONE, times local to whoever reads them.
    auto s = Site();
    s->Config.TimeZone = 9;
    const std::string floating = ScheduleIcs(ComputeSchedule(s->Config, {2026, 6, 1}, 1), s->Config, Stamp);
    EXPECT_EQ(floating.find("VTIMEZONE"), std::string::npos);
    EXPECT_NE(floating.find("\r\nDTSTART:20260601T070000\r\n"), std::string::npos);
    EXPECT_NE(floating.find("\r\nDTSTAMP:20260102T030405Z\r\n"), std::string::npos);
}

TEST(ScheduleIcs, LongLinesFoldBetweenCharactersAndTextIsEscaped)
{
    auto s = Site();
    PanelConfig& c = s->Config;
    c.NodeIOCount[0] = 8;   // 32 relays
    c.TimerNames[0] = "CAF\xC9;A,B\\";   // "CAFÉ;A,B\" in the panel's 8-bit text
    for (int r = 0; r < 32; ++r) {
        c.RelayNames[r] = "\xC9T\xC9 " + std::to_string(r);   // two-byte characters throughout
        c.TimerRelayControl(0, r) = 1;
    }
    const std::string ics = ScheduleIcs(ComputeSchedule(c, {2026, 6, 1}, 1), c, Stamp);
    std::string summary;
    std::size_t pos = 0;
    bool inSummary = false;
    while (pos < ics.size()) {
        const std::size_t end = ics.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos);
        const std::string line = ics.substr(pos, end - pos);
        EXPECT_LE(line.size(), 75u) << line;
        // No line starts or ends inside a UTF-8 character.
        if (line.size() > 1) {
            EXPECT_NE(static_cast<unsigned char>(line[line[0] == ' ' ? 1 : 0]) & 0xC0, 0x80) << line;
        }
        if (line.rfind("SUMMARY:", 0) == 0) {
            inSummary = true;
            summary = line.substr(8);
        } else if (inSummary && !line.empty() && line[0] == ' ') {
            summary += line.substr(1);
        } else {
            inSummary = false;
        }
        pos = end + 2;
    }
    EXPECT_EQ(summary.rfind("T01 CAF\xC3\x89\\;A\\,B\\\\: Turn On R01 \xC3\x89T\xC3\x89 0\\, Turn On R02 ", 0), 0u)
        << summary;
    EXPECT_NE(summary.find("Turn On R32 \xC3\x89T\xC3\x89 31"), std::string::npos) << summary;
}
