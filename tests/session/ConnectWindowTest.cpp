// The connection window driven as a user drives it, against the simulated
// panel over loopback TCP/IP and a pseudo-terminal.
#include "ConnectWindowFixture.h"

#include "Hex.h"
#include "Twips.h"

#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTcpServer>

#include <cstdlib>

using namespace t2;
using namespace t2::test;

TEST_F(ConnectWindow, ConnectsOverTcpAndPtyAndDisconnectsWithTheSameButton)
{
    for (bool pty : {false, true}) {
        SCOPED_TRACE(pty ? "pty" : "tcp");
        sim.Panel().SetClock({13, 5, 0, 3, 15, 14, 6});
        sim.Panel().SetRevision("V1\x80");  // the panel's characters are Windows-1252
        if (pty)
            UsePty();
        else
            UseTcp();
        EXPECT_EQ(w->cmdConnect->text(), "Connect To Tamberline II");
        EXPECT_TRUE(w->fraOnLineFunctions->isHidden());
        Connect();

        // "V1" and the euro sign leave the other 37 labels showing a space.
        EXPECT_EQ(w->lblT2FirmwareRevision[0]->text(), "V");
        EXPECT_EQ(w->lblT2FirmwareRevision[1]->text(), "1");
        EXPECT_EQ(w->lblT2FirmwareRevision[2]->text(), QString(QChar(0x20AC)));
        for (int i = 3; i < 40; ++i) EXPECT_EQ(w->lblT2FirmwareRevision[i]->text(), " ") << i;
        EXPECT_EQ(w->Session().RevisionText().substr(0, 2), "V1");

        // Status: read once at connect on TCP/IP, by the timer on the serial line.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w->lblPanelTime->text().isEmpty(); }, 3000));
        EXPECT_TRUE(w->lblPanelTime->text().startsWith("01:05:")) << w->lblPanelTime->text().toStdString();
        EXPECT_TRUE(w->lblPanelTime->text().endsWith(" PM"));
        EXPECT_EQ(w->lblPanelDate->text(), "Sat 03/15/14");
        EXPECT_EQ(w->lblIOInstalled->text(), "04 Inputs/Relays");
        EXPECT_EQ(w->lblAddOnCardTypeRev->text(), "None");
        EXPECT_EQ(w->Timer1->isActive(), pty);
        EXPECT_EQ(w->cmdRefresh->isHidden(), pty);

        // Connected: the link choice is locked.
        EXPECT_EQ(w->cmdConnect->text(), pty ? "Disconnect From Tamberline II" : "Disconnect From Corvanthine");
        EXPECT_FALSE(w->fraOnLineFunctions->isHidden());
        for (auto* c : w->chkConnectionType) EXPECT_FALSE(c->isEnabled());
        for (auto* o : w->optComPort) EXPECT_FALSE(o->isEnabled());
        EXPECT_FALSE(w->txtTCPIP->isEnabled());
        EXPECT_FALSE(w->txtPhoneNumber->isEnabled());
        EXPECT_EQ(main->StatusPanel2->text(), "Connected");
        EXPECT_TRUE(w->Session().PanelConnected());
        EXPECT_EQ(w->Session().PolledLink(), pty);

        // Something typed into the password boxes is forgotten at disconnect.
        QTest::keyClick(w->txtPassWord[2], '7');
        QTest::keyClick(w->txtNewPassWord[4], '3');
        EXPECT_EQ(w->txtPassWord[2]->text(), "7");

        QTest::mouseClick(w->cmdConnect, Qt::LeftButton);
        EXPECT_FALSE(state.PanelConnected);
        EXPECT_EQ(w->cmdConnect->text(), "Connect To Tamberline II");
        EXPECT_TRUE(w->cmdConnect->isEnabled());
        EXPECT_TRUE(w->fraOnLineFunctions->isHidden());
        EXPECT_FALSE(w->Timer1->isActive());
        for (auto* c : w->chkConnectionType) EXPECT_TRUE(c->isEnabled());
        for (int i = 0; i < 16; ++i) EXPECT_EQ(w->optComPort[i]->isEnabled(), w->PortAvailable[i]) << i;
        for (auto* b : w->txtPassWord) EXPECT_EQ(b->text(), "0");
        for (auto* b : w->txtNewPassWord) EXPECT_EQ(b->text(), "0");
        EXPECT_EQ(main->StatusPanel2->text(), "Disconnected");
        if (pty) {
            EXPECT_TRUE(w->PortAvailable[0]);  // COM1 is the pseudo-terminal
        }
    }
    EXPECT_TRUE(prompts.asked.empty()) << prompts.Texts().join(" | ").toStdString();
}

TEST_F(ConnectWindow, StatusTimesOfTheDay)
{
    UseTcp();
    Connect();
    struct Case {
        int hour;
        const char* start;
        const char* end;
    };
    for (const Case& c : {Case{0, "12:05:", " AM"}, Case{12, "12:05:", " PM"}, Case{13, "01:05:", " PM"},
                          Case{9, "09:05:", " AM"}}) {
        sim.Panel().SetClock({c.hour, 5, 0, 3, 7, 14, 5});
        QTest::mouseClick(w->cmdRefresh, Qt::LeftButton);
        EXPECT_TRUE(w->lblPanelTime->text().startsWith(c.start)) << w->lblPanelTime->text().toStdString();
        EXPECT_TRUE(w->lblPanelTime->text().endsWith(c.end));
        EXPECT_EQ(w->lblPanelDate->text(), "Fri 03/07/14");
    }
    sim.Panel().SetAddOnCard(7, 2);
    sim.Panel().SetInstalledIO(16);
    QTest::mouseClick(w->cmdRefresh, Qt::LeftButton);
    EXPECT_EQ(w->lblAddOnCardTypeRev->text(), "Ethernet  Rev 2");
    EXPECT_EQ(w->lblIOInstalled->text(), "16 Inputs/Relays");
}

