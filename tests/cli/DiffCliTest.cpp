// tamberline-cli diff: two settings files, and a settings file against the
// simulated panel program over loopback TCP/IP.
#include "CliRunner.h"
#include "SimProgram.h"

#include "../common/ReportChanges.h"

#include "CodeTexts.h"
#include "Defaults.h"
#include "ImagePacking.h"
#include "SettingsFile.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace t2;

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

using t2::fixtures::Change;
using t2::fixtures::Changes;

struct DiffCli : testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        base = std::make_unique<ProgramState>();
        t2::fixtures::ChangesBase(*base);
        a = Write("A.TMB", *base);
    }

    QString Write(const char* name, const ProgramState& s)
    {
        const QString path = dir.filePath(name);
        std::string error;
        EXPECT_TRUE(WriteSettingsFile(path.toStdString(), s.Config, s.Devices, &error)) << error;
        return path;
    }

    // The base with every change of the table.
    QString WriteAllChanged(const char* name)
    {
        auto s = std::make_unique<ProgramState>(*base);
        for (const Change& c : Changes()) c.apply(*s);
        return Write(name, *s);
    }

    QTemporaryDir dir;
    std::unique_ptr<ProgramState> base;
    QString a;
};

}  // namespace

TEST_F(DiffCli, OneChangeGivesExactlyItsLines)
{
    for (const Change& c : Changes()) {
        SCOPED_TRACE(c.label);
        auto s = std::make_unique<ProgramState>(*base);
        c.apply(*s);
        const QString b = Write("B.TMB", *s);
        CliResult r = RunCli({"diff", a, b});
        EXPECT_EQ(r.code, 1) << r.err;
        EXPECT_EQ(Lines(r.out), c.lines);
        // The other way round, the values change places.
        r = RunCli({"diff", b, a});
        ASSERT_EQ(Lines(r.out).size(), c.lines.size());
        EXPECT_EQ(r.code, 1);
    }
}

TEST_F(DiffCli, AllChangesAtOnceAndTheBriefCount)
{
    const QString b = WriteAllChanged("B.TMB");
    std::vector<std::string> expected;
    for (const Change& c : Changes()) expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    CliResult r = RunCli({"diff", a, b});
    EXPECT_EQ(r.code, 1) << r.err;
    const std::vector<std::string> got = Lines(r.out);
    EXPECT_EQ(Sorted(got), Sorted(expected));
    // Grouped by section, in the report's order.
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.front().substr(0, got.front().find('\t')), "[Panel Settings]");
    EXPECT_EQ(got.back().substr(0, got.back().find('\t')), "[DMX Schedule]");

    r = RunCli({"diff", a, b, "--brief"});
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_EQ(Lines(r.out), (std::vector<std::string>{
                                "[Panel Settings]\t1", "[Relay Schedule]\t2", "[Group Schedule]\t1",
                                "[Local Input Schedule]\t1", "[Vantel Input Schedule]\t1",
                                "[Local Input Pilot Schedule]\t1", "[Vantel Pilot Schedule]\t1",
                                "[Timer Relay/Group/Preset Schedule]\t1", "[Preset Schedule]\t1",
                                "[Off Hours Sweeps Relay Schedule]\t1", "[Off Hours Sweeps Group Schedule]\t1",
                                "[Open Close Times Schedule]\t3", "[DMX Schedule]\t1"}));
}

TEST_F(DiffCli, ItemsOnlyOneSideHasAreComparedWithNothing)
{
    // Four more relays and inputs, a six-button station in place of a
    // one-button one, and no more DMX module.
    auto s = std::make_unique<ProgramState>(*base);
    s->Config.NodeIOCount[1] = 1;
    s->Devices[1].DeviceType = 6;
    s->Config.AddOnModuleType = 0;
    const QString b = Write("B.TMB", *s);
    CliResult r = RunCli({"diff", a, b});
    EXPECT_EQ(r.code, 1) << r.err;
    const std::vector<std::string> got = Lines(r.out);
    for (const char* line : {"[Panel Settings]\tI/O Count\t08\t12", "[Panel Settings]\tNode 2\tNo I/O\t04 I/O 09-12",
                             "[Panel Settings]\tAddOn Module Type\tDMX\tNone",
                             "[Panel Settings]\tDMX Filter\t00\t", "[Relay Schedule]\tR09 Relay Name\t\tRELAY 09",
                             "[Relay Schedule]\tR12 Power On\t\tOff",
                             "[Vantel Input Schedule]\tVT-01.1 Vantel Device Type\t1 Button\t6 Button",
                             "[Vantel Input Schedule]\tVT-01.6 Vantel Input\t\tVANTEL 01.6",
                             "[Vantel Pilot Schedule]\tVT-01.2 Pilot\t\tStatic  Off",
                             "[DMX Schedule]\tR01 DMX Channel\tNone\t"}) {
        EXPECT_NE(std::find(got.begin(), got.end(), line), got.end()) << line << "\n" << r.out;
    }
    // A new input's line comes where that input is listed, after the others.
    const auto r08 = std::find(got.begin(), got.end(), "[Off Hours Sweeps Relay Schedule]\tR09 Relay Name\t\tRELAY 09");
    ASSERT_NE(r08, got.end());
    EXPECT_EQ(*std::next(r08), "[Off Hours Sweeps Relay Schedule]\tR09 Include In Off Hours Sweeps\t\tNo");
}

