// tamberline-cli schedule: the timer schedule of a sample site as text, CSV
// and iCalendar, each read back the way a spreadsheet or a calendar program
// reads it and compared with the schedule the core computes.
#include "CliRunner.h"

#include "Defaults.h"
#include "SettingsFile.h"
#include "TimerSchedule.h"
#include "Windows1252.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <set>

using namespace t2;

namespace {

// Washington, DC, in the week daylight saving time starts (Sunday March 8, 2026).
struct SampleSite {
    QTemporaryDir dir;
    QString path = dir.filePath("SITE.TMB");
    std::unique_ptr<ProgramState> s = std::make_unique<ProgramState>();

    SampleSite()
    {
        ResetConfiguration(*s);
        PanelConfig& c = s->Config;
        c.PanelName = "MAIN ST";
        c.Latitude = 39;
        c.Longitude = 77;
        c.TimeZone = 0;
        c.RelayNames[0] = "LOBBY\r\nEAST";      // a line break inside a name
        c.TimerNames[0] = "LOT, \"A\"";         // a comma and quotes
        c.TimerTimeCode[0] = 24 + 96;           // 30 Min After Sunset
        c.TimerMinute[0] = 30;
        c.TimerRelayControl(0, 0) = 1;
        c.TimerNames[1] = "DAWN";
        c.TimerTimeCode[1] = 24 + 2;            // 600 Min Before Sunrise: the evening before
        c.TimerMinute[1] = 88;
        c.TimerGroupControl(1, 0) = 2;
        c.TimerNames[2] = "CLOSING";
        c.TimerTimeCode[2] = 24 + 128 + 64;     // 15 Min Before Close
        c.TimerMinute[2] = 15;
        c.TimerPresetControl(2, 0) = 1;
        c.TimerNames[3] = "NIGHT";
        c.TimerTimeCode[3] = 2;                 // 2:30 AM: skipped on March 8
        c.TimerMinute[3] = 30;
        c.TimerRelayControl(3, 1) = 2;
        c.TimerNames[4] = "FEB 31";
        c.TimerHolidayMonth[4] = 2;
        c.TimerHolidayDate[4] = 31;
        c.TimerRelayControl(4, 1) = 1;
        c.NormalDayCloseTime[0] = 68;           // Sundays close at 5:00P
        std::string error;
        EXPECT_TRUE(WriteSettingsFile(path.toStdString(), c, s->Devices, &error)) << error;
    }