TEST_F(ConnectWindow, IoQuestionOncePerSessionYesAdoptsNoKeeps)
{
    const QString question =
        "Host I/O Configuration Does Not Match Panel Hardware.\nChange Host Configuration To Match Panel?";
    sim.Panel().SetNodeCodes({4, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
    UseTcp();
    const PanelConfig before = state.Config;

    // No: nothing changes, and the question is not asked again in this session.
    prompts.answers = {PromptAnswer::No};
    Connect();
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, question);
    EXPECT_EQ(prompts.asked[0].title, "VEL Tamberline II");
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Question);
    EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::YesNo);
    // Beside the question, host and panel side by side.
    const QStringList details = prompts.asked[0].table.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(details.size(), 14) << prompts.asked[0].table.toStdString();
    EXPECT_EQ(details[0], "\tHost\tPanel");
    EXPECT_EQ(details[1], "Node 1\t1 (04 I/O)\t4 (16 I/O)\tdiffers");
    EXPECT_EQ(details[2], "Node 2\t0 (No I/O)\t2 (08 I/O)\tdiffers");
    EXPECT_EQ(details[3], "Node 3\t0 (No I/O)\t0 (No I/O)");
    EXPECT_EQ(details[12], "Node C\t0 (No I/O)\t1 (04 I/O)\tdiffers");
    EXPECT_EQ(details[13], "Add-On Card\tNone (0)\tNone (0)");
    EXPECT_EQ(state.Config, before);
    EXPECT_FALSE(state.DataChanged);
    QTest::mouseClick(w->cmdRefresh, Qt::LeftButton);
    EXPECT_EQ(prompts.asked.size(), 1u);

    // After reconnecting it comes again; an add-on card alone differing is enough.
    QTest::mouseClick(w->cmdConnect, Qt::LeftButton);
    sim.Panel().SetNodeCodes({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    sim.Panel().SetAddOnCard(7, 1);
    prompts.answers = {PromptAnswer::Yes};
    Connect();
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[1].text, question);
    EXPECT_TRUE(prompts.asked[1].table.endsWith("Add-On Card\tNone (0)\tEthernet (7)\tdiffers\n"))
        << prompts.asked[1].table.toStdString();
    EXPECT_EQ(state.Config.AddOnModuleType, 7);
    EXPECT_TRUE(state.DataChanged);

    // Yes adopts the panel's nodes and card.
    QTest::mouseClick(w->cmdConnect, Qt::LeftButton);
    sim.Panel().SetNodeCodes({4, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
    prompts.answers = {PromptAnswer::Yes};
    Connect();
    ASSERT_EQ(prompts.asked.size(), 3u);
    const std::array<Integer, 13> nodes{4, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0};
    EXPECT_EQ(state.Config.NodeIOCount, nodes);
    // Now they match: a new session asks nothing.
    QTest::mouseClick(w->cmdConnect, Qt::LeftButton);
    Connect();
    EXPECT_EQ(prompts.asked.size(), 3u);
}

// The clock command has no seconds: it goes at the start of the next minute,
// the window in use meanwhile, so the panel's clock agrees with the PC's to
// the second.
TEST_F(ConnectWindow, SetClockGoesAtTheStartOfTheNextMinute)
{
    UseTcp();
    Connect();
    auto panelClock = [&] {
        const auto c = sim.Panel().Clock();
        return QDateTime(QDate(2000 + c.year, c.month, c.day), QTime(c.hour, c.minute, c.second));
    };
    // A PC clock 1.2 s before the end of a minute.
    const QDateTime real = QDateTime::currentDateTime();
    const qint64 shift = 58800 - (real.time().second() * 1000 + real.time().msec());
    w->Clock = [shift] { return QDateTime::currentDateTime().addMSecs(shift); };

    QTest::mouseClick(w->cmdSetCVClock, Qt::LeftButton);
    EXPECT_TRUE(w->ClockWaiting());
    EXPECT_EQ(w->cmdSetCVClock->text(), "Cancel Clock Setting");
    EXPECT_TRUE(main->StatusPanel2->text().startsWith("Setting Tamberline II Clock In "))
        << main->StatusPanel2->text().toStdString();
    EXPECT_NE(sim.Panel().LastCommand().substr(0, 2), "00");
    // The window is in use meanwhile.
    QTest::mouseClick(w->cmdRefresh, Qt::LeftButton);
    EXPECT_EQ(sim.Panel().LastCommand(), "01");

    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->ClockWaiting(); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return main->StatusPanel2->text().contains("Clock Set To"); }, 2000));
    const QDateTime minute = NearestMinute(w->Clock());
    EXPECT_EQ(minute.time().second(), 0);
    const auto commands = sim.Panel().Commands();
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[commands.size() - 2], PanelSession::ClockCommandFor(minute).text);
    EXPECT_EQ(commands.back(), "01");   // read at once, the time set shown
    EXPECT_LE(std::abs(panelClock().secsTo(w->Clock())), 2);
    EXPECT_EQ(main->StatusPanel2->text(), "Tamberline II Clock Set To " + QString::fromStdString(ClockSetText(minute)));
    EXPECT_EQ(w->cmdSetCVClock->text(), "Set Tamberline II Clock");
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_TRUE(state.PanelConnected);

    // At the start of a minute it goes at once: 14:05 on Friday 7 March 2014.
    w->Clock = [] { return QDateTime(QDate(2014, 3, 7), QTime(14, 5, 0, 100)); };
    QTest::mouseClick(w->cmdSetCVClock, Qt::LeftButton);
    EXPECT_FALSE(w->ClockWaiting());
    EXPECT_EQ(sim.Panel().Commands().rbegin()[1], "000E0503070E5");

    // A second click cancels the wait, and so does a disconnect.
    const qint64 half = 30000 - (real.time().second() * 1000 + real.time().msec());
    w->Clock = [half] { return QDateTime::currentDateTime().addMSecs(half); };
    for (bool disconnect : {false, true}) {
        SCOPED_TRACE(disconnect ? "disconnect" : "second click");
        const int sent = sim.Panel().CommandCount();
        QTest::mouseClick(w->cmdSetCVClock, Qt::LeftButton);
        ASSERT_TRUE(w->ClockWaiting());
        QTest::mouseClick(disconnect ? w->cmdConnect : w->cmdSetCVClock, Qt::LeftButton);
        EXPECT_FALSE(w->ClockWaiting());
        EXPECT_EQ(w->cmdSetCVClock->text(), "Set Tamberline II Clock");
        EXPECT_EQ(main->StatusPanel2->text(), disconnect ? "Disconnected" : "Connected");
        EXPECT_EQ(sim.Panel().CommandCount(), sent);
    }
}

