// tamberline-cli sun: sunrise, sunset and the astronomical timers at the
// configured site, run as an installer would.
#include "CliRunner.h"

#include "CityTable.h"
#include "Defaults.h"
#include "SettingsFile.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QTemporaryDir>

#include <cstring>
#include <functional>
#include <memory>
#include <regex>

using namespace t2;

namespace {

// A settings file in a folder of its own, made from a fresh configuration.
struct SiteFile {
    QTemporaryDir dir;
    QString path = dir.filePath("SITE.TMB");

    explicit SiteFile(const std::function<void(PanelConfig&)>& setup)
    {
        auto s = std::make_unique<ProgramState>();
        ResetConfiguration(*s);   // DST from the 2nd Sunday of March to the 1st of November
        setup(s->Config);
        std::string error;
        EXPECT_TRUE(WriteSettingsFile(path.toStdString(), s->Config, s->Devices, &error)) << error;
    }
};

void PlaceAtCity(PanelConfig& c, const char* name, int timeZone)
{
    for (const CityRecord& city : CityTable()) {
        if (std::strcmp(city.name, name) != 0) continue;
        c.Latitude = city.latitude;
        c.Longitude = city.longitude;
        c.TimeZone = static_cast<Integer>(timeZone);
        return;
    }
    ADD_FAILURE() << name;
}

// The minutes of the first "HH:MM" after label in the output; -1 when none.
int MinutesAfter(const std::string& out, const std::string& label, int nth = 0)
{
    const std::size_t at = out.find(label);
    if (at == std::string::npos) return -1;
    std::string rest = out.substr(at + label.size());
    std::smatch m;
    static const std::regex time("(\\d\\d):(\\d\\d)");
    for (int k = 0; k <= nth; ++k) {
        if (!std::regex_search(rest, m, time)) return -1;
        if (k < nth) rest = m.suffix();
    }
    return std::stoi(m[1]) * 60 + std::stoi(m[2]);
}

int At(int hour, int minute) { return hour * 60 + minute; }

}  // namespace

// Reference values: the US Naval Observatory's sunrise/sunset tables
// (Astronomical Applications Department, "Sun and Moon Data for One Day") for
// the cities themselves; the files hold the city table's whole degrees.
// Summer values were published in daylight time (the clock time here).
TEST(CliSun, SunriseAndSunsetWithinTwoMinutesOfTheAlmanac)
{
    struct Case {
        const char* city;
        int timeZone;
        const char* date;
        const char* site;
        int riseStandard, setStandard, riseClock, setClock;
    };
    const Case cases[] = {
        {"District of Columbia,Washington", 0, "2024-06-20",
         "Site: latitude 39 N, longitude 77 W, time zone Eastern (UTC-5)", At(4, 43), At(19, 37), At(5, 43),
         At(20, 37)},
        {"District of Columbia,Washington", 0, "2024-12-21",
         "Site: latitude 39 N, longitude 77 W, time zone Eastern (UTC-5)", At(7, 23), At(16, 49), At(7, 23),
         At(16, 49)},
        {"New York,New York", 0, "2024-06-21", "Site: latitude 41 N, longitude 74 W, time zone Eastern (UTC-5)",
         At(4, 25), At(19, 31), At(5, 25), At(20, 31)},
        {"California,Los Angeles", 3, "2024-12-21",
         "Site: latitude 34 N, longitude 118 W, time zone Pacific (UTC-8)", At(6, 55), At(16, 47), At(6, 55),
         At(16, 47)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.city) + " " + c.date);
        SiteFile file([&](PanelConfig& config) {
            PlaceAtCity(config, c.city, c.timeZone);
            config.TimerNames[0] = "DUSK";
            config.TimerTimeCode[0] = 24 + 96;   // 30 Min After Sunset
            config.TimerMinute[0] = 30;
            config.TimerTimeCode[1] = 18;        // a clock time: not listed
            config.TimerTimeCode[2] = 152;       // open/close: not listed
        });
        const CliResult r = RunCli({"sun", file.path, "--date", c.date});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.out.find(std::string(c.site) + "\n"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find(std::string("Date: ") + c.date), std::string::npos) << r.out;
        EXPECT_NEAR(MinutesAfter(r.out, "\nSunrise: "), c.riseStandard, 2) << r.out;
        EXPECT_NEAR(MinutesAfter(r.out, "\nSunrise: ", 1), c.riseClock, 2) << r.out;
        EXPECT_NEAR(MinutesAfter(r.out, "\nSunset: "), c.setStandard, 2) << r.out;
        EXPECT_NEAR(MinutesAfter(r.out, "\nSunset: ", 1), c.setClock, 2) << r.out;
        EXPECT_TRUE(std::regex_search(r.out, std::regex("\nSunrise: \\d\\d:\\d\\d standard time, \\d\\d:\\d\\d clock time\n")))
            << r.out;
        EXPECT_NE(r.out.find(c.riseClock != c.riseStandard ? "Daylight saving time in effect\n"
                                                           : "Daylight saving time not in effect\n"),
                  std::string::npos)
            << r.out;
        EXPECT_NE(r.out.find("Astronomical timers:\n  Timer 01 DUSK: 30 Min After Sunset at "), std::string::npos)
            << r.out;
        EXPECT_NEAR(MinutesAfter(r.out, "Timer 01 DUSK"), c.setClock + 30, 2) << r.out;
        EXPECT_EQ(r.out.find("Timer 02"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("Timer 03"), std::string::npos) << r.out;
    }
}

