// The panel commands of tamberline-cli against the simulated panel program
// over loopback TCP/IP.
#include "CliRunner.h"
#include "SimProgram.h"

#include "../common/ReportChanges.h"

#include "Defaults.h"
#include "ImagePacking.h"
#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <memory>
#include <stdlib.h>
#include <unistd.h>

using namespace t2;

namespace {

std::string Read(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
}

// Runs the tool with a terminal (a pseudo-terminal) as its standard input and
// types the answer once it has asked.
CliResult RunCliOnTerminal(const QStringList& args, const QByteArray& typed)
{
    CliResult r;
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return r;
    const QString slavePath = QString::fromLocal8Bit(ptsname(master));
    const int slave = open(ptsname(master), O_RDWR | O_NOCTTY);  // keeps what is typed while the tool starts
    QProcess p;
    p.setStandardInputFile(slavePath);
    p.start(QStringLiteral(T2_CLI), args);
    QByteArray err;
    while (p.state() != QProcess::NotRunning && !err.contains("Continue?")) {
        p.waitForReadyRead(200);
        err += p.readAllStandardError();
    }
    if (::write(master, typed.constData(), static_cast<size_t>(typed.size())) < 0) r.err = "not typed";
    p.waitForFinished(120000);
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput().toStdString();
    r.err += (err + p.readAllStandardError()).toStdString();
    if (slave >= 0) close(slave);
    close(master);
    return r;
}

struct SessionCli : ::testing::Test {
    QTemporaryDir dir;
    QString Path(const QString& name) const { return dir.filePath(name); }
};

}  // namespace

TEST_F(SessionCli, StatusAndSetClock)
{
    SimProgram sim({"--addon", "1,4", "--io", "16"}, {});
    ASSERT_FALSE(sim.Address().isEmpty());
    CliResult r = RunCli({"status", "--tcp", sim.Address()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Revision: CLI PANEL"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Time: "), std::string::npos);
    EXPECT_NE(r.out.find("Date: "), std::string::npos);
    EXPECT_NE(r.out.find("I/O Installed: 16 Inputs/Relays"), std::string::npos);
    EXPECT_NE(r.out.find("Add-On Card: DMX  Rev 4"), std::string::npos);
    // The add-on card differs from a fresh configuration: said, not asked.
    EXPECT_NE(r.err.find("add-on card: panel 1, host 0"), std::string::npos) << r.err;

    // The clock goes at the start of the next minute of the clock it is set
    // from (here one that reads --time now), or at once with --now.
    struct Case {
        QStringList options;
        const char* frame;     // the command as it went
        bool waited;
        const char* time;      // the panel's clock afterwards
    };
    const Case cases[] = {
        {{"--time", "2014-03-07T14:05"}, "[00000E0503070E5", false, "Time: 02:05:0"},
        {{"--time", "2014-03-07T14:05:58"}, "[00000E0603070E5", true, "Time: 02:06:0"},
        {{"--time", "2014-03-07T14:05:58", "--now"}, "[00000E0503070E5", false, "Time: 02:05:0"},
    };
    const QString trace = Path("trace.txt");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        r = RunCli(QStringList{"set-clock", "--tcp", sim.Address(), "--trace", trace} + c.options);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_NE(Read(trace).find(c.frame), std::string::npos) << Read(trace);
        EXPECT_EQ(r.err.find("Setting the clock at the start of the next minute, in ") != std::string::npos,
                  c.waited)
            << r.err;
        r = RunCli({"status", "--tcp", sim.Address()});
        EXPECT_NE(r.out.find(c.time), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("Date: Fri 03/07/14"), std::string::npos) << r.out;
    }
}