TEST_F(ConnectWindow, DownloadRefusesAWrongPasswordAndLeavesThePanelAlone)
{
    sim.Panel().SetPassword({1, 2, 3, 4, 5, 6});
    UseTcp();
    Connect();
    const auto memory = sim.Panel().Memory();

    QTest::mouseClick(w->cmdDownLoadToT2, Qt::LeftButton);
    EXPECT_FALSE(w->fraPassWord->isHidden());
    EXPECT_EQ(w->fraPassWord->height(), Twips(2055));
    EXPECT_TRUE(w->cmdDownLoadToT2->isHidden());
    EXPECT_TRUE(w->cmdUpLoadFromT2->isHidden());
    for (QWidget* b : {static_cast<QWidget*>(w->cmdConnect), static_cast<QWidget*>(w->cmdRefresh),
                       static_cast<QWidget*>(w->cmdSetCVClock), static_cast<QWidget*>(w->cmdVirtualKeypad),
                       static_cast<QWidget*>(w->cmdNetworkDiagnostics), static_cast<QWidget*>(w->lblPanelTime),
                       static_cast<QWidget*>(w->lblPanelDate)})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_TRUE(w->lblNewPassWord->isHidden());

    // A digit replaces the box's digit and moves on, wrapping from 5 to 0;
    // other keys do nothing.
    EXPECT_EQ(w->focusWidget(), w->txtPassWord[0]);
    QTest::keyClick(w->txtPassWord[0], '3');
    EXPECT_EQ(w->txtPassWord[0]->text(), "3");
    EXPECT_EQ(w->focusWidget(), w->txtPassWord[1]);
    QTest::keyClick(w->txtPassWord[0], '7');
    EXPECT_EQ(w->txtPassWord[0]->text(), "7");
    QTest::keyClick(w->txtPassWord[0], 'a');
    QTest::keyClick(w->txtPassWord[0], Qt::Key_Backspace);
    EXPECT_EQ(w->txtPassWord[0]->text(), "7");
    QTest::keyClick(w->txtPassWord[5], '1');
    EXPECT_EQ(w->focusWidget(), w->txtPassWord[0]);

    QTest::mouseClick(w->cmdPassWordContinue, Qt::LeftButton);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, "Password Invalid.\nDownload Denied.");
    EXPECT_EQ(prompts.asked[0].title, "VEL Tamberline II");
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Critical);
    EXPECT_EQ(sim.Panel().Memory(), memory);
    EXPECT_EQ(sim.Panel().LastCommand(), "311F7A05");
    EXPECT_TRUE(state.PanelConnected);
    EXPECT_FALSE(w->cmdDownLoadToT2->isHidden());
    EXPECT_TRUE(w->cmdConnect->isEnabled());
    EXPECT_TRUE(w->fraPassWord->isHidden());
    EXPECT_TRUE(w->pbActivityProgress->isHidden());

    // Cancel in the password entry gives everything back.
    QTest::mouseClick(w->cmdDownLoadToT2, Qt::LeftButton);
    QTest::mouseClick(w->cmdPassWordCancel, Qt::LeftButton);
    EXPECT_TRUE(w->fraPassWord->isHidden());
    EXPECT_FALSE(w->cmdUpLoadFromT2->isHidden());
    EXPECT_TRUE(w->cmdSetCVClock->isEnabled());
    EXPECT_EQ(prompts.asked.size(), 1u);
}

