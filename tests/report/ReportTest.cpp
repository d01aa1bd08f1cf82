#include "CodeTexts.h"
#include "Defaults.h"
#include "DocumentReport.h"
#include "Members.h"
#include "SettingsFile.h"

#include "../common/TestRecords.h"
#include "RichConfig.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <functional>
#include <memory>
#include <random>
#include <sstream>

using namespace t2;

namespace {

using fixtures::Records;

std::unique_ptr<Records> Fresh() { return fixtures::FreshRecords(); }

ReportSettings Settings()
{
    ReportSettings s;
    s.VersionText = "Version 8.09";
    s.SettingsFileName = "None";
    s.Created = ReportTime{2005, 3, 17, 14, 5};
    return s;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));  // an unterminated line shows up in the tests
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool HasLine(const std::string& report, const std::string& line)
{
    for (const std::string& l : Lines(report)) {
        if (l == line) return true;
    }
    return false;
}

// The lines of one section: from its title line up to the next title line.
std::vector<std::string> Section(const std::string& report, const std::string& title)
{
    std::vector<std::string> out;
    bool in = false;
    for (const std::string& l : Lines(report)) {
        if (!l.empty() && l.front() == '[') {
            if (in) break;
            in = l == title;
        }
        if (in) out.push_back(l);
    }
    return out;
}

std::string ReadFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = f.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

// ---- The examples: one configuration change, one line that must (or must not) appear ----

struct Example {
    const char* name;
    std::function<void(Records&)> setup;
    std::string line;      // an exact line of the report, fields joined by TAB
    bool present = true;   // false: no line of the report may start with `line`
};