    Schedule Expected() const { return ComputeSchedule(s->Config, {2026, 3, 5}, 7); }
};

const QStringList Range = {"--from", "2026-03-05", "--days", "7"};

std::string Utf8(const Bytes& bytes) { return BytesToText(bytes).toUtf8().toStdString(); }

std::string Two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// RFC 4180: records of fields, quoted fields may hold commas, quotes ("") and
// line breaks; records end with CR LF.
std::vector<std::vector<std::string>> ReadCsv(const std::string& text, std::string& problem)
{
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    std::size_t i = 0;
    bool fieldStarted = false;
    while (i < text.size()) {
        const char ch = text[i];
        if (!fieldStarted && ch == '"') {
            ++i;
            for (;;) {
                if (i >= text.size()) {
                    problem = "unterminated quote";
                    return records;
                }
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
            fieldStarted = true;
            if (i < text.size() && text[i] != ',' && text[i] != '\r') {
                problem = "text after a closing quote";
                return records;
            }
            continue;
        }
        if (ch == ',') {
            record.push_back(field);
            field.clear();
            fieldStarted = false;
            ++i;
        } else if (ch == '\r') {
            if (i + 1 >= text.size() || text[i + 1] != '\n') {
                problem = "CR without LF";
                return records;
            }
            record.push_back(field);
            records.push_back(record);
            record.clear();
            field.clear();
            fieldStarted = false;
            i += 2;
        } else if (ch == '\n' || ch == '"') {
            problem = std::string("bare ") + (ch == '\n' ? "LF" : "quote") + " in an unquoted field";
            return records;
        } else {
            field += ch;
            fieldStarted = true;
            ++i;
        }
    }
    if (!record.empty() || fieldStarted) problem = "last record without CR LF";
    return records;
}

struct ContentLine {
    std::string name;
    std::map<std::string, std::string> params;
    std::string value;
};

// RFC 5545: CR LF line ends, lines of at most 75 octets, folded lines joined
// again, then NAME;PARAM=VALUE:VALUE.
std::vector<ContentLine> ReadIcs(const std::string& text, std::string& problem)
{
    std::vector<std::string> physical;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            problem = "a line without CR LF at the end";
            return {};
        }
        const std::string line = text.substr(pos, end - pos);
        if (line.find_first_of("\r\n") != std::string::npos) problem = "a bare CR or LF inside: " + line;
        if (line.size() > 75) problem = "a line of " + std::to_string(line.size()) + " octets: " + line;
        physical.push_back(line);
        pos = end + 2;
    }
    std::vector<std::string> logical;
    for (const std::string& line : physical) {
        if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !logical.empty())
            logical.back() += line.substr(1);
        else
            logical.push_back(line);
    }
    std::vector<ContentLine> lines;
    for (const std::string& l : logical) {
        ContentLine c;
        const std::size_t colon = l.find(':');
        if (colon == std::string::npos) {
            problem = "no colon: " + l;
            continue;
        }
        std::string head = l.substr(0, colon);
        c.value = l.substr(colon + 1);
        std::size_t semi = head.find(';');
        c.name = head.substr(0, semi);
        while (semi != std::string::npos) {
            const std::size_t next = head.find(';', semi + 1);
            const std::string param = head.substr(semi + 1, next == std::string::npos ? std::string::npos : next - semi - 1);
            const std::size_t eq = param.find('=');
            c.params[param.substr(0, eq)] = eq == std::string::npos ? "" : param.substr(eq + 1);
            semi = next;
        }
        lines.push_back(std::move(c));
    }
    return lines;
}

std::string Unescape(const std::string& value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            out += next == 'n' || next == 'N' ? '\n' : next;
        } else {
            out += value[i];
        }
    }
    return out;
}

std::string IcsLocal(const TimerRun& run)
{
    const CivilDate d = run.ClockDate();
    const int m = run.ClockMinute();
    return std::to_string(d.year) + Two(d.month) + Two(d.day) + "T" + Two(m / 60) + Two(m % 60) + "00";
}

}  // namespace