TEST_F(ConnectWindow, DownloadWritesTheImageAndChangesThePassword)
{
    sim.Panel().SetPassword({1, 2, 3, 4, 5, 6});
    state.Config.RelayNames[0] = "LOBBY";
    state.Config.NodeIOCount[1] = 3;
    state.Devices[5].DeviceType = 2;
    UseTcp();
    prompts.answers = {PromptAnswer::No};  // the I/O question
    Connect();
    sim.Panel().ClearLog();

    // With the password change: the new digits go to the panel and into the image.
    QTest::mouseClick(w->cmdDownLoadToT2, Qt::LeftButton);
    TypeDigits(w->txtPassWord, "123456");
    QTest::mouseClick(w->chkChangePanelPassWord, Qt::LeftButton);
    EXPECT_FALSE(w->lblNewPassWord->isHidden());
    EXPECT_EQ(w->focusWidget(), w->txtNewPassWord[0]);
    TypeDigits(w->txtNewPassWord, "654321");
    bool menusOffDuringTransfer = false;
    bool cancelShown = false;
    QObject::connect(w->pbActivityProgress, &QProgressBar::valueChanged, w, [&](int v) {
        if (v == 10) {
            menusOffDuringTransfer = !main->MenuItem("mnuFile")->isEnabled();
            cancelShown = !w->cmdCancelUpDownLoad->isHidden();
        }
    });
    QTest::mouseClick(w->cmdPassWordContinue, Qt::LeftButton);
    ASSERT_FALSE(prompts.asked.empty());
    EXPECT_EQ(LastText(), "Download Complete");
    EXPECT_EQ(prompts.asked.back().title, "Download");
    EXPECT_TRUE(menusOffDuringTransfer);
    EXPECT_TRUE(cancelShown);
    EXPECT_TRUE(MenusEnabled());
    EXPECT_TRUE(w->cmdCancelUpDownLoad->isHidden());
    EXPECT_TRUE(w->pbActivityProgress->isHidden());

    const std::array<int, 6> changed{6, 5, 4, 3, 2, 1};
    EXPECT_EQ(sim.Panel().Password(), changed);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(w->txtPassWord[k]->text(), QString::number(changed[k]));
    PanelImage expected{};
    BuildPanelImage(state.Config, state.Devices, changed, expected);
    EXPECT_EQ(sim.Panel().Memory(), ImageBytes(expected));

    // All-zero blocks went as clears, the others as writes, in block order.
    const auto commands = sim.Panel().Commands();
    ASSERT_GE(commands.size(), 2u + 384u + 1u);
    EXPECT_EQ(commands[0], "311F7A05");
    EXPECT_EQ(commands[1], "301F7A05060504030201");
    for (int k = 0; k < 384; ++k) {
        bool zero = true;
        for (int j = 0; j < 64; ++j) zero = zero && expected[64 * k + j] == 0;
        const std::string& c = commands[2 + k];
        if (zero) {
            EXPECT_EQ(c, "36" + Hex4(64 * k) + Hex4(64 * k + 63)) << k;
        } else {
            EXPECT_EQ(c.substr(0, 8), "30" + Hex4(64 * k) + "3F") << k;
        }
    }
    EXPECT_EQ(commands[2 + 383], "365FC05FFF");
    EXPECT_EQ(commands[2 + 384], "3400005FFF");
    EXPECT_TRUE(state.PanelConnected);
    EXPECT_FALSE(state.DataChanged);
}

TEST_F(ConnectWindow, APasswordCommandThatFailsIsALostLink)
{
    sim.Panel().SetPassword({0, 0, 0, 0, 0, 0});
    UseTcp();
    for (int answered : {0, 1}) {  // the read fails; the read is answered and the write fails
        SCOPED_TRACE(answered ? "write" : "read");
        Connect();
        const auto memory = sim.Panel().Memory();
        prompts.asked.clear();
        FaultOptions f;
        f.stopAfter = sim.Panel().CommandCount() + answered;
        sim.Panel().SetFaults(f);
        QTest::mouseClick(w->cmdDownLoadToT2, Qt::LeftButton);
        if (answered) {
            QTest::mouseClick(w->chkChangePanelPassWord, Qt::LeftButton);
            TypeDigits(w->txtNewPassWord, "999999");
        }
        QTest::mouseClick(w->cmdPassWordContinue, Qt::LeftButton);
        ASSERT_EQ(prompts.asked.size(), 1u);
        EXPECT_EQ(prompts.asked[0].text, "Connection To Tamberline II Panel Lost");
        EXPECT_FALSE(state.PanelConnected);
        EXPECT_EQ(sim.Panel().Memory(), memory);
        EXPECT_EQ(sim.Panel().CommandCount(), f.stopAfter + 3);  // the failing command tried three times
        EXPECT_EQ(w->cmdConnect->text(), "Connect To Tamberline II");
        EXPECT_TRUE(w->cmdConnect->isEnabled());
        EXPECT_TRUE(w->fraPassWord->isHidden());
        EXPECT_TRUE(w->lblActivityProgress->isHidden());
        EXPECT_TRUE(w->pbActivityProgress->isHidden());
        EXPECT_FALSE(w->cmdDownLoadToT2->isHidden());
        EXPECT_TRUE(w->cmdSetCVClock->isEnabled());
        EXPECT_FALSE(w->Timer1->isActive());
        EXPECT_TRUE(MenusEnabled());
        for (auto* b : w->txtPassWord) EXPECT_EQ(b->text(), "0");
        sim.Panel().SetFaults({});
    }
}