const std::vector<Example>& Examples()
{
    static const std::vector<Example> examples = {
        {"TimerAllDaysChecked", [](Records& r) { r.config.TimerDays[0] = 0; },
         "01\tTIMER 01\t12:00A\tSMTWTFSH\t\t\t\t\t"},
        {"TimerAllDaysClear", [](Records& r) { r.config.TimerDays[1] = 255; }, "02\tTIMER 02\t12:00A\t--------\t\t\t\t\t"},
        {"TimerWeekdaysIgnoringHolidays", [](Records& r) { r.config.TimerDays[2] = 1 | 64; },
         "03\tTIMER 03\t12:00A\t-MTWTF-H\t\t\t\t\t"},
        {"TimerSingleDate",
         [](Records& r) {
             r.config.TimerHolidayMonth[3] = 7;
             r.config.TimerHolidayDate[3] = 4;
         },
         "04\tTIMER 04\t12:00A\t07/04\t\t\t\t\t"},
        {"ThirtyMinutesAfterSunset",
         [](Records& r) {
             r.config.TimerTimeCode[4] = 120;
             r.config.TimerMinute[4] = 30;
         },
         "05\tTIMER 05\t030 After Sunset\tSMTWTFSH\t\t\t\t\t"},
        {"SixHundredBeforeSunset",
         [](Records& r) {
             r.config.TimerTimeCode[5] = 90;
             r.config.TimerMinute[5] = 88;
         },
         "06\tTIMER 06\t600 Before Sunset\tSMTWTFSH\t\t\t\t\t"},
        {"MaximumAfterClose",
         [](Records& r) {
             r.config.TimerTimeCode[6] = 251;
             r.config.TimerMinute[6] = 231;
         },
         "07\tTIMER 07\t999 After Close\tSMTWTFSH\t\t\t\t\t"},
        {"ClockTimeEvening",
         [](Records& r) {
             r.config.TimerTimeCode[7] = 18;
             r.config.TimerMinute[7] = 30;
         },
         "08\tTIMER 08\t6:30P\tSMTWTFSH\t\t\t\t\t"},
        {"ClockTimeNoon",
         [](Records& r) {
             r.config.TimerTimeCode[8] = 12;
             r.config.TimerMinute[8] = 5;
         },
         "09\tTIMER 09\t12:05P\tSMTWTFSH\t\t\t\t\t"},
        {"TimerTargets",
         [](Records& r) {
             r.config.TimerRelayControl(9, 0) = 2;
             r.config.TimerRelayControl(9, 2) = 2;
             r.config.TimerRelayControl(9, 1) = 1;
             r.config.TimerGroupControl(9, 47) = 1;
             r.config.TimerGroupControl(9, 9) = 2;
             r.config.TimerPresetControl(9, 4) = 1;
             r.config.TimerPresetControl(9, 40) = 1;
         },
         "10\tTIMER 10\t12:00A\tSMTWTFSH\t1,3\t2\t10\t48\t5,41"},
        {"NodeCodesTwoAndOne",
         [](Records& r) {
             r.config.NodeIOCount[0] = 2;
             r.config.NodeIOCount[1] = 1;
         },
         "Node 2\t04 I/O\t09-12"},
        {"NodeCodeTwoFirst", [](Records& r) { r.config.NodeIOCount[0] = 2; }, "Node 1\t08 I/O\t01-08"},
        {"EmptyNodeBetweenDoesNotAdvance",
         [](Records& r) {
             for (int n : {0, 1, 2, 3, 5, 6, 7, 8}) r.config.NodeIOCount[static_cast<std::size_t>(n)] = 1;
         },
         "Node 6\t04 I/O\t17-20"},
        {"EmptyNodeBetweenReadsNoIO",
         [](Records& r) {
             for (int n : {0, 1, 2, 3, 5, 6, 7, 8}) r.config.NodeIOCount[static_cast<std::size_t>(n)] = 1;
         },
         "Node 5\tNo I/O"},
        {"EighthNodeEndsAt32",
         [](Records& r) {
             for (int n : {0, 1, 2, 3, 5, 6, 7, 8}) r.config.NodeIOCount[static_cast<std::size_t>(n)] = 1;
         },
         "Node 9\t04 I/O\t29-32"},
        {"NodesTenToTwelveInHex", [](Records& r) { r.config.NodeIOCount[11] = 1; }, "Node C\t04 I/O\t05-08"},
        {"IOCountTwoDigits", [](Records& r) { r.config.NodeIOCount[11] = 1; }, "I/O Count\t08"},
        {"EmptyPanelName", [](Records& r) { r.config.PanelName.clear(); }, "Panel Name\t"},
        {"FileNameBeforeSave", [](Records&) {}, "Tamberline II File Name\tNone"},
        {"DmxLinesWithDmxModule", [](Records& r) { r.config.AddOnModuleType = 1; }, "DMX On  Level(%)\t090"},
        {"DmxFilterAsStored", [](Records& r) { r.config.AddOnModuleType = 1; }, "DMX Filter\t00"},
        {"DmxSectionWithDmxModule",
         [](Records& r) {
             r.config.AddOnModuleType = 1;
             r.config.DmxChannel[1] = 12;
         },
         "02\tRELAY 02\t012"},
        {"NoDmxSectionWithoutDmxModule", [](Records& r) { r.config.AddOnModuleType = 2; }, "[DMX Schedule]", false},
        {"NoDmxLinesWithoutDmxModule", [](Records& r) { r.config.AddOnModuleType = 2; }, "DMX Off Level(%)", false},
        {"ModbusLines",
         [](Records& r) {
             r.config.AddOnModuleType = 2;
             r.config.ModbusBaud = 3;
         },
         "MODBus Baud Rate\t4800"},
        {"NoModbusLinesWithDmx", [](Records& r) { r.config.AddOnModuleType = 1; }, "MODBus Protocol", false},
        {"UnsetDateByOpenTime",
         [](Records& r) {
             r.config.SingleDateOpenTime(1, 28) = 100;
             r.config.SingleDateCloseTime(1, 28) = 40;
         },
         "Feb 29\t--:--\t--:--"},
        {"SetDate",
         [](Records& r) {
             r.config.SingleDateOpenTime(11, 30) = 38;
             r.config.SingleDateCloseTime(11, 30) = 70;
         },
         "Dec 31\t9:30A\t5:30P"},
        {"OpenTimeOf96IsMidnight",
         [](Records& r) {
             r.config.SingleDateOpenTime(2, 0) = 96;
             r.config.SingleDateCloseTime(2, 0) = 48;
         },
         "Mar 01\t12:00A\t12:00P"},
        {"OpenTimeOf97IsUnset",
         [](Records& r) {
             r.config.SingleDateOpenTime(2, 1) = 97;
             r.config.SingleDateCloseTime(2, 1) = 48;
         },
         "Mar 02\t--:--\t--:--"},
        {"ModemModuleHasNoModuleLine", [](Records& r) { r.config.AddOnModuleType = 6; }, "AddOn Module Type", false},
        {"NormalDayDefault", [](Records&) {}, "Saturday\t8:00A\t9:00P"},
        {"InputActiveTimes",
         [](Records& r) {
             r.config.InputEnableTime[1] = 28;
             r.config.InputDisableTime[1] = 72;
         },
         "02\tINPUT 02\tMomentary On/Off\t7:00A\t6:00P\t"},
        {"RelayWithoutControlsHasEmptyFields", [](Records&) {},
         "01\tRELAY 01\t\t\tOff\tNo Blink\t\t\t\t"},
        {"PhotocellLevels",
         [](Records& r) {
             r.devices[3].DeviceType = 9;
             r.devices[3].DeviceInputOffLevel[0] = 100;
             r.devices[3].DeviceInputOnLevel[0] = 200;
         },
         "03\tPhotoCell\tVANTEL 03.1\tOff:039% On:078%\t"},
        {"NetworkControlName",
         [](Records& r) {
             r.devices[1].DeviceType = 3;
             r.devices[1].DeviceInputRelayControl(2, 0) = 1;
         },
         "01\tRELAY 01\t\t\tOff\tNo Blink\t\tVT-01.3\t\t"},
        {"SweepIntervalPlusOne", [](Records& r) { r.config.SweepIntervalCode = 2; }, "Off Hours Sweep Interval (Hours)\t3"},
        {"DstDisabledSingleLine", [](Records& r) { r.config.DstEnabled = 0; }, "DST Start Week", false},
        {"DstRule", [](Records&) {}, "DST End Month\tNov"},
        {"CommPortTitleKeepsColon", [](Records&) {}, "Comm Port: \t1"},
    };
    return examples;
}