TEST(CliSchedule, CsvReadsBackAsTheScheduleWithItsQuoting)
{
    SampleSite site;
    const CliResult r = RunCli(QStringList{"schedule", site.path} + Range + QStringList{"--format", "csv"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    std::string problem;
    const auto records = ReadCsv(r.out, problem);
    ASSERT_TRUE(problem.empty()) << problem;
    const Schedule expected = site.Expected();
    const auto events = expected.Events();
    ASSERT_EQ(records.size(), events.size() + 1);
    EXPECT_EQ(records[0], (std::vector<std::string>{"date", "time", "timer", "name", "actions", "notes"}));
    bool sawQuotedName = false, sawLineBreak = false, sawDayBefore = false;
    for (std::size_t k = 0; k < events.size(); ++k) {
        const TimerRun& run = *events[k];
        const RunFields f = DescribeRun(expected, run);
        const std::vector<std::string>& got = records[k + 1];
        SCOPED_TRACE(IsoDate(run.date) + " " + f.timer);
        ASSERT_EQ(got.size(), 6u);
        EXPECT_EQ(got[0], IsoDate(run.ClockDate()));
        EXPECT_EQ(got[1], Two(run.ClockMinute() / 60) + ":" + Two(run.ClockMinute() % 60));
        EXPECT_EQ(got[2], Two(run.timer + 1));
        EXPECT_EQ(got[3], Utf8(f.name));
        EXPECT_EQ(got[4], Utf8(f.actions));
        EXPECT_EQ(got[5].rfind(f.notes, 0), 0u) << got[5];
        sawQuotedName |= got[3] == "LOT, \"A\"";
        sawLineBreak |= got[4] == "Turn On R01 LOBBY\r\nEAST";
        if (run.minutes < 0) {
            sawDayBefore = true;
            EXPECT_NE(got[5].find("the run of " + LongDateText(run.date)), std::string::npos) << got[5];
        }
    }
    EXPECT_TRUE(sawQuotedName && sawLineBreak && sawDayBefore);
    // The rows come in the order the runs happen.
    for (std::size_t k = 2; k < records.size(); ++k)
        EXPECT_LE(records[k - 1][0] + records[k - 1][1], records[k][0] + records[k][1]) << k;
    // Events of timers that do nothing only with --all.
    const CliResult all = RunCli(QStringList{"schedule", site.path} + Range + QStringList{"--format", "csv", "--all"});
    ASSERT_EQ(all.code, 0) << all.err;
    EXPECT_EQ(ReadCsv(all.out, problem).size(), expected.Events(true).size() + 1);
}

TEST(CliSchedule, CalendarFileParsesBackWithOneEventPerRun)
{
    SampleSite site;
    const CliResult r = RunCli(QStringList{"schedule", site.path} + Range + QStringList{"--format", "ics"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::string problem;
    const std::vector<ContentLine> lines = ReadIcs(r.out, problem);
    ASSERT_TRUE(problem.empty()) << problem;
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().name, "BEGIN");
    EXPECT_EQ(lines.front().value, "VCALENDAR");
    EXPECT_EQ(lines.back().value, "VCALENDAR");

    // The time zone: Eastern with the configuration's rule.
    std::string tzid;
    std::vector<std::string> rules;
    std::vector<std::map<std::string, std::string>> events;
    std::vector<std::string> stack;
    for (const ContentLine& l : lines) {
        if (l.name == "BEGIN") {
            stack.push_back(l.value);
            if (l.value == "VEVENT") events.emplace_back();
            continue;
        }
        if (l.name == "END") {
            ASSERT_FALSE(stack.empty());
            EXPECT_EQ(stack.back(), l.value);
            stack.pop_back();
            continue;
        }
        const std::string in = stack.empty() ? "" : stack.back();
        if (in == "VTIMEZONE" && l.name == "TZID") tzid = l.value;
        if ((in == "STANDARD" || in == "DAYLIGHT") && l.name == "RRULE") rules.push_back(in + " " + l.value);
        if (in == "VEVENT") {
            std::map<std::string, std::string>& e = events.back();
            e[l.name] = l.value;
            if (l.name == "DTSTART") e["TZID"] = l.params.count("TZID") ? l.params.at("TZID") : "";
        }
    }
    EXPECT_TRUE(stack.empty());
    EXPECT_EQ(tzid, "Tamberline-II-Eastern");
    EXPECT_EQ(rules, (std::vector<std::string>{"STANDARD FREQ=YEARLY;BYMONTH=11;BYDAY=1SU",
                                               "DAYLIGHT FREQ=YEARLY;BYMONTH=3;BYDAY=2SU"}));

    const Schedule expected = site.Expected();
    const auto runs = expected.Events();
    ASSERT_EQ(events.size(), runs.size());
    std::set<std::string> uids;
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const TimerRun& run = *runs[k];
        const RunFields f = DescribeRun(expected, run);
        std::map<std::string, std::string>& e = events[k];
        SCOPED_TRACE(IsoDate(run.date) + " " + f.timer);
        EXPECT_EQ(e["TZID"], tzid);
        EXPECT_EQ(e["DTSTART"], IcsLocal(run));
        // A line break in a name is one escaped line break.
        std::string summary = Utf8(f.timer + " " + f.name + ": " + f.actions);
        if (const auto crlf = summary.find("\r\n"); crlf != std::string::npos) summary.erase(crlf, 1);
        EXPECT_EQ(Unescape(e["SUMMARY"]), summary);
        EXPECT_EQ(e.count("DTSTAMP"), 1u);
        EXPECT_EQ(e.count("DTEND") + e.count("DURATION"), 0u);
        uids.insert(e["UID"]);
    }
    EXPECT_EQ(uids.size(), runs.size());
    // The run the clock skips is there at its clock time, with a note.
    bool skipped = false;
    for (auto& e : events) {
        if (e["DTSTART"] != "20260308T023000") continue;
        skipped = true;
        EXPECT_NE(Unescape(e["DESCRIPTION"]).find("the clock skips this time"), std::string::npos);
    }
    EXPECT_TRUE(skipped);
}

TEST(CliSchedule, TextListsEachDayAndTheChecks)
{
    SampleSite site;
    const CliResult r = RunCli(QStringList{"schedule", site.path} + Range);
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string& out = r.out;
    EXPECT_EQ(out.rfind("Timer Schedule: MAIN ST, 2026-03-05 to 2026-03-11\n"
                        "Site: latitude 39 N, longitude 77 W, time zone Eastern (UTC-5); daylight saving time from "
                        "the 2nd Sunday of March to the 1st Sunday of November\n",
                        0),
              0u)
        << out;
    const Schedule expected = site.Expected();
    std::size_t at = 0;
    for (const ScheduleDay& day : expected.days) {
        SCOPED_TRACE(IsoDate(day.date));
        at = out.find("\n" + LongDateText(day.date) + "\n  " + SunText(day.sun) + "; " + HoursText(day.hours) + "\n", at);
        ASSERT_NE(at, std::string::npos) << out;
        // Its runs, in order, after it.
        for (int k : day.runs) {
            const TimerRun& run = expected.runs[static_cast<std::size_t>(k)];
            if (expected.TimerOf(run).actions.empty()) continue;
            const RunFields f = DescribeRun(expected, run);
            const std::size_t line = out.find("\n  " + f.time, at);
            ASSERT_NE(line, std::string::npos) << f.time;
            EXPECT_NE(out.find(f.timer + " " + Utf8(f.name), line), std::string::npos);
            at = line + 1;
        }
    }
    EXPECT_NE(out.find("\n  Daylight saving time starts: the clock goes from 2:00A to 3:00A\n"), std::string::npos);
    EXPECT_NE(out.find("(day before)  T02 DAWN        Turn Off G01 GROUP 01  (600 Min Before Sunrise"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\n  4:45P               T03 CLOSING     Activate P01 PRESET 01  (15 Min Before Close"),
              std::string::npos)
        << out;   // Sunday, March 8: closes at 5:00P
    EXPECT_NE(out.find("\nChecks:\n  T05 FEB 31      Never runs: February 31 does not exist (Configure Timers)\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("  T06 TIMER 06    Does nothing: no relay, group or preset action (Timer To Relay Control)\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.substr(0, out.find("\nChecks:\n")).find("TIMER 07"), std::string::npos);   // only under Checks

    // Without --from and --days: seven days from today.
    const CliResult today = RunCli({"schedule", site.path});
    ASSERT_EQ(today.code, 0) << today.err;
    const QDate now = QDate::currentDate();
    const std::string from = now.toString(Qt::ISODate).toStdString();
    const std::string to = now.addDays(6).toString(Qt::ISODate).toStdString();
    const std::string from2 = now.addDays(-1).toString(Qt::ISODate).toStdString();   // past midnight meanwhile
    const std::string to2 = now.addDays(5).toString(Qt::ISODate).toStdString();
    EXPECT_TRUE(today.out.find(from + " to " + to + "\n") != std::string::npos ||
                today.out.find(from2 + " to " + to2 + "\n") != std::string::npos)
        << today.out.substr(0, 200);
}

TEST(CliSchedule, Errors)
{
    SampleSite site;
    struct Case {
        QStringList args;
        int code;
        std::string says;
    };
    const Case cases[] = {
        {{"schedule"}, 64, "usage: tamberline-cli schedule SITE.TMB [--from YYYY-MM-DD] [--days N] [--format text|csv|ics]"},
        {{"schedule", site.path, "--from", "2026-02-30"}, 64, "--from wants a date YYYY-MM-DD"},
        {{"schedule", site.path, "--days", "0"}, 64, "--days wants a number 1..3660, not '0'"},
        {{"schedule", site.path, "--days", "3661"}, 64, "--days wants a number"},
        {{"schedule", site.path, "--days", "7x"}, 64, "--days wants a number"},
        {{"schedule", site.path, "--days", "-7"}, 64, "--days wants a number"},
        {{"schedule", site.path, "--format", "json"}, 64, "--format wants text, csv or ics, not 'json'"},
        {{"schedule", site.path, "--format"}, 64, "--format needs a value"},
        {{"schedule", site.path, "--week"}, 64, "unknown option --week"},
        {{"schedule", site.path, site.path}, 64, "usage:"},
        {{"schedule", site.dir.filePath("MISSING.TMB")}, 1, "MISSING.TMB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

// --json on info, sun and schedule: one document on one line, with the
// fields the README lists and the values the text and CSV outputs give.
TEST(CliSchedule, JsonOfInfoSunAndSchedule)
{
    SampleSite site;
    const auto document = [](const CliResult& r) {
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
        QJsonParseError error{};
        const QJsonDocument d = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out;
        return d.object();
    };
    const QJsonObject info = document(RunCli({"info", site.path, "--json"}));
    for (const char* field : {"file", "panelName", "defaultPanelName", "ioPoints", "ioNodes", "addOnModule",
                              "vantelDevices", "connection"})
        EXPECT_TRUE(info.contains(field)) << field;
    EXPECT_EQ(info["panelName"].toString(), "MAIN ST");
    EXPECT_EQ(info["ioNodes"].toArray().size(), NodeCount);
    EXPECT_EQ(info["connection"].toObject()["type"].toString(), "serial");

    const QJsonObject sun = document(RunCli({"sun", site.path, "--json", "--date", "2026-03-09"}));
    for (const char* field : {"file", "site", "latitude", "longitude", "timeZone", "date", "dayOfWeek", "dst",
                              "dstText", "sunrise", "sunset", "noSun", "astronomicalTimers"})
        EXPECT_TRUE(sun.contains(field)) << field;
    const CliResult text = RunCli({"sun", site.path, "--date", "2026-03-09"});
    const QJsonObject rise = sun["sunrise"].toObject();
    EXPECT_NE(text.out.find("Sunrise: " + rise["standard"].toString().toStdString() + " standard time, " +
                            rise["clock"].toString().toStdString() + " clock time"),
              std::string::npos)
        << text.out;
    EXPECT_EQ(sun["dst"].toString(), "inEffect");
    const QJsonArray timers = sun["astronomicalTimers"].toArray();
    ASSERT_EQ(timers.size(), 2);
    EXPECT_EQ(timers[0].toObject()["name"].toString(), "LOT, \"A\"");
    EXPECT_EQ(timers[0].toObject()["time"].toString(), "30 Min After Sunset");

    const QJsonObject schedule = document(RunCli(QStringList{"schedule", site.path, "--json"} + Range));
    EXPECT_EQ(schedule["from"].toString(), "2026-03-05");
    EXPECT_EQ(schedule["days"].toInt(), 7);
    const QJsonArray events = schedule["events"].toArray();
    ASSERT_EQ(events.size(), static_cast<qsizetype>(site.Expected().Events().size()));
    ASSERT_FALSE(events.isEmpty());
    for (const char* field : {"date", "time", "timer", "name", "actions", "notes"})
        EXPECT_TRUE(events[0].toObject().contains(field)) << field;
    EXPECT_FALSE(schedule["checks"].toArray().isEmpty());
    EXPECT_EQ(RunCli(QStringList{"schedule", site.path, "--json", "--format", "csv"}).code, 64);
}