TEST_F(ConnectWindow, DownloadCancelAndErrorCodesLeaveTheSessionOpen)
{
    UseTcp();
    Connect();
    const PanelConfig config = state.Config;
    const QString mayNot = "Tamberline II Controller May Not Function\nProperly Until A Download Is Complete.";

    // Cancel between blocks: block 100 is the last one sent.
    auto cancelAt = std::make_shared<int>(100);
    QObject::connect(w->pbActivityProgress, &QProgressBar::valueChanged, w, [this, cancelAt](int v) {
        if (v == *cancelAt) QTest::mouseClick(w->cmdCancelUpDownLoad, Qt::LeftButton);
    });
    sim.Panel().ClearLog();
    QTest::mouseClick(w->cmdDownLoadToT2, Qt::LeftButton);
    QTest::mouseClick(w->cmdPassWordContinue, Qt::LeftButton);
    EXPECT_EQ(LastText(), "Manual Download Cancel.\n" + mayNot);
    EXPECT_EQ(prompts.asked.back().title, "Download");
    EXPECT_EQ(prompts.asked.back().icon, PromptIcon::Exclamation);
    EXPECT_EQ(sim.Panel().CommandCount(), 1 + 100);
    EXPECT_TRUE(state.PanelConnected);
    EXPECT_TRUE(MenusEnabled());
    EXPECT_EQ(state.Config, config);
    *cancelAt = -1;

    struct Case {
        const char* what;
        int extraCommands;  // answered after the password read; 0: all
        bool wrongChecksum;
        int code;
        QString partly;     // what a download that failed part-way adds
    };
    const QString partlyWritten =
        "\nThe Panel Is Partly Written: Blocks 1 To 10 Of 384 Hold The New Settings, The Others The Old."
        "\nRepeat The Download Before The Panel Is Left In Service.";
    for (const Case& c : {Case{"block fails", 10, false, 1, partlyWritten}, Case{"wrong checksum", 0, true, 2, ""},
                          Case{"checksum command fails", 384, false, 3, ""}}) {
        SCOPED_TRACE(c.what);
        FaultOptions f;
        f.wrongChecksum = c.wrongChecksum;
        if (c.extraCommands) f.stopAfter = sim.Panel().CommandCount() + 1 + c.extraCommands;
        sim.Panel().SetFaults(f);
        QTest::mouseClick(w->cmdDownLoadToT2, Qt::LeftButton);
        QTest::mouseClick(w->cmdPassWordContinue, Qt::LeftButton);
        EXPECT_EQ(LastText(), "Download Error: " + QString::number(c.code) + "\n" + mayNot + c.partly);
        EXPECT_EQ(prompts.asked.back().title, "Error");
        EXPECT_EQ(prompts.asked.back().icon, PromptIcon::Critical);
        EXPECT_TRUE(state.PanelConnected);
        EXPECT_TRUE(MenusEnabled());
        EXPECT_EQ(state.Config, config);
        if (c.extraCommands) {
            EXPECT_EQ(main->StatusPanel2->text(), "Error - Retry: 2");
        }
        sim.Panel().SetFaults({});
    }
}

TEST_F(ConnectWindow, UploadQuestionsNamesAndResult)
{
    // The panel holds a configuration of its own.
    ProgramState panel;
    ResetConfiguration(panel);
    panel.Config.RelayNames[0] = "PANEL LOBBY";
    panel.Config.NodeIOCount[2] = 2;
    panel.Config.InputRelayControl(3, 4) = 5;
    panel.Devices[7].DeviceType = 3;
    panel.Devices[7].DeviceName = "PANELDEV";
    PanelImage image{};
    BuildPanelImage(panel.Config, panel.Devices, {0, 0, 0, 0, 0, 0}, image);
    const std::string bytes = PanelImageBytes(image);
    sim.Panel().SetMemory(0, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));

    state.Config.RelayNames[0] = "HOST RELAY NAME LONG";
    UseTcp();
    prompts.answers = {PromptAnswer::No};  // the I/O question
    Connect();
    const PanelConfig hostConfig = state.Config;
    const VantelDevices hostDevices = state.Devices;

    const QString namesQuestion =
        "Names Stored In The Tamberline II Panel Are Limited To Ten Characters.\n"
        "By Uploading The Names From The Tamberline II, Any Longer Names Will Be Lost.\n"
        "Do You Want To Include Tamberline II Names In This Upload?";

    // "Discard All Host Changes?" No: nothing read, DataChanged as it was.
    SetDataChanged(state, true);
    prompts.asked.clear();
    sim.Panel().ClearLog();
    prompts.answers = {PromptAnswer::No};
    QTest::mouseClick(w->cmdUpLoadFromT2, Qt::LeftButton);
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[0].text, "Discard All Host Changes?");
    EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompts.asked[1].text, "Upload Cancelled");
    EXPECT_TRUE(state.DataChanged);
    EXPECT_EQ(sim.Panel().CommandCount(), 0);
    EXPECT_FALSE(w->cmdUpLoadFromT2->isHidden());
    EXPECT_TRUE(w->cmdConnect->isEnabled());

    // Yes, then Cancel at the names question: DataChanged cleared, nothing read.
    prompts.asked.clear();
    prompts.answers = {PromptAnswer::Yes, PromptAnswer::Cancel};
    QTest::mouseClick(w->cmdUpLoadFromT2, Qt::LeftButton);
    ASSERT_EQ(prompts.asked.size(), 3u);
    EXPECT_EQ(prompts.asked[1].text, namesQuestion);
    EXPECT_EQ(prompts.asked[1].buttons, PromptButtons::YesNoCancel);
    EXPECT_EQ(prompts.asked[2].text, "Upload Cancelled");
    EXPECT_FALSE(state.DataChanged);
    EXPECT_EQ(sim.Panel().CommandCount(), 0);
    EXPECT_EQ(state.Config, hostConfig);

    // Names No and Yes: the result is ApplyPanelImage of the panel's memory.
    for (bool names : {false, true}) {
        SCOPED_TRACE(names ? "names" : "no names");
        state.Config = hostConfig;
        state.Devices = hostDevices;
        prompts.asked.clear();
        prompts.answers = {PromptAnswer::Yes, names ? PromptAnswer::Yes : PromptAnswer::No};
        QTest::mouseClick(w->cmdUpLoadFromT2, Qt::LeftButton);
        ASSERT_EQ(prompts.asked.size(), 3u);
        EXPECT_EQ(LastText(), "Upload Complete");
        EXPECT_EQ(prompts.asked.back().title, "Upload");
        PanelConfig expectedConfig = hostConfig;
        VantelDevices expectedDevices = hostDevices;
        ApplyPanelImage(image, expectedConfig, expectedDevices, names);
        EXPECT_EQ(state.Config, expectedConfig);
        EXPECT_EQ(state.Devices, expectedDevices);
        EXPECT_EQ(state.UploadNames, names);
        EXPECT_EQ(state.Config.RelayNames[0], names ? "PANEL LOBB" : "HOST RELAY NAME LONG");
        EXPECT_TRUE(state.DataChanged);
        EXPECT_TRUE(state.PanelConnected);
        EXPECT_TRUE(MenusEnabled());
        EXPECT_TRUE(main->windowTitle().endsWith(" *"));
    }
}

