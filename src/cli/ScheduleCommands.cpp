#include "CliCommand.h"
#include "Json.h"

#include "ScheduleExport.h"
#include "SettingsFile.h"
#include "TimerSchedule.h"

#include <memory>

namespace t2::cli {

namespace {

// A whole number 1..MaxScheduleDays written in decimal digits only.
std::optional<int> ParseDays(const std::string& text)
{
    if (text.empty() || text.size() > 5) return std::nullopt;
    int n = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') return std::nullopt;
        n = n * 10 + (ch - '0');
    }
    if (n < 1 || n > MaxScheduleDays) return std::nullopt;
    return n;
}

// schedule --json: one document with the events as the CSV lists them and
// the checks.
int PrintScheduleJson(const std::string& file, const Schedule& schedule, int days, bool all)
{
    const auto text = [](const std::string& utf8) { return QJsonValue(QString::fromUtf8(utf8)); };
    QJsonArray events;
    for (const TimerRun* run : schedule.Events(all)) {
        const EventFields f = DescribeEvent(schedule, *run);
        events.append(QJsonObject{{"date", text(f.date)},
                                  {"time", text(f.time)},
                                  {"timer", run->timer + 1},
                                  {"name", text(f.name)},
                                  {"actions", text(f.actions)},
                                  {"notes", text(f.notes)}});
    }
    QJsonArray checks;
    for (const ScheduleCheck& c : schedule.checks) {
        checks.append(QJsonObject{{"timer", c.timer + 1},
                                  {"kind", QString::fromLatin1(CheckKindText(c.kind))},
                                  {"problem", text(c.problem)}});
    }
    return PrintJson({{"file", QString::fromStdString(file)},
                      {"from", QString::fromStdString(IsoDate(schedule.from))},
                      {"days", days},
                      {"events", events},
                      {"checks", checks}});
}

int RunSchedule(const Command& self, const std::vector<std::string>& args)
{
    Arguments a;
    std::string message;
    if (!ParseArguments(args, {"--from", "--days", "--format"}, {"--all", "--json"}, a, message)) return Usage(self, message);
    if (a.positional.size() != 1) return Usage(self);
    CivilDate from = Today();
    if (const auto text = a.Value("--from")) {
        const auto parsed = ParseIsoDate(*text);
        if (!parsed) return Usage(self, "--from wants a date YYYY-MM-DD (years 1583..9999), not '" + *text + "'");
        from = *parsed;
    }
    int days = 7;
    if (const auto text = a.Value("--days")) {
        const auto parsed = ParseDays(*text);
        if (!parsed)
            return Usage(self, "--days wants a number 1.." + std::to_string(MaxScheduleDays) + ", not '" + *text + "'");
        days = *parsed;
    }
    ScheduleFormat format = ScheduleFormat::Text;
    if (const auto text = a.Value("--format")) {
        const auto parsed = ParseScheduleFormat(*text);
        if (!parsed) return Usage(self, "--format wants text, csv or ics, not '" + *text + "'");
        format = *parsed;
    }

    auto state = std::make_unique<ProgramState>();
    std::string error;
    if (!ReadSettingsFile(a.positional[0], state->Config, state->Devices, &error)) return Fail(error);
    const Schedule schedule = ComputeSchedule(state->Config, from, days);
    if (a.Flag("--json")) {
        if (a.Value("--format")) return Usage(self, "--json goes without --format");
        return PrintScheduleJson(a.positional[0], schedule, days, a.Flag("--all"));
    }
    if (!WriteOutput("-", ScheduleFile(format, schedule, state->Config, a.Flag("--all")), error)) return Fail(error);
    return ExitOk;
}

}  // namespace

std::vector<Command> ScheduleCommands()
{
    std::vector<Command> list;
    list.push_back({"schedule", "SITE.TMB [--from YYYY-MM-DD] [--days N] [--format text|csv|ics] [--json] [--all]",
                    "What the timers do, date by date (7 days from today unless given): as text, CSV or an "
                    "iCalendar file, or one JSON document (--json); --all also lists the runs of timers that do nothing.",
                    nullptr});
    list[0].run = [c = list[0]](const std::vector<std::string>& a) { return RunSchedule(c, a); };
    return list;
}

}  // namespace t2::cli