TEST_F(DiffCli, EqualFilesSayNothingAndErrorsAreTold)
{
    const QString same = Write("SAME.TMB", *base);
    CliResult r = RunCli({"diff", a, same});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "");
    r = RunCli({"diff", a, same, "--brief"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "");

    // The connection settings are no part of the report.
    auto linked = std::make_unique<ProgramState>(*base);
    linked->Config.ConnectionType() = ConnectTcpIp;
    linked->Config.PanelAddress() = "10.0.0.9";
    EXPECT_EQ(RunCli({"diff", a, Write("LINKED.TMB", *linked)}).code, 0);

    // A file that cannot be read: exit 2, as diff does, naming the file.
    const QString missing = dir.filePath("MISSING.TMB");
    r = RunCli({"diff", a, missing});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("MISSING.TMB"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");

    for (const QStringList& args : {QStringList{"diff", a}, QStringList{"diff", a, same, same},
                                    QStringList{"diff", a, same, "--names"}, QStringList{"diff", a, same, "--bogus"},
                                    QStringList{"diff", a, same, "--tcp", "127.0.0.1"},
                                    QStringList{"diff", a, "--modem", "/dev/null"}}) {
        r = RunCli(args);
        EXPECT_EQ(r.code, 64) << args.join(' ').toStdString() << ": " << r.err;
    }
}

// After a download of A, the panel compared with B shows the A/B differences,
// and comparing reads the panel without changing it.
TEST_F(DiffCli, AgainstThePanelShowsWhatADownloadWouldChange)
{
    const QString b = WriteAllChanged("B.TMB");
    const std::vector<std::string> fileLines = Lines(RunCli({"diff", a, b}).out);
    const QString dump = dir.filePath("panel.bin");
    SimProgram sim({}, dump);
    ASSERT_FALSE(sim.Address().isEmpty());
    CliResult r = RunCli({"download", a, "--tcp", sim.Address()});
    ASSERT_EQ(r.code, 0) << r.err;

    r = RunCli({"diff", a, "--tcp", sim.Address()});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Uploading Block 384 Of 384"), std::string::npos) << r.err;

    // Without --names the names are not compared: every other line of the
    // file comparison, in the same order.
    std::vector<std::string> withoutNames;
    for (const std::string& line : fileLines)
        if (line.find(" Group Name\t") == std::string::npos) withoutNames.push_back(line);
    ASSERT_EQ(withoutNames.size() + 2, fileLines.size());
    r = RunCli({"diff", b, "--tcp", sim.Address()});
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_EQ(Lines(r.out), withoutNames);

    // With --names, the names as the panel keeps them: ten characters.
    r = RunCli({"diff", b, "--tcp", sim.Address(), "--names", "--brief"});
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_NE(r.out.find("[Group Schedule]\t1\n"), std::string::npos) << r.out;
    r = RunCli({"diff", b, "--tcp", sim.Address(), "--names"});
    EXPECT_NE(r.out.find("[Group Schedule]\tG03 Group Name\tGROUP 03\tLOBBY \xC3\x89\n"), std::string::npos) << r.out;

    sim.Stop();
    auto image = std::make_unique<PanelImage>();
    BuildPanelImage(base->Config, base->Devices, {0, 0, 0, 0, 0, 0}, *image);
    EXPECT_EQ(ReadFile(dump), PanelImageBytes(*image));
}

// A site file and its upload with names: --as-panel compares the names as
// the panel holds them, so the padding is no difference and what remains is
// what the panel really lost or holds otherwise; the site file against the
// panel says the same (its values the other way round).
TEST_F(DiffCli, AsPanelShowsOnlyRealLossesAndAgreesWithThePanel)
{
    struct Case {
        const char* what;
        std::function<void(ProgramState&)> site;        // the site file
        std::function<void(ProgramState&)> inPanel;     // what the panel holds besides
        std::vector<std::string> lines;                 // diff SITE UPLOADED --as-panel
    };
    const Case cases[] = {
        {"padded names only", [](ProgramState&) {}, [](ProgramState&) {}, {}},
        {"a cut name", [](ProgramState& s) { s.Config.RelayNames[4] = "PARKING LOT EAST"; }, [](ProgramState&) {},
         {"[Relay Schedule]\tR05 Relay Name\tPARKING LOT EAST\tPARKING LO",
          "[Off Hours Sweeps Relay Schedule]\tR05 Relay Name\tPARKING LOT EAST\tPARKING LO",
          "[DMX Schedule]\tR05 Relay Name\tPARKING LOT EAST\tPARKING LO"}},
        {"a name changed at the panel", [](ProgramState&) {},
         [](ProgramState& s) { s.Devices[1].DeviceName = "HALL"; },
         {"[Vantel Input Schedule]\tVT-01.1 Vantel Input\tVANTEL 01.1\tHALL.1",
          "[Vantel Pilot Schedule]\tVT-01.1 Vantel Input\tVANTEL 01.1\tHALL.1"}},
        {"a name that differs only in spaces", [](ProgramState& s) { s.Config.GroupNames[2] = "LOBBY 2"; },
         [](ProgramState& s) { s.Config.GroupNames[2] = " LOBBY  2"; },
         {"[Group Schedule]\tG03 Group Name\t\"LOBBY 2\"\t\" LOBBY  2\"",
          "[Off Hours Sweeps Group Schedule]\tG03 Group Name\t\"LOBBY 2\"\t\" LOBBY  2\""}},
    };
    SimProgram sim({}, {});
    ASSERT_FALSE(sim.Address().isEmpty());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto site = std::make_unique<ProgramState>(*base);
        c.site(*site);
        auto panel = std::make_unique<ProgramState>(*site);
        c.inPanel(*panel);
        const QString siteFile = Write("SITE.TMB", *site);
        const QString uploaded = dir.filePath("UPLOADED.TMB");
        ASSERT_EQ(RunCli({"download", Write("PANEL.TMB", *panel), "--tcp", sim.Address()}).code, 0);
        CliResult r = RunCli({"upload", uploaded, "--tcp", sim.Address(), "--names", "--base", siteFile});
        ASSERT_EQ(r.code, 0) << r.err;

        r = RunCli({"diff", siteFile, uploaded, "--as-panel"});
        EXPECT_EQ(r.code, c.lines.empty() ? 0 : 1) << r.err;
        EXPECT_EQ(Lines(r.out), c.lines);
        // Against the panel the same items, its values first.
        std::vector<std::string> swapped;
        for (const std::string& line : c.lines) {
            const std::size_t b = line.rfind('\t'), a = line.rfind('\t', b - 1);
            swapped.push_back(line.substr(0, a) + line.substr(b) + line.substr(a, b - a));
        }
        r = RunCli({"diff", siteFile, "--tcp", sim.Address(), "--names"});
        EXPECT_EQ(r.code, c.lines.empty() ? 0 : 1) << r.err;
        EXPECT_EQ(Lines(r.out), swapped);
    }
    // Without --as-panel every padded name is a difference, quoted so that it shows.
    const CliResult r = RunCli({"diff", dir.filePath("SITE.TMB"), dir.filePath("UPLOADED.TMB")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("[Relay Schedule]\tR01 Relay Name\t\"RELAY 01\"\t\"RELAY 01  \"\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("[Panel Settings]\tPanel Name\t\tVEL TAMBERLINE II \n"), std::string::npos) << r.out;
    EXPECT_GT(Lines(r.out).size(), 20u);
}

TEST_F(DiffCli, AFailedUploadEndsWithItsCode)
{
    SimProgram sim({"--wrong-checksum"}, {});
    ASSERT_FALSE(sim.Address().isEmpty());
    CliResult r = RunCli({"diff", a, "--tcp", sim.Address()});
    EXPECT_EQ(r.code, 2) << r.err;
    EXPECT_NE(r.err.find("Upload Error: 2"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");

    // A trace file that cannot be written is an error of its own, never
    // "they differ" (1) nor a transfer's error code (download's 1).
    const QString trace = dir.filePath("no such folder/TRACE.TXT");
    for (const char* command : {"diff", "download"}) {
        SCOPED_TRACE(command);
        r = RunCli({command, a, "--tcp", sim.Address(), "--trace", trace});
        EXPECT_EQ(r.code, 15) << r.err;
        EXPECT_NE(r.err.find("cannot write the trace file " + trace.toStdString()), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}