TEST_F(ConnectWindow, FailedOrCancelledUploadClearsTheHostAndCloses)
{
    struct Case {
        const char* what;
        bool stopNow;
        bool wrongChecksum;
        int cancelAt;
        QString text;
        QString title;
        PromptIcon icon;
    };
    const std::vector<Case> cases = {
        {"block 0 fails", true, false, 0, "Upload Error: 19\nAll Host Data Cleared.", "Error", PromptIcon::Critical},
        {"wrong checksum", false, true, 0, "Upload Error: 2\nAll Host Data Cleared.", "Error", PromptIcon::Critical},
        {"cancelled", false, false, 50, "Manual Upload Cancel.\nAll Host Data Cleared.", "Upload",
         PromptIcon::Exclamation},
    };
    auto cancelAt = std::make_shared<int>(0);
    QObject::connect(w->pbActivityProgress, &QProgressBar::valueChanged, w, [this, cancelAt](int v) {
        if (*cancelAt && v == *cancelAt) QTest::mouseClick(w->cmdCancelUpDownLoad, Qt::LeftButton);
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        state.Config.RelayNames[3] = "HOST";
        state.Config.CommPort = 1;
        UseTcp();
        Connect();
        FaultOptions f;
        f.wrongChecksum = c.wrongChecksum;
        if (c.stopNow) f.stopAfter = sim.Panel().CommandCount();
        sim.Panel().SetFaults(f);
        *cancelAt = c.cancelAt;
        prompts.asked.clear();
        prompts.answers = {PromptAnswer::Yes, PromptAnswer::No};
        QTest::mouseClick(w->cmdUpLoadFromT2, Qt::LeftButton);
        ASSERT_EQ(prompts.asked.size(), 3u);
        EXPECT_EQ(prompts.asked[2].text, c.text);
        EXPECT_EQ(prompts.asked[2].title, c.title);
        EXPECT_EQ(prompts.asked[2].icon, c.icon);

        // The session is closed and the host configuration back to its defaults.
        EXPECT_FALSE(state.PanelConnected);
        ProgramState fresh;
        ResetConfiguration(fresh);
        EXPECT_EQ(state.Config, fresh.Config);
        EXPECT_EQ(state.Devices, fresh.Devices);
        EXPECT_TRUE(MenusEnabled());
        EXPECT_EQ(w->cmdConnect->text(), "Connect To Tamberline II");
        EXPECT_TRUE(w->fraOnLineFunctions->isHidden());
        EXPECT_TRUE(w->chkConnectionType[0]->isChecked());
        EXPECT_FALSE(w->chkConnectionType[1]->isChecked());
        EXPECT_FALSE(w->chkConnectionType[2]->isChecked());
        EXPECT_TRUE(w->optComPort[0]->isChecked());
        for (auto* o : w->optComPort) EXPECT_FALSE(o->isHidden());
        EXPECT_TRUE(w->txtTCPIP->text().isEmpty());
        EXPECT_TRUE(w->txtTCPIP->isHidden());
        EXPECT_EQ(main->StatusPanel2->text(), "Disconnected");
        sim.Panel().SetFaults({});
    }
}

TEST_F(ConnectWindow, AFailedStatusReadIsALostLink)
{
    UseTcp();
    Connect();
    main->ShowWindow("frmT2Setup");
    ASSERT_TRUE(main->IsWindowOpen("frmT2Setup"));
    FaultOptions f;
    f.stopAfter = sim.Panel().CommandCount();
    sim.Panel().SetFaults(f);
    QTest::mouseClick(w->cmdRefresh, Qt::LeftButton);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, "Connection To Tamberline II Panel Lost");
    EXPECT_EQ(prompts.asked[0].title, "VEL Tamberline II");
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Exclamation);
    EXPECT_FALSE(state.PanelConnected);
    EXPECT_FALSE(main->IsWindowOpen("frmT2Setup"));
    EXPECT_TRUE(main->IsWindowOpen("frmT2Connect"));
    ASSERT_NE(main->mdiArea->activeSubWindow(), nullptr);
    EXPECT_EQ(main->mdiArea->activeSubWindow()->widget(), w);
    EXPECT_EQ(w->cmdConnect->text(), "Connect To Tamberline II");
    EXPECT_EQ(main->StatusPanel2->text(), "Disconnected");
}

TEST_F(ConnectWindow, PollingOverTheSerialLineFindsALostLink)
{
    UsePty();
    // A settings file may hold a link type outside 0..2: it connects as a
    // direct serial line and is polled as one.
    state.Config.ConnectionType() = -1;
    main->OpenWindow("frmT2Connect");
    EXPECT_TRUE(w->chkConnectionType[0]->isChecked());
    Connect();
    EXPECT_EQ(w->cmdConnect->text(), "Disconnect From Tamberline II");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->lblPanelTime->text().isEmpty(); }, 3000));
    FaultOptions f;
    f.stopAfter = sim.Panel().CommandCount();
    sim.Panel().SetFaults(f);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !state.PanelConnected; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.asked.size() == 1; }, 2000));
    EXPECT_EQ(prompts.asked[0].text, "Connection To Tamberline II Panel Lost");
    EXPECT_FALSE(w->Timer1->isActive());
}

