// The names command as an installer runs it: the names out to a spreadsheet
// and back into a settings file.
#include "CliRunner.h"

#include "Defaults.h"
#include "NamesCsv.h"
#include "SettingsFile.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

using namespace t2;

namespace {

struct Sites {
    QTemporaryDir dir;
    QString named;   // a name in every member
    QString plain;   // the same configuration with the default names
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();

    Sites()
    {
        ResetConfiguration(*state);
        state->Config.NodeIOCount.fill(2);
        state->Config.ModemPhoneNumber() = "5550100";
        std::string error;
        plain = dir.filePath("PLAIN.TMB");
        EXPECT_TRUE(WriteSettingsFile(plain.toStdString(), state->Config, state->Devices, &error)) << error;
        int n = 0;
        for (const NameKindInfo& kind : NameKinds) {
            for (int k = kind.count == 0 ? 0 : 1; k <= kind.count; ++k)
                NameOf(state->Config, state->Devices, kind.kind, k) = "SITE NAME " + std::to_string(n++);
        }
        named = dir.filePath("NAMED.TMB");
        EXPECT_TRUE(WriteSettingsFile(named.toStdString(), state->Config, state->Devices, &error)) << error;
    }
    QString Path(const char* name) const { return dir.filePath(name); }
};

}  // namespace

TEST(CliNames, ExportThenImportGivesTheSameSettingsFile)
{
    Sites sites;
    const QString csv = sites.Path("NAMES.csv");
    CliResult r = RunCli({"names", sites.named, csv});
    ASSERT_EQ(r.code, 0) << r.err;
    const QByteArray written = ReadAll(csv);
    EXPECT_EQ(written.toStdString(), WriteNamesCsv(sites.state->Config, sites.state->Devices));

    // Standard output, without a name or with "-", carries the same bytes.
    for (const QStringList& args : {QStringList{"names", sites.named}, QStringList{"names", sites.named, "-"}}) {
        r = RunCli(args);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(QByteArray::fromStdString(r.out), written);
    }

    const QString out = sites.Path("OUT.TMB");
    r = RunCli({"names", sites.plain, "--import", csv, out});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadAll(out), ReadAll(sites.named));
    // One preview line per name, in the file's order of the kinds.
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 273) << r.out;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Panel \"\" -> \"SITE NAME 0\"");
    EXPECT_NE(r.out.find("\nRelay 1 \"RELAY 01\" -> \"SITE NAME 1\" (longer than the 10 characters the panel keeps)\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("\nVantel 32 \"VANTEL 20\" -> \"SITE NAME 272\" (longer than the 8 characters the panel shows)\n"),
              std::string::npos);
}

TEST(CliNames, ImportPrintsThePreviewAndRefusesBadRows)
{
    Sites sites;
    const QString good = sites.Path("GOOD.csv");
    {
        QFile f(good);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Kind;Number;Name\r\nrelay;2;lobby!\r\nRelay;1;RELAY 01\r\n");
    }
    const QString out = sites.Path("OUT.TMB");
    CliResult r = RunCli({"names", sites.plain, "--import", good, out});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Relay 2 \"RELAY 02\" -> \"LOBBY\" (filtered from \"lobby!\")\n");
    PanelConfig config;
    VantelDevices devices;
    std::string error;
    ASSERT_TRUE(ReadSettingsFile(out.toStdString(), config, devices, &error)) << error;
    EXPECT_EQ(config.RelayNames[1], "LOBBY");
    EXPECT_EQ(config.ModemPhoneNumber(), "5550100");

    const QString bad = sites.Path("BAD.csv");
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Kind,Number,Name\r\nRelay,2,LOBBY\r\nRelay,49,EXTRA\r\nLamp,1,X\r\n");
    }
    const QString refused = sites.Path("REFUSED.TMB");
    r = RunCli({"names", sites.plain, "--import", bad, refused});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    const std::string b = bad.toStdString();
    EXPECT_EQ(r.err, "tamberline-cli: " + b + ": line 3: Relay number \"49\" is not in 1..48\n" +
                         "tamberline-cli: " + b + ": line 4: unknown kind \"Lamp\"\n" + "tamberline-cli: " + b +
                         ": nothing imported: 2 rows cannot be read\n");
    EXPECT_FALSE(QFileInfo::exists(refused));
}

TEST(CliNames, FailuresAndUsage)
{
    Sites sites;
    struct Case {
        const char* what;
        QStringList args;
        int code;
        std::string said;   // in stderr
    };
    const Case cases[] = {
        {"no settings file", {"names"}, 64, "usage: tamberline-cli names"},
        {"too many files", {"names", sites.named, "A.csv", "B.csv"}, 64, "usage:"},
        {"a settings file as the CSV output", {"names", sites.named, sites.plain}, 64, "written as CSV"},
        {"import without its output", {"names", sites.named, "--import", sites.Path("X.csv")}, 64, "--import takes"},
        {"import without its file", {"names", sites.named, "OUT.TMB", "--import"}, 64, "--import needs a value"},
        {"a missing settings file", {"names", sites.Path("NONE.TMB")}, 1, "NONE.TMB"},
        {"a missing names file", {"names", sites.named, "--import", sites.Path("NONE.csv"), sites.Path("O.TMB")}, 1,
         "NONE.csv"},
        {"a folder as names file", {"names", sites.named, "--import", sites.dir.path(), sites.Path("O.TMB")}, 1,
         sites.dir.path().toStdString()},
        {"a folder as output", {"names", sites.named, sites.dir.path()}, 1, "folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
        EXPECT_FALSE(QFileInfo::exists(sites.Path("O.TMB")));
    }
}
