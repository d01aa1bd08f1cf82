#include "CliRunner.h"

#include "Defaults.h"
#include "SettingsFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>

using namespace t2;

TEST(CliModel, NewResaveAndInfo)
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath("FRESH.TMB");
    CliResult r = RunCli({"new", fresh});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadAll(fresh).size(), 103099);

    // A file with odd contents is written back byte for byte.
    auto s = std::make_unique<ProgramState>();
    ResetConfiguration(*s);
    s->Config.PanelName = std::string(300, 'Z');
    s->Config.RelayNames[2] = "";
    s->Config.InputTimedOnTime[0] = 70000;
    s->Config.ModemPhoneNumber() = "5550100";
    s->Config.NodeIOCount[12] = 9;
    s->Config.NodeIOCount[1] = 2;
    s->Devices[0].DeviceReserved[5] = -9;
    s->Devices[3].DeviceType = 2;
    std::string error;
    const QString odd = dir.filePath("ODD.TMB");
    ASSERT_TRUE(WriteSettingsFile(odd.toStdString(), s->Config, s->Devices, &error));
    const QString again = dir.filePath("AGAIN.TMB");
    r = RunCli({"resave", odd, again});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadAll(odd), ReadAll(again));

    r = RunCli({"info", odd});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("I/O points:    12"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Vantel devices: 1 (3 VANTEL 03)"), std::string::npos) << r.out;
}

TEST(CliModel, ErrorsNameTheFileAndLeaveNoOutput)
{
    QTemporaryDir dir;
    const QString bad = dir.filePath("BAD.TMB");
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\x10\0short", 7);
    }
    const QString out = dir.filePath("OUT.TMB");
    CliResult r = RunCli({"resave", bad, out});
    EXPECT_NE(r.code, 0);
    EXPECT_NE(r.err.find("BAD.TMB"), std::string::npos) << r.err;
    EXPECT_FALSE(QFile::exists(out));

    r = RunCli({"resave", bad});
    EXPECT_EQ(r.code, 64);
    r = RunCli({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("resave"), std::string::npos);
}