TEST_F(ConnectWindow, ConnectFailuresAndThePhoneNumber)
{
    // A modem number of six characters is refused before anything is opened.
    state.Config.ConnectionType() = ConnectModem;
    state.Config.ModemPhoneNumber() = "555123";
    main->OpenWindow("frmT2Connect");
    EXPECT_FALSE(w->txtPhoneNumber->isHidden());
    QTest::mouseClick(w->cmdConnect, Qt::LeftButton);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, "A Valid Phone Number Must Entered");
    EXPECT_EQ(prompts.asked[0].title, "VEL Corvanthine");
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Information);
    EXPECT_FALSE(state.PanelConnected);
    EXPECT_TRUE(w->cmdConnect->isEnabled());

    // Nobody listening on TCP/IP.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    state.Config.ConnectionType() = ConnectTcpIp;
    state.Config.PanelAddress() = "127.0.0.1:" + std::to_string(port);
    main->OpenWindow("frmT2Connect");
    QTest::mouseClick(w->cmdConnect, Qt::LeftButton);
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[1].text, "Connection Failed.");
    EXPECT_EQ(prompts.asked[1].title, "VEL Corvanthine");
    EXPECT_EQ(prompts.asked[1].icon, PromptIcon::Exclamation);
    EXPECT_FALSE(state.PanelConnected);
    EXPECT_TRUE(w->cmdConnect->isEnabled());
    EXPECT_EQ(main->StatusPanel2->text(), "Disconnected");

    // A serial port that answers nothing.
    UsePty();
    FaultOptions silent;
    silent.dropEvery = 1;  // every command is lost
    sim.Panel().SetFaults(silent);
    QTest::mouseClick(w->cmdConnect, Qt::LeftButton);
    ASSERT_EQ(prompts.asked.size(), 3u);
    EXPECT_EQ(prompts.asked[2].text, "Connection Failed.");
    EXPECT_EQ(prompts.asked[2].title, "VEL Tamberline II");
    EXPECT_FALSE(state.PanelConnected);
}

TEST_F(ConnectWindow, ModemDialsAndHangsUp)
{
    sim.SetModem(true);
    UsePty();
    state.Config.ConnectionType() = ConnectModem;
    state.Config.ModemPhoneNumber() = "555-1234";
    main->OpenWindow("frmT2Connect");
    Connect();
    ASSERT_FALSE(prompts.asked.empty());
    EXPECT_EQ(prompts.asked[0].text, "Modem Connected");
    EXPECT_TRUE(w->lblModem->isHidden());
    EXPECT_EQ(w->cmdConnect->text(), "Disconnect From Tamberline II");
    QTest::mouseClick(w->cmdConnect, Qt::LeftButton);
    EXPECT_FALSE(state.PanelConnected);
    const auto log = sim.Panel().ModemLog();
    ASSERT_FALSE(log.empty());
    EXPECT_NE(std::find(log.begin(), log.end(), "ATDT 555-1234"), log.end());
}

TEST_F(ConnectWindow, LinkChoiceFieldsAndButtons)
{
    UsePty();
    SetDataChanged(state, false);
    // The link choice behaves as radio buttons and is a change of the
    // configuration (the link is saved with it).
    QTest::mouseClick(w->chkConnectionType[2], Qt::LeftButton);
    EXPECT_TRUE(state.DataChanged);
    SetDataChanged(state, false);
    EXPECT_EQ(state.Config.ConnectionType(), 2);
    EXPECT_TRUE(w->chkConnectionType[2]->isChecked());
    EXPECT_FALSE(w->chkConnectionType[0]->isChecked());
    EXPECT_FALSE(w->txtTCPIP->isHidden());
    EXPECT_TRUE(w->txtPhoneNumber->isHidden());
    for (auto* o : w->optComPort) EXPECT_TRUE(o->isHidden());
    QTest::mouseClick(w->chkConnectionType[2], Qt::LeftButton);  // clicking it again keeps it
    EXPECT_TRUE(w->chkConnectionType[2]->isChecked());
    EXPECT_FALSE(state.DataChanged);                              // and changes nothing
    QTest::mouseClick(w->chkConnectionType[1], Qt::LeftButton);
    EXPECT_EQ(state.Config.ConnectionType(), 1);
    EXPECT_FALSE(w->txtPhoneNumber->isHidden());
    EXPECT_TRUE(w->txtTCPIP->isHidden());
    for (auto* o : w->optComPort) EXPECT_FALSE(o->isHidden());
    EXPECT_TRUE(state.DataChanged);
    SetDataChanged(state, false);

    // The key filters.
    QTest::keyClicks(w->txtPhoneNumber, "1a2 3-4,5#");
    EXPECT_EQ(w->txtPhoneNumber->text(), "12 3-4,5");
    EXPECT_EQ(state.Config.ModemPhoneNumber(), "12 3-4,5");
    EXPECT_TRUE(state.DataChanged);
    QTest::keyClick(w->txtPhoneNumber, Qt::Key_Backspace);
    EXPECT_EQ(state.Config.ModemPhoneNumber(), "12 3-4,");
    QTest::mouseClick(w->chkConnectionType[2], Qt::LeftButton);
    QTest::keyClicks(w->txtTCPIP, "10.x0.0.5 ");
    EXPECT_EQ(state.Config.PanelAddress(), "10.0.0.5");
    // The filter holds back what is typed or pasted, never what the field
    // already held: a host name from a settings file survives an edit.
    state.Config.PanelAddress() = "panel-7.local:10002";
    main->OpenWindow("frmT2Connect");
    w->txtTCPIP->setFocus();
    w->txtTCPIP->end(false);
    QTest::keyClicks(w->txtTCPIP, "x9");
    EXPECT_EQ(w->txtTCPIP->text(), "panel-7.local:100029");
    EXPECT_EQ(state.Config.PanelAddress(), "panel-7.local:100029");
    QApplication::clipboard()->setText("1a.2");
    w->txtTCPIP->home(false);
    w->txtTCPIP->paste();
    EXPECT_EQ(state.Config.PanelAddress(), "1.2panel-7.local:100029");
    state.Config.ModemPhoneNumber() = "9W(555)123";
    main->OpenWindow("frmT2Connect");
    QTest::mouseClick(w->chkConnectionType[1], Qt::LeftButton);
    w->txtPhoneNumber->end(false);
    QTest::keyClicks(w->txtPhoneNumber, "4x");
    EXPECT_EQ(state.Config.ModemPhoneNumber(), "9W(555)1234");
    QTest::mouseClick(w->chkConnectionType[2], Qt::LeftButton);
    // A port choice sets CommPort and counts as a change.
    SetDataChanged(state, false);
    QTest::mouseClick(w->chkConnectionType[0], Qt::LeftButton);
    ASSERT_TRUE(w->optComPort[0]->isEnabled());
    state.Config.CommPort = 5;
    QTest::mouseClick(w->optComPort[0], Qt::LeftButton);
    EXPECT_EQ(state.Config.CommPort, 1);
    EXPECT_TRUE(state.DataChanged);

    // Network Diagnostics shows with the maintenance file; both tool buttons
    // open their windows and only hide this one.
    EXPECT_TRUE(w->cmdNetworkDiagnostics->isHidden());
    state.SettingsFileName = MaintenanceFileName();
    main->UpdateStatusBar();
    EXPECT_FALSE(w->cmdNetworkDiagnostics->isHidden());
    Connect();
    QTest::mouseClick(w->cmdVirtualKeypad, Qt::LeftButton);
    EXPECT_TRUE(main->IsWindowOpen("frmT2VirtualKeypad"));
    EXPECT_FALSE(main->IsWindowOpen("frmT2Connect"));
    EXPECT_FALSE(w->Timer1->isActive());
    EXPECT_TRUE(state.PanelConnected);
    main->OpenWindow("frmT2Connect");
    EXPECT_TRUE(w->Timer1->isActive());
    QTest::mouseClick(w->cmdNetworkDiagnostics, Qt::LeftButton);
    EXPECT_TRUE(main->IsWindowOpen("frmT2SystemDiagnostic"));
    EXPECT_TRUE(state.PanelConnected);

    // The program's exchange is this window's, and a New drops the connection.
    EXPECT_EQ(CurrentSession(), &w->Session());
    EXPECT_EQ(CurrentExchange(), &w->Session().Exchange());
    prompts.answers = {PromptAnswer::Yes};  // discard the changes
    main->FileNew();
    EXPECT_FALSE(state.PanelConnected);
    EXPECT_EQ(w->cmdConnect->text(), "Connect To Tamberline II");
}

