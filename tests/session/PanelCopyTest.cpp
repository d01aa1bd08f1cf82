// The pieces a backup and a comparison with the panel are made of, without a
// panel: the backup's file name and its save, what a download would change,
// and the time a reading of the panel takes.
#include "PanelCopy.h"

#include "../common/ReportChanges.h"

#include "Defaults.h"
#include "ImagePacking.h"
#include "SettingsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace t2;

TEST(PanelCopy, BackupFileNames)
{
    const QDateTime moment(QDate(2026, 12, 10), QTime(14, 30, 5));
    struct Case {
        Bytes panelName;
        std::string file;
    };
    for (const Case& c : std::vector<Case>{
             {"MAIN STREET       ", "MAIN STREET 2026-12-10 143005.TMB"},   // as the panel keeps it: 18 characters
             {"", "VEL TAMBERLINE II 2026-12-10 143005.TMB"},
             {"      ", "VEL TAMBERLINE II 2026-12-10 143005.TMB"},
             {"A/B\\C:D*E?F\"G<H>I|J", "A_B_C_D_E_F_G_H_I_J 2026-12-10 143005.TMB"},
             {"\x01TAB\x7F", "_TAB_ 2026-12-10 143005.TMB"},
             {"..", "__ 2026-12-10 143005.TMB"},
             {"CAF\xC9", "CAF\xC3\x89 2026-12-10 143005.TMB"},  // Windows-1252 on the panel, UTF-8 on disk
         }) {
        EXPECT_EQ(BackupFileName(c.panelName, moment), c.file) << c.panelName;
    }
}

TEST(PanelCopy, BackupsGoIntoTheirFolderAndNeverReplaceOne)
{
    QTemporaryDir dir;
    auto copy = std::make_unique<PanelCopy>();
    ResetConfiguration(copy->config, copy->devices);
    copy->config.PanelName = "SITE 4            ";
    copy->config.RelayNames[3] = "STAGE     ";
    copy->readAt = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
    const std::string folder = dir.filePath("VEL Tamberline II/Backups").toStdString();

    std::string error;
    const std::string first = SaveBackupInFolder(*copy, folder, &error);
    ASSERT_FALSE(first.empty()) << error;
    EXPECT_EQ(QFileInfo(QString::fromStdString(first)).fileName(), "SITE 4 2026-01-02 030405.TMB");
    const std::string second = SaveBackupInFolder(*copy, folder, &error);
    EXPECT_EQ(QFileInfo(QString::fromStdString(second)).fileName(), "SITE 4 2026-01-02 030405 (2).TMB");
    EXPECT_EQ(QDir(QString::fromStdString(folder)).entryList(QDir::Files).size(), 2);

    // Member by member what the copy holds.
    auto read = std::make_unique<PanelCopy>();
    ASSERT_TRUE(ReadSettingsFile(first, read->config, read->devices, &error)) << error;
    EXPECT_EQ(read->config, copy->config);
    EXPECT_EQ(read->devices, copy->devices);

    // A folder that cannot be made is said, and nothing is left behind.
    const std::string blocked = dir.filePath("file").toStdString();
    ASSERT_TRUE(WriteFileAtomically(blocked, "x", nullptr));
    EXPECT_EQ(SaveBackupInFolder(*copy, blocked + "/Backups", &error), "");
    EXPECT_NE(error.find("the folder cannot be created"), std::string::npos) << error;
}

// The differences are the report's, the panel's side first; names only when
// asked for; and an empty list means nothing at all would change.
TEST(PanelCopy, WhatADownloadWouldChange)
{
    auto panel = std::make_unique<ProgramState>();
    fixtures::ChangesBase(*panel);
    auto panelImage = std::make_unique<PanelImage>();
    BuildPanelImage(panel->Config, panel->Devices, {}, *panelImage);

    auto host = std::make_unique<ProgramState>(*panel);
    EXPECT_TRUE(DownloadChanges(host->Config, host->Devices, *panelImage, true).empty());
    // Names longer than the panel keeps are the panel's once cut.
    host->Config.RelayNames[0] = "RELAY 01  AND MORE";
    host->Config.PanelName = "";
    EXPECT_TRUE(DownloadChanges(host->Config, host->Devices, *panelImage, true).empty());

    host->Config.GroupNames[2] = "LOBBY";
    host->Config.TimeZone = 3;
    EXPECT_EQ(DownloadChanges(host->Config, host->Devices, *panelImage, false),
              (std::vector<ReportDifference>{{"[Panel Settings]", "Time Zone", "Central", "Pacific"}}));
    const auto withNames = DownloadChanges(host->Config, host->Devices, *panelImage, true);
    ASSERT_EQ(withNames.size(), 3u);
    EXPECT_EQ(withNames[1], (ReportDifference{"[Group Schedule]", "G03 Group Name", "GROUP 03  ", "LOBBY     "}));

    // A setting the report does not show is listed by its name.
    host = std::make_unique<ProgramState>(*panel);
    host->Config.RtcSource = 1;
    host->Config.InputType[40] = 4;  // beyond the eight inputs the report lists
    EXPECT_EQ(DownloadChanges(host->Config, host->Devices, *panelImage, false),
              (std::vector<ReportDifference>{{"[Other Settings]", "InputType 41", "0", "4"},
                                             {"[Other Settings]", "RtcSource", "0", "1"}}));
}

TEST(PanelCopy, ReadingTimeForEachLink)
{
    EXPECT_EQ(PanelReadTimeEstimate(ConnectDirectSerial), "about 5 seconds");  // 56088 characters at 115200 baud
    EXPECT_EQ(PanelReadTimeEstimate(ConnectModem), "about a minute");         // at 9600 baud
    EXPECT_EQ(PanelReadTimeEstimate(ConnectTcpIp), "a few seconds");
}
