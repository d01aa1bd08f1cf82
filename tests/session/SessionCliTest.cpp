// The panel commands of tamberline-cli against the simulated panel program
// over loopback TCP/IP.
#include "CliRunner.h"
#include "SimProgram.h"

#include "Defaults.h"
#include "ImagePacking.h"
#include "SettingsFile.h"

#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace t2;

namespace {

std::string Read(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
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

    const QString trace = Path("trace.txt");
    r = RunCli({"set-clock", "--tcp", sim.Address(), "--time", "2014-03-07T14:05", "--trace", trace});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(Read(trace).find("[00000E0503070E5"), std::string::npos) << Read(trace);
    r = RunCli({"status", "--tcp", sim.Address()});
    EXPECT_NE(r.out.find("Time: 02:05:"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Date: Fri 03/07/14"), std::string::npos) << r.out;
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
