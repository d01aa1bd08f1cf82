#include "CliCommand.h"
#include "Json.h"

#include "CodeTexts.h"
#include "SettingsFile.h"
#include "SunTimes.h"
#include "TimerTime.h"

#include <iostream>
#include <memory>

namespace t2::cli {

namespace {

// sun --json: the same, one document; times "HH:MM" with the day note the
// text has ("(next day)"), the astronomical timers' "at" null when they have
// no time on the date.
int PrintSunJson(const std::string& file, const PanelConfig& c, const CivilDate& date, const SiteSun& sun)
{
    const char* const dst[] = {"disabled", "incomplete", "inEffect", "notInEffect"};
    QJsonObject j{{"file", QString::fromStdString(file)},
                  {"site", QString::fromStdString(SiteLocationText(c))},
                  {"latitude", c.Latitude},
                  {"longitude", c.Longitude},
                  {"timeZone", c.TimeZone},
                  {"date", QString::fromStdString(IsoDate(date))},
                  {"dayOfWeek", QString::fromStdString(DayNames[static_cast<std::size_t>(DayOfWeek(date))])},
                  {"dst", dst[static_cast<int>(sun.dst)]},
                  {"dstText", QString::fromStdString(DstStateText(sun.dst))}};
    const auto time = [](int minutes) { return QJsonValue(QString::fromStdString(Clock24Text(minutes))); };
    if (sun.kind == SunKind::RisesAndSets) {
        j["sunrise"] = QJsonObject{{"standard", time(sun.sunriseStandard)}, {"clock", time(sun.sunriseClock)}};
        j["sunset"] = QJsonObject{{"standard", time(sun.sunsetStandard)}, {"clock", time(sun.sunsetClock)}};
        j["noSun"] = QJsonValue();
    } else {
        j["sunrise"] = QJsonValue();
        j["sunset"] = QJsonValue();
        j["noSun"] = QString::fromStdString(NoSunText(sun.kind));
    }
    QJsonArray timers;
    for (int t = 0; t < ItemCount; ++t) {
        const auto ti = static_cast<std::size_t>(t);
        const TimerTime tt{c.TimerTimeCode[ti], c.TimerMinute[ti]};
        if (TimeTypeOf(tt.code) != TimerTimeType::Astro) continue;
        QJsonObject timer{{"timer", t + 1},
                          {"name", JsonText(c.TimerNames[ti])},
                          {"time", QString::fromStdString(TimerTimeWords(tt))}};
        const std::string problem = TimerOffsetProblem(tt);
        const auto at = problem.empty() ? AstroTimerClock(c, t, sun) : std::nullopt;
        timer["at"] = at ? time(*at) : QJsonValue();
        timer["problem"] = problem.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(problem));
        timers.append(timer);
    }
    j["astronomicalTimers"] = timers;
    return PrintJson(j);
}

int RunSun(const Command& self, const std::vector<std::string>& args)
{
    Arguments a;
    std::string message;
    if (!ParseArguments(args, {"--date"}, {"--json"}, a, message)) return Usage(self, message);
    if (a.positional.size() != 1) return Usage(self);
    CivilDate date = Today();
    if (const auto text = a.Value("--date")) {
        const auto parsed = ParseIsoDate(*text);
        if (!parsed) return Usage(self, "--date wants a date YYYY-MM-DD (years 1583..9999), not '" + *text + "'");
        date = *parsed;
    }

    auto state = std::make_unique<ProgramState>();
    std::string error;
    if (!ReadSettingsFile(a.positional[0], state->Config, state->Devices, &error)) return Fail(error);
    const PanelConfig& c = state->Config;
    // Checked before anything is printed: a failure prints nothing but why.
    const SiteSun sun = SunAtSite(c, date);
    if (!sun.usable) return Fail("no sunrise or sunset: " + sun.problem);
    if (a.Flag("--json")) return PrintSunJson(a.positional[0], c, date, sun);

    std::cout << "Site: " << SiteLocationText(c) << "\n";
    std::cout << "Date: " << IsoDate(date) << " (" << DayNames[static_cast<std::size_t>(DayOfWeek(date))] << ")\n";
    std::cout << DstStateText(sun.dst) << "\n";
    if (sun.kind == SunKind::RisesAndSets) {
        std::cout << "Sunrise: " << Clock24Text(sun.sunriseStandard) << " standard time, "
                  << Clock24Text(sun.sunriseClock) << " clock time\n";
        std::cout << "Sunset: " << Clock24Text(sun.sunsetStandard) << " standard time, "
                  << Clock24Text(sun.sunsetClock) << " clock time\n";
    } else {
        const std::string why = NoSunText(sun.kind);
        std::cout << "Sunrise: none, " << why << "\n";
        std::cout << "Sunset: none, " << why << "\n";
    }

    int astro = 0;
    for (int t = 0; t < ItemCount; ++t) {
        const auto ti = static_cast<std::size_t>(t);
        const TimerTime time{c.TimerTimeCode[ti], c.TimerMinute[ti]};
        if (TimeTypeOf(time.code) != TimerTimeType::Astro) continue;
        if (astro++ == 0) std::cout << "Astronomical timers:\n";
        std::cout << "  Timer " << Digits(t + 1, 2) << " " << ForTerminal(c.TimerNames[ti]) << ": ";
        const std::string words = TimerTimeWords(time);
        if (const std::string problem = TimerOffsetProblem(time); !problem.empty()) {
            std::cout << problem << "\n";
        } else if (const auto at = AstroTimerClock(c, t, sun)) {
            std::cout << words << " at " << Clock24Text(*at) << "\n";
        } else {
            std::cout << words << ", none on this date\n";
        }
    }
    if (astro == 0) std::cout << "Astronomical timers: none\n";
    return ExitOk;
}

}  // namespace

std::vector<Command> SunCommands()
{
    std::vector<Command> list;
    list.push_back({"sun", "SITE.TMB [--date YYYY-MM-DD] [--json]",
                    "Sunrise and sunset at the configured site (standard and clock time) and the clock times of "
                    "the astronomical timers, for today or the date given (--json: as one JSON document).",
                    nullptr});
    list[0].run = [c = list[0]](const std::vector<std::string>& a) { return RunSun(c, a); };
    return list;
}

}  // namespace t2::cli