class ReportExample : public ::testing::TestWithParam<Example> {};

TEST_P(ReportExample, LineOfTheReport)
{
    const Example& e = GetParam();
    auto r = Fresh();
    e.setup(*r);
    const std::string report = BuildReport(r->config, r->devices, Settings());
    if (e.present) {
        EXPECT_TRUE(HasLine(report, e.line)) << "missing line: " << e.line;
    } else {
        for (const std::string& l : Lines(report)) EXPECT_NE(l.rfind(e.line, 0), 0u) << "unexpected line: " << l;
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, ReportExample, ::testing::ValuesIn(Examples()),
                         [](const ::testing::TestParamInfo<Example>& info) { return std::string(info.param.name); });

TEST(Report, EverySectionLeftOutGivesHeaderAndEnd)
{
    auto r = Fresh();
    r->config.AddOnModuleType = 1;
    ReportSettings s = Settings();
    s.DocumentPrintOptions.fill(true);
    EXPECT_EQ(BuildReport(r->config, r->devices, s),
              "[VEL Tamberline II Configuration Documentation File]\r\n"
              "Host Software\tVersion 8.09\r\n"
              "Tamberline II File Name\tNone\r\n"
              "Document Created\t02:05 PM 03/17/2005\r\n"
              "[End Of File]\r\n");
}

TEST(Report, DmxSectionFollowsItsBoxOnlyWithTheDmxModule)
{
    auto r = Fresh();
    ReportSettings s = Settings();
    s.DocumentPrintOptions.fill(true);
    s.DocumentPrintOptions[SectionDmxSchedule] = false;
    for (int type : {0, 2, 3, 4, 5, 6}) {
        r->config.AddOnModuleType = static_cast<Integer>(type);
        EXPECT_TRUE(Section(BuildReport(r->config, r->devices, s), "[DMX Schedule]").empty()) << type;
    }
    r->config.AddOnModuleType = 1;
    EXPECT_EQ(Section(BuildReport(r->config, r->devices, s), "[DMX Schedule]"),
              (std::vector<std::string>{"[DMX Schedule]", "Relay Number\tRelay Name\tDMX Channel", "01\tRELAY 01\tNone",
                                        "02\tRELAY 02\tNone", "03\tRELAY 03\tNone", "04\tRELAY 04\tNone"}));
}

TEST(Report, OpenCloseSectionHas366DateLines)
{
    auto r = Fresh();
    ReportSettings s = Settings();
    s.DocumentPrintOptions.fill(true);
    s.DocumentPrintOptions[SectionOpenCloseTimesSchedule] = false;
    const std::vector<std::string> lines = Section(BuildReport(r->config, r->devices, s), "[Open Close Times Schedule]");
    ASSERT_EQ(lines.size(), 1u + 1u + 7u + 1u + 366u);
    EXPECT_EQ(lines[9], "Date Of Year\tOpen Time\tClose Time");
    EXPECT_EQ(lines[10], "Jan 01\t--:--\t--:--");
    EXPECT_EQ(lines[10 + 31 + 28], "Feb 29\t--:--\t--:--");
    EXPECT_EQ(lines.back(), "Dec 31\t--:--\t--:--");
}

TEST(Report, FormatsOfTheHeaderClock)
{
    EXPECT_EQ(FormatReportTime({2005, 3, 17, 14, 5}), "02:05 PM 03/17/2005");
    EXPECT_EQ(FormatReportTime({2024, 12, 1, 0, 0}), "12:00 AM 12/01/2024");
    EXPECT_EQ(FormatReportTime({2024, 1, 9, 12, 59}), "12:59 PM 01/09/2024");
    EXPECT_EQ(FormatReportTime({2024, 1, 9, 11, 7}), "11:07 AM 01/09/2024");
    EXPECT_EQ(QuarterHourText(0), "12:00A");
    EXPECT_EQ(QuarterHourText(1), "12:15A");
    EXPECT_EQ(QuarterHourText(48), "12:00P");
    EXPECT_EQ(QuarterHourText(95), "11:45P");
}

// ---- The whole report of a rich configuration against the checked-in file ----

std::unique_ptr<Records> Rich() { return fixtures::RichRecords(); }

TEST(Report, RichConfigurationMatchesTheCheckedInReport)
{
    auto r = Rich();
    ReportSettings s = Settings();
    s.SettingsFileName = "C:\\VEL Tamberline II\\Saint John's.TMB";
    const std::string report = BuildReport(r->config, r->devices, s);
    const QString golden = QStringLiteral(T2_TEST_DATA "/rich_report.txt");
    if (qEnvironmentVariableIsSet("T2_WRITE_GOLDEN")) {
        std::string error;
        ASSERT_TRUE(WriteFileAtomically(golden.toStdString(), report, &error)) << error;
    }
    const std::string expected = ReadFile(golden);
    ASSERT_FALSE(expected.empty()) << "missing " << golden.toStdString();
    const std::vector<std::string> want = Lines(expected);
    const std::vector<std::string> got = Lines(report);
    for (std::size_t i = 0; i < std::min(want.size(), got.size()); ++i) {
        ASSERT_EQ(got[i], want[i]) << "line " << i + 1;
    }
    EXPECT_EQ(got.size(), want.size());
    EXPECT_EQ(report, expected);
}

// ---- Codes without a text, and any value a file can hold ----

TEST(Report, CodesWithoutTextWriteThePlaceholderInEverySection)
{
    auto r = Fresh();
    PanelConfig& c = r->config;
    c.AddOnModuleType = 2;
    c.ModbusProtocol = 2;
    c.ModbusBaud = -1;
    c.ModbusParity = 3;
    c.TimeZone = 5;
    c.DstStartWeek = 0;
    c.DstStartMonth = 13;
    c.DstEndWeek = 6;
    c.DstEndMonth = -32768;
    c.NodeIOCount[0] = 2;
    c.NodeIOCount[1] = -1;  // together with node 1's 8 points: 4 relays and inputs
    c.RelayPowerOnType[0] = 4;
    c.RelayTimerType[0] = -7;
    c.InputType[1] = 32767;
    c.InputEnableTime[1] = -1;
    c.InputDisableTime[1] = 96;
    c.InputPilot[1] = 192;
    c.TimerTimeCode[0] = 28;
    c.TimerTimeCode[1] = 300;
    c.TimerTimeCode[2] = 24;
    c.TimerMinute[2] = 256;
    c.TimerTimeCode[3] = -1;
    c.TimerTimeCode[4] = 23;
    c.TimerMinute[4] = 75;
    c.NormalDayOpenTime[0] = 200;
    c.SingleDateCloseTime(0, 0) = 5;
    c.SingleDateOpenTime(0, 0) = -5;
    r->devices[2].DeviceType = 4;
    r->devices[2].DeviceInputType[0] = 5;
    r->devices[2].DeviceInputPilot[0] = -64;
    r->devices[2].DeviceInputPilot[1] = 256;
    r->devices[3].DeviceType = 8;
    r->devices[3].DeviceInputType[5] = 99;
    r->devices[4].DeviceType = 7;
    r->devices[4].DeviceInputType[3] = 10;
    r->devices[5].DeviceType = -3;
    const std::string report = BuildReport(r->config, r->devices, Settings());
    // Relay, input and device input types without a text show the stored number;
    // times out of range are read as fractions of a day; a timer time code that
    // is neither an hour nor an offset leaves its field empty.
    for (const char* line : {"Node 2\t?-1", "01\tRELAY 01\t\t\t?4\t?-7\t\t\t\t",
                             "02\tINPUT 02\t?32767\t12:15A\t12:00A\t", "01\tTIMER 01\t\tSMTWTFSH\t\t\t\t\t",
                             "02\tTIMER 02\t\tSMTWTFSH\t\t\t\t\t", "03\tTIMER 03\t256 Before Sunrise\tSMTWTFSH\t\t\t\t\t",
                             "04\tTIMER 04\t\tSMTWTFSH\t\t\t\t\t", "05\tTIMER 05\t12:15A\tSMTWTFSH\t\t\t\t\t",
                             "Sunday\t2:00A\t9:00P", "Jan 01\t1:15A\t1:15A",
                             "02\t4 Button\tVANTEL 02.1\t?5\t", "03\tR6\tVANTEL 03.6\t?99\t",
                             "04\tKIM-4\tVANTEL 04.4\t?10\t"}) {
        EXPECT_TRUE(HasLine(report, line)) << "missing line: " << line;
    }
    EXPECT_TRUE(HasLine(report, "Node 1\t08 I/O\t01-08"));
    EXPECT_TRUE(HasLine(report, "I/O Count\t04"));
    // A panel-wide code outside its list writes no line for its item.
    const std::vector<std::string> panel = Section(report, "[Panel Settings]");
    for (const char* title : {"Time Zone", "DST Start Week", "DST Start Month", "DST End Week", "DST End Month",
                              "MODBus Protocol", "MODBus Baud Rate", "MODBus Parity"}) {
        for (const std::string& l : panel) EXPECT_NE(l.rfind(title, 0), 0u) << "unexpected line: " << l;
    }
    EXPECT_TRUE(HasLine(report, "AddOn Module Type\tMODBus"));
    EXPECT_TRUE(HasLine(report, "Automatic DST Adjustment\tEnabled"));
    // A pilot source without a text writes no line for that input.
    EXPECT_EQ(Section(report, "[Local Input Pilot Schedule]"),
              (std::vector<std::string>{"[Local Input Pilot Schedule]", "Input Number\tInput Name\tPilot",
                                        "01\tINPUT 01\tRelay  01", "03\tINPUT 03\tRelay  03",
                                        "04\tINPUT 04\tRelay  04"}));
    for (const std::string& l : Section(report, "[Vantel Pilot Schedule]")) {
        EXPECT_NE(l.rfind("02\tVANTEL 02.1\t", 0), 0u) << "unexpected line: " << l;
        EXPECT_NE(l.rfind("02\tVANTEL 02.2\t", 0), 0u) << "unexpected line: " << l;
    }
    EXPECT_TRUE(HasLine(report, "02\tVANTEL 02.3\tStatic  Off"));
    // A device type the panel does not know has no inputs and so no lines.
    for (const std::string& l : Section(report, "[Vantel Input Schedule]")) {
        EXPECT_NE(l.rfind("05\t", 0), 0u) << "unexpected line: " << l;
    }
    for (int module : {6, 9, -1}) {  // "Modem / Tamberline" has no report name either
        r->config.AddOnModuleType = static_cast<Integer>(module);
        for (const std::string& l : Lines(BuildReport(r->config, r->devices, Settings()))) {
            EXPECT_NE(l.rfind("AddOn Module Type", 0), 0u) << module << " unexpected line: " << l;
        }
    }
}

TEST(Report, AnyStoredValueGivesAWholeReport)
{
    std::mt19937 rng(20240531);
    const Integer picks[] = {-32768, -1, 0, 1, 2, 23, 24, 95, 96, 100, 255, 256, 32767};
    auto value = [&]() -> Integer {
        if (rng() % 2) return picks[rng() % std::size(picks)];
        return static_cast<Integer>(rng() % 300);
    };
    for (int round = 0; round < 20; ++round) {
        auto r = std::make_unique<Records>();
        // Every member with values that probe the edges of the code tables.
        fixtures::MemberFiller fill{value, [&] { return static_cast<Long>(rng()); },
                                   [&] { return Bytes(rng() % 12, static_cast<char>(rng())); }};
        fill.FillAll(*r);
        r->config.NodeIOCount.fill(static_cast<Integer>(rng() % 3));
        r->config.AddOnModuleType = 1;
        const std::string report = BuildReport(r->config, r->devices, Settings());
        ASSERT_GE(report.size(), 2u);
        EXPECT_EQ(report.substr(report.size() - 15), "[End Of File]\r\n");
        EXPECT_EQ(Section(report, "[Open Close Times Schedule]").size(), 376u);
    }
}

// ---- Writing the file ----

TEST(ReportFile, WritesTheBytesAndReplacesAnOldFile)
{
    QTemporaryDir dir;
    auto r = Fresh();
    const std::string path = dir.filePath("Tamberline II.txt").toStdString();
    {
        QFile old(QString::fromStdString(path));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older and much longer report file than the new one will be ..........................");
    }
    ReportSettings s = Settings();
    s.DocumentPrintOptions.fill(true);
    std::string error;
    ASSERT_TRUE(WriteReportFile(path, r->config, r->devices, s, &error)) << error;
    EXPECT_EQ(ReadFile(QString::fromStdString(path)), BuildReport(r->config, r->devices, s));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Tamberline II.txt"});
}

#ifndef _WIN32  // named pipes as Linux has them
TEST(ReportFile, FailureNamesTheFileAndLeavesNothing)
{
    QTemporaryDir dir;
    auto r = Fresh();
    std::string error;
    // A folder that does not exist.
    const std::string missing = dir.filePath("no such folder/REPORT.TXT").toStdString();
    EXPECT_FALSE(WriteReportFile(missing, r->config, r->devices, Settings(), &error));
    EXPECT_NE(error.find(missing), std::string::npos) << error;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(missing)));
    // A folder or a named pipe stands where the file should go: each stays as
    // it is and nothing else appears.
    ASSERT_TRUE(QDir(dir.path()).mkdir("TAKEN.TXT"));
    const QString pipe = dir.filePath("PIPE.TXT");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& taken : {dir.filePath("TAKEN.TXT"), pipe}) {
        error.clear();
        EXPECT_FALSE(WriteReportFile(taken.toStdString(), r->config, r->devices, Settings(), &error));
        EXPECT_NE(error.find(taken.toStdString() + " is "), std::string::npos) << error;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
              (QStringList{"PIPE.TXT", "TAKEN.TXT"}));
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(pipe).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}
#endif