// An upload, the panel's I/O hardware taken over, and the configuration an
// aborted upload clears are each one step that Edit Undo takes back.
TEST_F(ConnectWindow, UploadAndAdoptedHardwareAreOneUndoStepEach)
{
    ProgramState panel;
    ResetConfiguration(panel);
    panel.Config.RelayTimerType[2] = 6;
    panel.Config.NodeIOCount[1] = 2;
    PanelImage image{};
    BuildPanelImage(panel.Config, panel.Devices, {0, 0, 0, 0, 0, 0}, image);
    sim.Panel().SetMemory(0, ImageBytes(image));
    sim.Panel().SetNodeCodes({1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});

    state.Config.RelayNames[0] = "HOST LOBBY";
    state.History.Reset(state);
    const PanelConfig host = state.Config;
    QAction* undo = main->MenuItem("mnuUndo");
    QAction* redo = main->MenuItem("mnuRedo");

    // Taking over the panel's hardware.
    UseTcp();
    prompts.answers = {PromptAnswer::Yes};
    Connect();
    ASSERT_EQ(state.Config.NodeIOCount[1], 2);
    EXPECT_EQ(undo->text(), "Undo Panel I/O Hardware");
    const PanelConfig adopted = state.Config;

    // The upload; while it runs Undo and Redo are disabled with the menus.
    bool undoDuringTransfer = true;
    const auto watch = QObject::connect(w->pbActivityProgress, &QProgressBar::valueChanged, w, [&](int v) {
        if (v == 100) undoDuringTransfer = undo->isEnabled() || redo->isEnabled();
    });
    prompts.answers = {PromptAnswer::Yes, PromptAnswer::No};
    QTest::mouseClick(w->cmdUpLoadFromT2, Qt::LeftButton);
    QObject::disconnect(watch);
    EXPECT_FALSE(undoDuringTransfer);
    ASSERT_EQ(state.Config.RelayTimerType[2], 6);
    EXPECT_EQ(undo->text(), "Undo Upload");
    undo->trigger();
    EXPECT_EQ(state.Config, adopted);
    EXPECT_EQ(redo->text(), "Redo Upload");
    redo->trigger();
    EXPECT_EQ(state.Config.RelayTimerType[2], 6);
    undo->trigger();
    undo->trigger();
    EXPECT_EQ(state.Config, host);
    EXPECT_FALSE(state.DataChanged);   // back at what was last opened

    // An upload that fails clears the configuration; the user's comes back.
    sim.Panel().SetFaults({.wrongChecksum = true});
    prompts.answers = {PromptAnswer::Yes, PromptAnswer::No};
    QTest::mouseClick(w->cmdUpLoadFromT2, Qt::LeftButton);
    ASSERT_NE(state.Config, host);
    ASSERT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "Undo Upload");
    undo->trigger();
    EXPECT_EQ(state.Config, host);
}