TEST(CliSun, DaysWithoutSunriseOrSunsetAndTimersAcrossMidnight)
{
    SiteFile polar([](PanelConfig& c) {
        c.Latitude = 70;   // outside the list, as a file may hold it
        c.Longitude = 148;
        c.TimeZone = 4;
        c.TimerTimeCode[4] = 24;   // 0 Min Before Sunrise
    });
    CliResult r = RunCli({"sun", polar.path, "--date", "2024-12-21"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("time zone Alaska (UTC-9)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Sunrise: none, the sun stays below the horizon all day\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Sunset: none, the sun stays below the horizon all day\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  Timer 05 TIMER 05: 0 Min Before Sunrise, none on this date\n"), std::string::npos)
        << r.out;
    r = RunCli({"sun", polar.path, "--date", "2024-06-21"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Sunset: none, the sun stays above the horizon all day\n"), std::string::npos) << r.out;

    // Fairbanks at midsummer: sunset after midnight on the clock.
    SiteFile north([](PanelConfig& c) {
        PlaceAtCity(c, "Alaska,Fairbanks", 4);
        c.TimerTimeCode[0] = 24 + 2;   // 600 Min Before Sunrise: the evening before
        c.TimerMinute[0] = 88;
    });
    r = RunCli({"sun", north.path, "--date", "2024-06-21"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(std::regex_search(r.out, std::regex("\nSunset: 2\\d:\\d\\d standard time, 0\\d:\\d\\d \\(next day\\) clock time\n")))
        << r.out;
    EXPECT_TRUE(std::regex_search(r.out, std::regex("Timer 01 TIMER 01: 600 Min Before Sunrise at \\d\\d:\\d\\d \\(day before\\)\n")))
        << r.out;

    SiteFile plain([](PanelConfig&) {});
    r = RunCli({"sun", plain.path, "--date", "2024-03-10"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Astronomical timers: none\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Date: 2024-03-10 (Sunday)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Daylight saving time in effect\n"), std::string::npos) << r.out;   // from 2:00 AM

    // Without --date: today.
    const QString before = QDate::currentDate().toString(Qt::ISODate);
    r = RunCli({"sun", plain.path});
    ASSERT_EQ(r.code, 0) << r.err;
    const QString after = QDate::currentDate().toString(Qt::ISODate);
    EXPECT_TRUE(r.out.find("Date: " + before.toStdString()) != std::string::npos ||
                r.out.find("Date: " + after.toStdString()) != std::string::npos)
        << r.out;
}

TEST(CliSun, Errors)
{
    SiteFile file([](PanelConfig&) {});
    SiteFile zone([](PanelConfig& c) { c.TimeZone = 7; });
    struct Case {
        QStringList args;
        int code;
        std::string says;
    };
    const Case cases[] = {
        {{"sun", file.path, "--date", "2023-02-29"}, 64, "--date wants a date YYYY-MM-DD"},
        {{"sun", file.path, "--date", "21.12.2024"}, 64, "--date wants a date"},
        {{"sun", file.path, "--date"}, 64, "--date needs a value"},
        {{"sun"}, 64, "usage: tamberline-cli sun SITE.TMB [--date YYYY-MM-DD]"},
        {{"sun", file.path, file.path}, 64, "usage:"},
        {{"sun", file.path, "--when", "now"}, 64, "unknown option --when"},
        {{"sun", file.dir.filePath("MISSING.TMB")}, 1, "MISSING.TMB"},
        {{"sun", zone.path, "--date", "2024-06-20"}, 1, "no sunrise or sunset: time zone 7 is none of the list"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");   // checked before anything is printed
    }
}