TEST_F(SessionCli, DownloadThenUploadRoundTrip)
{
    // A configuration to send.
    ProgramState s;
    ResetConfiguration(s);
    s.Config.RelayNames[0] = "CLI RELAY";
    s.Config.NodeIOCount[3] = 4;
    s.Devices[2].DeviceType = 1;
    const QString in = Path("in.TMB");
    ASSERT_TRUE(WriteSettingsFile(in.toStdString(), s.Config, s.Devices, nullptr));

    const QString dump = Path("panel.bin");
    {
        SimProgram sim({"--password", "111111"}, dump);
        ASSERT_FALSE(sim.Address().isEmpty());
        // Wrong password: exit 11, the panel untouched.
        CliResult r = RunCli({"download", in, "--tcp", sim.Address()});
        EXPECT_EQ(r.code, 11) << r.err;
        EXPECT_NE(r.err.find("Password Invalid."), std::string::npos);

        r = RunCli({"download", in, "--tcp", sim.Address(), "--password", "111111", "--new-password", "424242"});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.err.find("Downloading Block 384 Of 384"), std::string::npos);
        EXPECT_NE(r.err.find("Download Complete"), std::string::npos);

        // Upload onto a base whose names are longer than the panel keeps.
        ProgramState base;
        ResetConfiguration(base);
        base.Config.RelayNames[0] = "A LONG HOST NAME";
        const QString baseFile = Path("base.TMB");
        ASSERT_TRUE(WriteSettingsFile(baseFile.toStdString(), base.Config, base.Devices, nullptr));
        for (bool names : {false, true}) {
            const QString out = Path(names ? "names.TMB" : "nonames.TMB");
            QStringList args = {"upload", out, "--tcp", sim.Address(), "--base", baseFile};
            if (names) args << "--names";
            r = RunCli(args);
            ASSERT_EQ(r.code, 0) << r.err;
            ProgramState got;
            ASSERT_TRUE(ReadSettingsFile(out.toStdString(), got.Config, got.Devices, nullptr));
            EXPECT_EQ(got.Config.RelayNames[0], names ? "CLI RELAY " : "A LONG HOST NAME");
            EXPECT_EQ(got.Config.NodeIOCount[3], 4);
            EXPECT_EQ(got.Devices[2].DeviceType, 1);
        }
        sim.Stop();
    }
    PanelImage expected{};
    BuildPanelImage(s.Config, s.Devices, {4, 2, 4, 2, 4, 2}, expected);
    EXPECT_EQ(Read(dump), PanelImageBytes(expected));
}

