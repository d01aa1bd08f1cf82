#include "CliRunner.h"
#include "PdfCheck.h"
#include "RichConfig.h"

#include "Defaults.h"
#include "DocumentReport.h"
#include "ReportPages.h"
#include "SettingsFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <regex>

using namespace t2;

namespace {

struct Site {
    QTemporaryDir dir;
    QString tmb;
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    Site()
    {
        ResetConfiguration(*state);
        state->Config.PanelName = "CLI SITE";
        state->Config.AddOnModuleType = 1;
        tmb = dir.filePath("SITE.TMB");
        std::string error;
        EXPECT_TRUE(WriteSettingsFile(tmb.toStdString(), state->Config, state->Devices, &error)) << error;
    }
};

TEST(CliReport, WritesTheReportOfTheFile)
{
    Site site;
    const QString out = site.dir.filePath("OUT.TXT");
    CliResult r = RunCli({"report", site.tmb, out});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string text = ReadFile(out);

    // Everything but the creation time is the library's report of the same file.
    ReportSettings s;
    s.SettingsFileName = site.tmb.toStdString();
    s.VersionText = "Version 8.09";
    const std::string expected = BuildReport(site.state->Config, site.state->Devices, s);
    const std::regex stamp("Document Created\t[01][0-9]:[0-5][0-9] [AP]M [01][0-9]/[0-3][0-9]/[0-9]{4}\r\n");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(text, m, stamp)) << text.substr(0, 300);
    const std::string fixed = std::regex_replace(text, stamp, "Document Created\t12:00 AM 01/01/2000\r\n");
    EXPECT_EQ(fixed, expected);
    EXPECT_NE(text.find("Tamberline II File Name\t" + site.tmb.toStdString() + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("[DMX Schedule]\r\n"), std::string::npos);
}

TEST(CliReport, OmitLeavesSectionsOut)
{
    Site site;
    const QString out = site.dir.filePath("OUT.TXT");
    CliResult r = RunCli({"report", site.tmb, out, "--omit", "0,3,11"});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string text = ReadFile(out);
    EXPECT_EQ(text.find("[Panel Settings]"), std::string::npos);
    EXPECT_EQ(text.find("[Local Input Schedule]"), std::string::npos);
    EXPECT_EQ(text.find("[DMX Schedule]"), std::string::npos);
    EXPECT_NE(text.find("[Relay Schedule]\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Open Close Times Schedule]\r\n"), std::string::npos);

    r = RunCli({"report", "--omit", "0,1,2,3,4,5,6,7,8,9,10,11", site.tmb, out});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string bare = ReadFile(out);
    EXPECT_EQ(std::count(bare.begin(), bare.end(), '\n'), 5) << bare;
    EXPECT_NE(bare.find("[End Of File]\r\n"), std::string::npos);
}

TEST(CliReport, FailuresAndUsage)
{
    Site site;
    const QString out = site.dir.filePath("OUT.TXT");

    // A settings file that cannot be read: one line naming it, no report left.
    CliResult r = RunCli({"report", site.dir.filePath("MISSING.TMB"), out});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("MISSING.TMB"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    EXPECT_FALSE(QFile::exists(out));

    // A report that cannot be written.
    const QString badOut = site.dir.filePath("no folder/OUT.TXT");
    r = RunCli({"report", site.tmb, badOut});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("OUT.TXT"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    EXPECT_EQ(QDir(site.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"SITE.TMB"});

    for (const QStringList& args : {QStringList{"report"}, QStringList{"report", site.tmb},
                                    QStringList{"report", site.tmb, out, "extra"},
                                    QStringList{"report", site.tmb, out, "--omit"},
                                    QStringList{"report", site.tmb, out, "--omit", "12"},
                                    QStringList{"report", site.tmb, out, "--omit", "1,,2"},
                                    QStringList{"report", site.tmb, out, "--omit", "3,"},
                                    QStringList{"report", site.tmb, out, "--omit", "-1"},
                                    QStringList{"report", site.tmb, out, "--bogus"}}) {
        r = RunCli(args);
        EXPECT_EQ(r.code, 64) << args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));
}

// The report laid out on pages, written by the tool on a machine without a
// display: every line of the text report is in it, on numbered pages, and no
// word runs past a margin, with a wide relay schedule wrapped in its cells.
TEST(CliReport, PdfHoldsEveryLineOfTheReportOnNumberedPagesWithoutADisplay)
{
    QTemporaryDir dir;
    auto r = fixtures::RichRecords();
    // A master relay switched by every input and timer and in every group, and
    // a name longer than its column: cells that must wrap.
    for (int i = 0; i < 16; ++i) r->config.InputRelayControl(i, 0) = 1;
    for (int t = 0; t < 48; ++t) r->config.TimerRelayControl(t, 0) = 1;
    for (int g = 0; g < 48; ++g) r->config.GroupRelays(g, 0) = True;
    r->config.RelayNames[3] = "A RELAY NAME FAR LONGER THAN ANY PANEL SHOWS, KEPT WHOLE ON PAPER";
    const QString tmb = dir.filePath("SITE.TMB");
    std::string error;
    ASSERT_TRUE(WriteSettingsFile(tmb.toStdString(), r->config, r->devices, &error)) << error;

    // Whatever platform the environment names, and with no display at all.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const QByteArray display = qgetenv("DISPLAY");
    qputenv("QT_QPA_PLATFORM", "xcb");
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    struct Case {
        const char* what;
        QStringList omit;
        const char* absent;   // a section title the PDF must not have
    };
    const Case cases[] = {
        {"every section", {}, nullptr},
        {"sections left out", {"--omit", "3,10"}, "Open Close Times Schedule"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString txt = dir.filePath("SITE.TXT");
        const QString pdf = dir.filePath("SITE.PDF");
        CliResult run = RunCli(QStringList{"report", tmb, txt} + c.omit);
        ASSERT_EQ(run.code, 0) << run.err;
        run = RunCli(QStringList{"report", tmb, pdf} + c.omit);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.err, "");
        ASSERT_TRUE(ReadAll(pdf).startsWith("%PDF-"));
        const int pages = test::ExpectReportPdf(pdf, ReadAll(txt), ReportPdfMarginPoints, false);
        EXPECT_GE(pages, 3);
        const QString text = test::PdfPageTexts(pdf).join(QString());
        if (!c.absent) {
            EXPECT_TRUE(text.contains("Open Close Times Schedule (continued)"));   // titles come again
        } else {
            EXPECT_FALSE(text.contains(c.absent));
            EXPECT_FALSE(text.contains("Local Input Schedule"));
        }
    }

    // A PDF that cannot be written leaves nothing behind.
    const CliResult failed = RunCli({"report", tmb, dir.filePath("no folder/OUT.pdf")});
    EXPECT_EQ(failed.code, 1);
    EXPECT_NE(failed.err.find("OUT.pdf"), std::string::npos) << failed.err;
    EXPECT_FALSE(QFile::exists(dir.filePath("no folder")));
    qputenv("QT_QPA_PLATFORM", platform);
    if (!display.isEmpty()) qputenv("DISPLAY", display);
}

}  // namespace
