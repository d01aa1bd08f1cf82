#include "CliRunner.h"

#include "Defaults.h"
#include "ImagePacking.h"
#include "SettingsFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>

using namespace t2;

namespace {

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

std::unique_ptr<ProgramState> SampleState()
{
    auto s = std::make_unique<ProgramState>();
    ResetConfiguration(*s);
    s->Config.PanelName = "CLI PANEL";
    s->Config.RelayNames[0] = "STAGE LEFT WING";
    s->Config.InputRelayControl(3, 40) = 6;
    s->Config.DmxOnLevel = 100;
    s->Config.OverrideMinutes = -5;
    s->Config.InputTimedOnTime[2] = 50000;
    s->Config.ModemPhoneNumber() = "5550100";
    s->Devices[9].DeviceType = 2;
    s->Devices[9].DeviceName = "KEYPAD";
    return s;
}

}  // namespace

TEST(CliImage, ImageAndApplyImageRoundTrip)
{
    QTemporaryDir dir;
    auto s = SampleState();
    std::string error;
    const QString tmb = dir.filePath("SAMPLE.TMB");
    ASSERT_TRUE(WriteSettingsFile(tmb.toStdString(), s->Config, s->Devices, &error)) << error;

    const QString bin = dir.filePath("SAMPLE.BIN");
    CliResult r = RunCli({"image", tmb, bin, "--password", "123456"});
    ASSERT_EQ(r.code, 0) << r.err;
    const QByteArray image = ReadAll(bin);
    ASSERT_EQ(image.size(), 24576);
    EXPECT_EQ(image.mid(8037, 18), QByteArray("CLI PANEL         "));
    EXPECT_EQ(image.mid(8058, 6), QByteArray("\x01\x02\x03\x04\x05\x06", 6));
    EXPECT_EQ(static_cast<unsigned char>(image[8161]), 255);  // 100 percent
    EXPECT_EQ(static_cast<unsigned char>(image[8017]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(image[8018]), 0xFB);

    // The same bytes as the library builds for a download.
    BuildPanelImage(s->Config, s->Devices, {1, 2, 3, 4, 5, 6}, s->Image);
    EXPECT_EQ(image.toStdString(), PanelImageBytes(s->Image));

    // Default password 000000.
    const QString plain = dir.filePath("PLAIN.BIN");
    r = RunCli({"image", tmb, plain});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadAll(plain).mid(8058, 6), QByteArray(6, '\0'));

    // Applied over a fresh configuration, without and with names.
    const QString fresh = dir.filePath("FRESH.TMB");
    ASSERT_EQ(RunCli({"new", fresh}).code, 0);
    const QString out = dir.filePath("OUT.TMB");
    r = RunCli({"apply-image", bin, fresh, out});
    ASSERT_EQ(r.code, 0) << r.err;
    auto got = std::make_unique<ProgramState>();
    ASSERT_TRUE(ReadSettingsFile(out.toStdString(), got->Config, got->Devices, &error)) << error;
    EXPECT_EQ(got->Config.PanelName, "CLI PANEL         ");
    EXPECT_EQ(got->Config.RelayNames[0], "RELAY 01");
    EXPECT_EQ(got->Config.InputRelayControl(3, 40), 6);
    EXPECT_EQ(got->Config.DmxOnLevel, 100);
    EXPECT_EQ(got->Config.OverrideMinutes, -5);
    EXPECT_EQ(got->Config.InputTimedOnTime[2], 50000);
    EXPECT_EQ(got->Config.ModemPhoneNumber(), "");
    EXPECT_EQ(got->Devices[9].DeviceType, 2);
    EXPECT_EQ(got->Devices[9].DeviceName, "VANTEL 09");

    const QString named = dir.filePath("NAMED.TMB");
    r = RunCli({"apply-image", bin, fresh, named, "--names"});
    ASSERT_EQ(r.code, 0) << r.err;
    ASSERT_TRUE(ReadSettingsFile(named.toStdString(), got->Config, got->Devices, &error)) << error;
    EXPECT_EQ(got->Config.RelayNames[0], "STAGE LEFT");
    EXPECT_EQ(got->Devices[9].DeviceName, "KEYPAD    ");

    // Uploading and downloading again gives the panel the same bytes.
    const QString again = dir.filePath("AGAIN.BIN");
    ASSERT_EQ(RunCli({"image", named, again, "--password", "123456"}).code, 0);
    EXPECT_EQ(ReadAll(again), image);
}

TEST(CliImage, RefusesWrongSizeAndBadArguments)
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath("FRESH.TMB");
    ASSERT_EQ(RunCli({"new", fresh}).code, 0);
    const QString out = dir.filePath("OUT.TMB");

    for (int size : {0, 24575, 24577, 32768}) {
        const QString bin = dir.filePath(QString("WRONG%1.BIN").arg(size));
        WriteAll(bin, QByteArray(size, '\0'));
        CliResult r = RunCli({"apply-image", bin, fresh, out});
        EXPECT_EQ(r.code, 1) << size;
        EXPECT_NE(r.err.find(QString("WRONG%1.BIN").arg(size).toStdString()), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("24576"), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(QFile::exists(out));
    }

    // Missing files fail with the file named and no output.
    CliResult r = RunCli({"image", dir.filePath("MISSING.TMB"), dir.filePath("X.BIN")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("MISSING.TMB"), std::string::npos) << r.err;
    EXPECT_FALSE(QFile::exists(dir.filePath("X.BIN")));
    r = RunCli({"apply-image", dir.filePath("MISSING.BIN"), fresh, out});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("MISSING.BIN"), std::string::npos) << r.err;
    EXPECT_FALSE(QFile::exists(out));

    const QStringList usage[] = {
        {"image", fresh},
        {"image", fresh, "A.BIN", "--password"},
        {"image", fresh, "A.BIN", "--password", "12345"},
        {"image", fresh, "A.BIN", "--password", "12345a"},
        {"image", fresh, "A.BIN", "--verbose"},
        {"apply-image", "A.BIN", fresh},
        {"apply-image", "A.BIN", fresh, out, "extra"},
        {"apply-image", "A.BIN", fresh, out, "--name"},
    };
    for (const QStringList& args : usage) {
        r = RunCli(args);
        EXPECT_EQ(r.code, 64) << args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));
}