TEST_F(SessionCli, FailuresAndUsage)
{
    const QString in = Path("in.TMB");
    ASSERT_EQ(RunCli({"new", in}).code, 0);

    // Nobody listening: exit 10.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const QString nowhere = "127.0.0.1:" + QString::number(closed.serverPort());
    closed.close();
    CliResult r = RunCli({"status", "--tcp", nowhere});
    EXPECT_EQ(r.code, 10) << r.err;
    EXPECT_NE(r.err.find("Connection Failed."), std::string::npos);

    // set-link writes the connection settings into a copy of a settings file.
    const QString linked = Path("linked.TMB");
    r = RunCli({"set-link", in, linked, "--tcp", "10.0.0.9"});
    ASSERT_EQ(r.code, 0) << r.err;
    ProgramState got;
    ASSERT_TRUE(ReadSettingsFile(linked.toStdString(), got.Config, got.Devices, nullptr));
    EXPECT_EQ(got.Config.ConnectionType(), ConnectTcpIp);
    EXPECT_EQ(got.Config.PanelAddress(), "10.0.0.9");
    r = RunCli({"set-link", linked, linked, "--com", "3", "--phone", "555-1234"});
    ASSERT_EQ(r.code, 0) << r.err;
    ASSERT_TRUE(ReadSettingsFile(linked.toStdString(), got.Config, got.Devices, nullptr));
    EXPECT_EQ(got.Config.ConnectionType(), ConnectModem);
    EXPECT_EQ(got.Config.CommPort, 3);
    EXPECT_EQ(got.Config.ModemPhoneNumber(), "555-1234");

    // Usage errors: exit 64.
    for (const QStringList& args :
         {QStringList{"status"}, QStringList{"status", "--tcp", "a", "--serial", "/dev/null"},
          QStringList{"download", in, "--tcp", "127.0.0.1", "--password", "12ab56"},
          QStringList{"upload", "--tcp", "127.0.0.1"}, QStringList{"set-clock", "--modem", "/dev/null"},
          QStringList{"status", "--tcp", "127.0.0.1:70000"}, QStringList{"status", "--tcp", "h", "--bogus"},
          QStringList{"set-link", in, linked, "--com", "17"}, QStringList{"set-link", in, linked}}) {
        r = RunCli(args);
        EXPECT_EQ(r.code, 64) << args.join(' ').toStdString() << ": " << r.err;
    }

    // A wrong checksum: download exits 2; an upload exits 2 and writes nothing.
    SimProgram sim({"--wrong-checksum"}, {});
    ASSERT_FALSE(sim.Address().isEmpty());
    r = RunCli({"download", in, "--tcp", sim.Address()});
    EXPECT_EQ(r.code, 2) << r.err;
    EXPECT_NE(r.err.find("Download Error: 2"), std::string::npos);
    const QString out = Path("out.TMB");
    r = RunCli({"upload", out, "--tcp", sim.Address()});
    EXPECT_EQ(r.code, 2) << r.err;
    EXPECT_NE(r.err.find("Upload Error: 2"), std::string::npos);
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(SessionCli, APanelAnsweringLateGivesRightValuesAndTakesTheRightPassword)
{
    // The first three replies come 4.5 seconds late, past the 3-second time-out
    // of "05": the second "05" reply lands in the wait of the next command.
    {
        SimProgram sim({"--late", "4500,3", "--addon", "1,4", "--io", "16"}, {});
        ASSERT_FALSE(sim.Address().isEmpty());
        const CliResult r = RunCli({"status", "--tcp", sim.Address()});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.out.find("Revision: CLI PANEL"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("I/O Installed: 16 Inputs/Relays"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("Add-On Card: DMX  Rev 4"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("00/00/00"), std::string::npos) << r.out;
    }
    {
        const QString in = Path("in.TMB");
        ASSERT_EQ(RunCli({"new", in}).code, 0);
        SimProgram sim({"--late", "4500,3", "--password", "111111"}, {});
        ASSERT_FALSE(sim.Address().isEmpty());
        const CliResult r = RunCli({"download", in, "--tcp", sim.Address(), "--password", "111111"});
        EXPECT_EQ(r.err.find("Password Invalid."), std::string::npos) << r.err;
        EXPECT_EQ(r.code, 0) << r.err;
    }
}

TEST_F(SessionCli, ADownloadCutShortSaysThePanelIsPartlyWritten)
{
    const QString in = Path("in.TMB");
    ASSERT_EQ(RunCli({"new", in}).code, 0);
    SimProgram sim({"--close-after", "21"}, {});  // "05", the password read, 19 blocks
    ASSERT_FALSE(sim.Address().isEmpty());
    const CliResult r = RunCli({"download", in, "--tcp", sim.Address()});
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_NE(r.err.find("Download Error: 1. The Panel Is Partly Written: Blocks 1 To 19 Of 384"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("Repeat The Download Before The Panel Is Left In Service."), std::string::npos);
}

// download --backup saves the panel's settings first (a folder gets the
// backup's own name) and leaves a panel that already holds the file alone;
// --confirm asks on the terminal and refuses without one.
TEST_F(SessionCli, DownloadWithABackupAndTheQuestion)
{
    auto old = std::make_unique<ProgramState>();
    fixtures::ChangesBase(*old);
    old->Config.PanelName = "OLD/SITE";
    old->Config.TimeZone = 3;
    auto oldImage = std::make_unique<PanelImage>();
    BuildPanelImage(old->Config, old->Devices, {0, 0, 0, 0, 0, 0}, *oldImage);
    const QString memory = Path("memory.bin");
    ASSERT_TRUE(WriteFileAtomically(memory.toStdString(), PanelImageBytes(*oldImage), nullptr));
    auto next = std::make_unique<ProgramState>();
    fixtures::ChangesBase(*next);
    const QString in = Path("in.TMB");
    ASSERT_TRUE(WriteSettingsFile(in.toStdString(), next->Config, next->Devices, nullptr));
    const QString folder = Path("backups");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString dump = Path("panel.bin");
    const QString trace = Path("trace.txt");
    auto writesIn = [&] {
        const std::string t = Read(trace);
        return t.find("sent [0030") != std::string::npos || t.find("sent [0036") != std::string::npos;
    };
    {
        SimProgram sim({"--memory", memory}, dump);
        ASSERT_FALSE(sim.Address().isEmpty());

        // --confirm without a terminal: refused before anything is sent.
        CliResult r = RunCli({"download", in, "--tcp", sim.Address(), "--confirm", "--trace", trace});
        EXPECT_EQ(r.code, 64) << r.err;
        EXPECT_NE(r.err.find("terminal"), std::string::npos) << r.err;
        EXPECT_EQ(Read(trace), "");

        // Answered no on the terminal: exit 13, nothing written.
        r = RunCliOnTerminal({"download", in, "--tcp", sim.Address(), "--confirm", "--trace", trace}, "n\n");
        EXPECT_EQ(r.code, 13) << r.err;
        EXPECT_NE(r.err.find("[Panel Settings]\t2\nThe Download Will Change 2 Items In The Tamberline II. "
                             "Continue? [y/N] "),
                  std::string::npos)
            << r.err;
        EXPECT_FALSE(writesIn());
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{});

        // --backup into a folder, then the download.
        r = RunCli({"download", in, "--tcp", sim.Address(), "--backup", folder});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.err.find("Download Complete"), std::string::npos) << r.err;
        const QStringList files = QDir(folder).entryList(QDir::Files);
        ASSERT_EQ(files.size(), 1);
        EXPECT_TRUE(files[0].startsWith("OLD_SITE 20") && files[0].endsWith(".TMB")) << files[0].toStdString();
        EXPECT_NE(r.err.find("saved in " + QDir(folder).filePath(files[0]).toStdString()), std::string::npos) << r.err;
        auto expected = std::make_unique<ProgramState>(*next);
        ApplyPanelImage(*oldImage, expected->Config, expected->Devices, true);
        auto saved = std::make_unique<ProgramState>();
        std::string error;
        ASSERT_TRUE(ReadSettingsFile(QDir(folder).filePath(files[0]).toStdString(), saved->Config, saved->Devices,
                                     &error))
            << error;
        EXPECT_TRUE(saved->Config == expected->Config);
        EXPECT_TRUE(saved->Devices == expected->Devices);

        // Again, with --backup naming a file: the panel holds the file now,
        // so nothing is written (nor asked).
        const QString file = Path("before.TMB");
        r = RunCliOnTerminal({"download", in, "--tcp", sim.Address(), "--backup", file, "--confirm", "--trace", trace},
                             {});
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.err.find("The Tamberline II Already Holds These Settings."), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("Continue?"), std::string::npos) << r.err;
        EXPECT_FALSE(writesIn());
        EXPECT_TRUE(QFile::exists(file));

        // A backup that cannot be saved: exit 14, nothing written.
        r = RunCli({"download", in, "--tcp", sim.Address(), "--backup", in + "/x.TMB", "--trace", trace});
        EXPECT_EQ(r.code, 14) << r.err;
        EXPECT_NE(r.err.find("the backup could not be saved"), std::string::npos) << r.err;
        EXPECT_FALSE(writesIn());
        sim.Stop();
    }
    auto written = std::make_unique<PanelImage>();
    BuildPanelImage(next->Config, next->Devices, {0, 0, 0, 0, 0, 0}, *written);
    EXPECT_EQ(Read(dump), PanelImageBytes(*written));

    // Answered yes on the terminal: written. A panel that goes away during
    // the backup: exit 14, and it says so.
    {
        SimProgram sim({"--memory", memory}, dump);
        ASSERT_FALSE(sim.Address().isEmpty());
        CliResult r = RunCliOnTerminal({"download", in, "--tcp", sim.Address(), "--confirm"}, "yes\n");
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.err.find("Download Complete"), std::string::npos) << r.err;
        sim.Stop();
    }
    EXPECT_EQ(Read(dump), PanelImageBytes(*written));
    {
        SimProgram sim({"--memory", memory, "--close-after", "30"}, dump);  // "05", the password, 28 blocks
        ASSERT_FALSE(sim.Address().isEmpty());
        const CliResult r = RunCli({"download", in, "--tcp", sim.Address(), "--backup", folder});
        EXPECT_EQ(r.code, 14) << r.err;
        EXPECT_NE(r.err.find("The Tamberline II Did Not Answer While Its Settings Were Read (Upload Error: 19). The "
                             "Download Did Not Start."),
                  std::string::npos)
            << r.err;
        sim.Stop();
    }
    EXPECT_EQ(Read(dump), PanelImageBytes(*oldImage));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1);
}