TEST(Report, HeaderTextsGoOutInTheReportCodePage)
{
    EXPECT_EQ(ToWindows1252("C:\\Sites\\\xC3\x89glise \xE2\x82\xAC.TMB"), "C:\\Sites\\\xC9glise \x80.TMB");
    EXPECT_EQ(ToWindows1252("\xE4\xB8\xAD"), "?");          // not in the code page
    EXPECT_EQ(ToWindows1252("\xC9glise"), "\xC9glise");     // already 8-bit: unchanged
    EXPECT_EQ(ToWindows1252("plain"), "plain");
}

TEST(CodeTexts, ActionListsFollowTheInputType)
{
    EXPECT_EQ(InputRelayActions(InputMomentaryOnOff).size(), 5u);
    EXPECT_EQ(InputRelayActions(InputMomentaryPB).size(), 4u);
    EXPECT_EQ(InputRelayActions(InputTimedOn).back(), std::string("Timed On"));
    EXPECT_EQ(InputRelayActions(InputForceTimer).back(), std::string("Force"));
    EXPECT_TRUE(InputRelayActions(13).empty());
    EXPECT_EQ(InputGroupActions(InputInputDisable).size(), 1u);
    EXPECT_EQ(InputGroupActions(InputOutputOverride).back(), std::string("Hold Status"));
    EXPECT_EQ(DeviceInputCount(9), 8);
    EXPECT_EQ(DeviceInputCount(10), 0);
    EXPECT_EQ(DeviceInputCount(-1), 0);
    EXPECT_EQ(NodeCaption(9), "Node A");
    EXPECT_EQ(CodeText(TimeZoneTexts, 4), "Alaska");
    EXPECT_EQ(CodeText(TimeZoneTexts, 5), "?5");
}

}  // namespace
