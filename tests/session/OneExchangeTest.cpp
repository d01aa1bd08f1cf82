// One exchange at a time, as the user meets it: clicks and disconnects that
// land while an exchange waits for its reply, a modem hung up once and always,
// a hidden connection window, a peer that goes away, a panel that answers
// late, and an upload that fails. Against the simulated panel over loopback
// TCP/IP and a pseudo-terminal (with a modem in front where it says so).
#include "ConnectWindowFixture.h"

#include "SettingsFile.h"

#include <QTemporaryDir>

#include <algorithm>

using namespace t2;
using namespace t2::test;

namespace {

int CountOf(const std::vector<std::string>& list, const std::string& text)
{
    return static_cast<int>(std::count(list.begin(), list.end(), text));
}

int IndexOf(const std::vector<std::string>& list, const std::string& text, int from = 0)
{
    for (int i = from; i < static_cast<int>(list.size()); ++i)
        if (list[i] == text) return i;
    return -1;
}

struct OneExchange : ConnectWindow {
    PanelExchange* exchange = nullptr;
    // What the hook runs once the next text starting with hookPrefix has gone
    // on the wire: from the event loop, so inside that exchange's wait.
    std::string hookPrefix;
    std::function<void()> hookAction;
    bool hookFired = false;

    void SetUp() override
    {
        ConnectWindow::SetUp();
        exchange = &w->Session().Exchange();
        exchange->SetTraceEnabled(true);
        exchange->SetTraceSink([this](const TraceEntry& e) {
            if (e.direction != TraceEntry::Direction::Sent || hookPrefix.empty()) return;
            if (e.text.rfind(hookPrefix, 0) != 0) return;
            hookPrefix.clear();
            QTimer::singleShot(0, w, [this] {
                hookFired = true;
                if (hookAction) hookAction();
            });
        });
    }
    void TearDown() override
    {
        exchange->SetTraceSink(nullptr);
        ConnectWindow::TearDown();
    }

    void Hook(const std::string& prefix, std::function<void()> action)
    {
        hookFired = false;
        hookAction = std::move(action);
        hookPrefix = prefix;
    }
    // The texts sent since the trace was last cleared.
    std::vector<std::string> Sent() const
    {
        std::vector<std::string> out;
        for (const TraceEntry& e : exchange->Trace())
            if (e.direction == TraceEntry::Direction::Sent) out.push_back(e.text);
        return out;
    }
    // Nothing waits for the link any more.
    bool Settled() const { return !exchange->Busy() && exchange->QueuedActions() == 0; }
    void WaitSettled() { ASSERT_TRUE(QTest::qWaitFor([&] { return hookFired && Settled(); }, 5000)); }

    void UseModem()
    {
        if (sim.PtyPath().isEmpty()) sim.SetModem(true);
        UsePty();
        state.Config.ConnectionType() = ConnectModem;
        state.Config.ModemPhoneNumber() = "555-1234";
        main->OpenWindow("frmT2Connect");
    }
    // Clicks button while the status reading "01" waits for its reply: the
    // serial poll's, or on TCP/IP the one "Refresh" asks for.
    void ClickDuringTheReading(QPushButton* button)
    {
        Hook("[0001", [button] { QTest::mouseClick(button, Qt::LeftButton); });
        if (!w->Session().PolledLink()) QTest::mouseClick(w->cmdRefresh, Qt::LeftButton);
        WaitSettled();
    }
    // Cancels the next transfer once it has done two blocks.
    void CancelAtBlockTwo()
    {
        QObject::connect(w->pbActivityProgress, &QProgressBar::valueChanged, w, [this](int v) {
            if (v == 2 && !w->cmdCancelUpDownLoad->isHidden())
                QTest::mouseClick(w->cmdCancelUpDownLoad, Qt::LeftButton);
        });
    }
    std::vector<std::string> ModemLog() { return sim.Panel().ModemLog(); }
};

}  // namespace

TEST_F(OneExchange, ASecondDisconnectDuringTheModemHangUpLeavesOneHangUpOnTheLine)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("SITE.TMB");
    {
        ProgramState fresh;
        ResetConfiguration(fresh);
        ASSERT_TRUE(WriteSettingsFile(file.toStdString(), fresh.Config, fresh.Devices, nullptr));
    }
    struct Case {
        const char* what;
        std::function<void()> second;
    };
    const std::vector<Case> cases = {
        {"a double click", [&] { QTest::mouseClick(w->cmdConnect, Qt::LeftButton); }},
        {"the window's disconnect", [&] { w->DisconnectCV(); }},
        {"File New", [&] { main->FileNew(); }},
        {"File Open", [&] {
             prompts.fileNames = {file};
             main->FileOpen();
         }},
        {"the close box", [&] { main->close(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseModem();
        Connect();
        exchange->ClearTrace();
        sim.Panel().ClearLog();
        Hook("[%%%%%", c.second);
        QTest::mouseClick(w->cmdConnect, Qt::LeftButton);  // the hang-up runs inside
        WaitSettled();
        EXPECT_FALSE(state.PanelConnected);
        EXPECT_EQ(exchange->Link(), nullptr);
        const auto sent = Sent();
        EXPECT_EQ(CountOf(sent, "[%%%%%"), 1);
        EXPECT_EQ(CountOf(sent, "ATZ"), 1);
        EXPECT_EQ(CountOf(ModemLog(), "HANGUP"), 1);
        EXPECT_EQ(w->cmdConnect->text(), "Connect To Tamberline II");
        EXPECT_TRUE(w->cmdConnect->isEnabled());
        if (std::string(c.what) == "the close box") {
            // The program went only once the modem had been hung up.
            EXPECT_TRUE(QTest::qWaitFor([&] { return !main->isVisible(); }, 3000));
            main->ExitRequested = false;
            main->show();
        }
    }
}

TEST_F(OneExchange, ADisconnectDuringAPollStillHangsUpTheModem)
{
    UseModem();
    Connect();
    ASSERT_TRUE(w->Timer1->isActive());
    prompts.asked.clear();
    FaultOptions slow;
    slow.replyDelayMs = 100;  // the poll's reply is on its way when the click comes
    sim.Panel().SetFaults(slow);
    exchange->ClearTrace();
    sim.Panel().ClearLog();
    Hook("[0001", [&] { QTest::mouseClick(w->cmdConnect, Qt::LeftButton); });
    WaitSettled();
    EXPECT_FALSE(state.PanelConnected);
    const auto sent = Sent();
    const int poll = IndexOf(sent, "[0001D3]");
    ASSERT_GE(poll, 0);
    const int hangUp = IndexOf(sent, "[%%%%%", poll);
    ASSERT_GT(hangUp, poll);
    EXPECT_EQ(IndexOf(sent, "ATZ", hangUp), hangUp + 1);
    EXPECT_EQ(static_cast<int>(sent.size()), hangUp + 2);  // nothing else after the poll's frame
    EXPECT_EQ(CountOf(ModemLog(), "HANGUP"), 1);
    EXPECT_FALSE(exchange->ModemConnected());
    EXPECT_TRUE(prompts.asked.empty()) << prompts.Texts().join(" | ").toStdString();
    EXPECT_FALSE(w->Timer1->isActive());
    EXPECT_EQ(w->cmdConnect->text(), "Connect To Tamberline II");
}

TEST_F(OneExchange, ButtonsClickedDuringAReadingRunAfterIt)
{
    sim.Panel().SetPassword({1, 2, 3, 4, 5, 6});
    // At the start of a minute the clock goes at once, after the reading.
    w->Clock = [] { return QDateTime(QDate(2014, 3, 7), QTime(14, 5, 0, 100)); };
    CancelAtBlockTwo();
    for (bool tcp : {false, true}) {
        SCOPED_TRACE(tcp ? "tcp, during a refresh" : "pty, during the poll");
        if (tcp)
            UseTcp();
        else
            UsePty();
        Connect();
        FaultOptions slow;
        slow.replyDelayMs = 60;
        sim.Panel().SetFaults(slow);

        // Set Clock.
        sim.Panel().ClearLog();
        ClickDuringTheReading(w->cmdSetCVClock);
        auto commands = sim.Panel().Commands();
        EXPECT_GT(IndexOf(commands, "000E0503070E5"), IndexOf(commands, "01")) << commands.size();
        EXPECT_GE(IndexOf(commands, "01"), 0);

        // Refresh (shown on TCP/IP only): a second reading after the first.
        if (tcp) {
            sim.Panel().ClearLog();
            ClickDuringTheReading(w->cmdRefresh);
            EXPECT_EQ(CountOf(sim.Panel().Commands(), "01"), 2);
        }

        // Download, with the password change: the entry opens after the
        // reading, and Continue sends the password commands.
        sim.Panel().ClearLog();
        prompts.asked.clear();
        ClickDuringTheReading(w->cmdDownLoadToT2);
        ASSERT_FALSE(w->fraPassWord->isHidden());
        EXPECT_FALSE(w->Timer1->isActive());
        TypeDigits(w->txtPassWord, "123456");
        QTest::mouseClick(w->chkChangePanelPassWord, Qt::LeftButton);
        TypeDigits(w->txtNewPassWord, "123456");
        QTest::mouseClick(w->cmdPassWordContinue, Qt::LeftButton);
        commands = sim.Panel().Commands();
        const int read = IndexOf(commands, "311F7A05");
        EXPECT_GT(read, IndexOf(commands, "01"));
        EXPECT_EQ(IndexOf(commands, "301F7A05010203040506"), read + 1);
        EXPECT_EQ(LastText().left(23), "Manual Download Cancel.");
        EXPECT_TRUE(state.PanelConnected);

        // Upload: its questions come after the reading, then the blocks.
        sim.Panel().ClearLog();
        prompts.asked.clear();
        prompts.answers = {PromptAnswer::Yes, PromptAnswer::No};
        ClickDuringTheReading(w->cmdUpLoadFromT2);
        commands = sim.Panel().Commands();
        EXPECT_GT(IndexOf(commands, "3100003F"), IndexOf(commands, "01"));
        EXPECT_GE(IndexOf(commands, "01"), 0);
        EXPECT_EQ(LastText(), "Manual Upload Cancel.\nAll Host Data Cleared.");
        EXPECT_FALSE(state.PanelConnected);  // a cancelled upload closes the session
        sim.Panel().SetFaults({});
    }
}

TEST_F(OneExchange, NetworkDiagnosticsOpenedDuringThePollShowsTheDiagnostic)
{
    state.SettingsFileName = MaintenanceFileName();
    main->UpdateStatusBar();
    UsePty();
    Connect();
    ASSERT_FALSE(w->cmdNetworkDiagnostics->isHidden());
    prompts.asked.clear();
    FaultOptions slow;
    slow.replyDelayMs = 60;
    sim.Panel().SetFaults(slow);
    sim.Panel().ClearLog();
    ClickDuringTheReading(w->cmdNetworkDiagnostics);
    EXPECT_TRUE(main->IsWindowOpen("frmT2SystemDiagnostic"));
    EXPECT_FALSE(main->IsWindowOpen("frmT2Connect"));
    const auto commands = sim.Panel().Commands();
    EXPECT_GT(IndexOf(commands, "49"), IndexOf(commands, "01"));
    EXPECT_GE(IndexOf(commands, "01"), 0);
    EXPECT_TRUE(state.PanelConnected);
    EXPECT_TRUE(prompts.asked.empty()) << prompts.Texts().join(" | ").toStdString();
    main->CloseAllWindows();
}

TEST_F(OneExchange, AHiddenConnectionWindowSendsNothing)
{
    UseModem();
    sim.Panel().SetDialDelayMs(100);
    // The user opens another window while the modem dials.
    Hook("ATDT", [&] { main->OpenWindow("frmT2Setup"); });
    Connect();
    EXPECT_TRUE(hookFired);
    EXPECT_TRUE(main->IsWindowOpen("frmT2Setup"));
    EXPECT_FALSE(main->IsWindowOpen("frmT2Connect"));
    EXPECT_FALSE(w->Timer1->isActive());
    // Three poll intervals later the panel has heard nothing but "05".
    int ticks = 0;
    QTimer interval;
    QObject::connect(&interval, &QTimer::timeout, [&] { ++ticks; });
    interval.start(w->Timer1->interval());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 3000));
    EXPECT_EQ(sim.Panel().Commands(), std::vector<std::string>{"05"});
    EXPECT_EQ(prompts.Texts(), QStringList{"Modem Connected"});

    // Shown again while connected, it polls again.
    main->OpenWindow("frmT2Connect");
    EXPECT_TRUE(w->Timer1->isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return CountOf(sim.Panel().Commands(), "01") >= 1; }, 3000));
    main->CloseAllWindows();
    EXPECT_FALSE(w->Timer1->isActive());
}

TEST_F(OneExchange, APeerThatClosesEndsTheSessionAfterTheTransfersErrorCode)
{
    struct Case {
        const char* what;
        QStringList messages;  // the last ones shown
    };
    const std::vector<Case> cases = {
        {"download",
         {"Download Error: 1\nTamberline II Controller May Not Function\nProperly Until A Download Is Complete.\n"
          "The Panel Is Partly Written: Blocks 1 To 20 Of 384 Hold The New Settings, The Others The Old.\n"
          "Repeat The Download Before The Panel Is Left In Service.",
          "Connection To Tamberline II Panel Lost"}},
        {"upload", {"Upload Error: 19\nAll Host Data Cleared.", "Connection To Tamberline II Panel Lost"}},
        {"nothing in progress", {"Connection To Tamberline II Panel Lost"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseTcp();
        Connect();
        prompts.asked.clear();
        const std::string what = c.what;
        if (what == "download") {
            FaultOptions f;
            f.closeAfter = sim.Panel().CommandCount() + 1 + 20;  // the password read, 20 blocks
            sim.Panel().SetFaults(f);
            QTest::mouseClick(w->cmdDownLoadToT2, Qt::LeftButton);
            QTest::mouseClick(w->cmdPassWordContinue, Qt::LeftButton);
        } else if (what == "upload") {
            FaultOptions f;
            f.closeAfter = sim.Panel().CommandCount() + 20;
            sim.Panel().SetFaults(f);
            prompts.answers = {PromptAnswer::Yes, PromptAnswer::No};
            QTest::mouseClick(w->cmdUpLoadFromT2, Qt::LeftButton);
        } else {
            sim.DropTcpConnections();
            ASSERT_TRUE(QTest::qWaitFor([&] { return !state.PanelConnected; }, 3000));
        }
        const QStringList texts = prompts.Texts();
        ASSERT_GE(texts.size(), c.messages.size());
        EXPECT_EQ(texts.mid(texts.size() - c.messages.size()), c.messages);
        EXPECT_EQ(texts.count("Connection To Tamberline II Panel Lost"), 1);
        EXPECT_FALSE(state.PanelConnected);
        EXPECT_EQ(w->cmdConnect->text(), "Connect To Tamberline II");
        EXPECT_TRUE(w->fraOnLineFunctions->isHidden());
        EXPECT_EQ(main->StatusPanel2->text(), "Disconnected");
        EXPECT_TRUE(MenusEnabled());
        EXPECT_TRUE(main->IsWindowOpen("frmT2Connect"));
        sim.Panel().SetFaults({});
    }
}

TEST_F(OneExchange, APanelAnsweringPastTheTimeOutGivesRightValuesAndTakesTheRightPassword)
{
    sim.Panel().SetClock({13, 5, 0, 3, 15, 14, 6});
    sim.Panel().SetPassword({1, 2, 3, 4, 5, 6});
    // The first three replies come 4.5 seconds late: both tries of "05" (3 s
    // each), then the next command's first try. The second "05" reply lands
    // in the middle of that command's wait.
    FaultOptions late;
    late.lateMs = 9 * TestMsPerSecond / 2;
    late.lateCount = 3;

    // TCP/IP reads the status at connect: the late "05" reply is not read as "01".
    UseTcp();
    sim.Panel().SetFaults(late);
    Connect();
    EXPECT_EQ(w->lblPanelDate->text(), "Sat 03/15/14");
    EXPECT_EQ(w->lblIOInstalled->text(), "04 Inputs/Relays");
    EXPECT_TRUE(w->lblPanelTime->text().startsWith("01:05:")) << w->lblPanelTime->text().toStdString();
    EXPECT_EQ(w->lblAddOnCardTypeRev->text(), "None");
    QTest::mouseClick(w->cmdConnect, Qt::LeftButton);

    // The serial line is polled later; the password is read at once: the late
    // "05" reply is not read as the password.
    sim.Panel().ClearLog();
    UsePty();
    Connect();
    CancelAtBlockTwo();
    prompts.asked.clear();
    QTest::mouseClick(w->cmdDownLoadToT2, Qt::LeftButton);
    TypeDigits(w->txtPassWord, "123456");
    QTest::mouseClick(w->cmdPassWordContinue, Qt::LeftButton);
    EXPECT_FALSE(prompts.Texts().contains("Password Invalid.\nDownload Denied."));
    EXPECT_TRUE(LastText().startsWith("Manual Download Cancel.")) << prompts.Texts().join(" | ").toStdString();
    EXPECT_GE(CountOf(sim.Panel().Commands(), "311F7A05"), 2);  // the first try was answered too late
}

TEST_F(OneExchange, AFailedUploadLetsGoOfTheSettingsFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("SITE.TMB");
    state.Config.RelayNames[0] = "LOBBY";
    ASSERT_TRUE(WriteSettingsFile(file.toStdString(), state.Config, state.Devices, nullptr));
    const QByteArray saved = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    for (bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancelled" : "error");
        state.SettingsFileName = QFile::encodeName(file).toStdString();
        SetDataChanged(state, false);
        main->UpdateStatusBar();
        ASSERT_EQ(main->windowTitle(), "VEL Tamberline II - SITE.TMB");
        UseTcp();
        Connect();
        if (cancel) {
            CancelAtBlockTwo();
        } else {
            FaultOptions f;
            f.stopAfter = sim.Panel().CommandCount() + 5;
            sim.Panel().SetFaults(f);
        }
        prompts.asked.clear();
        prompts.answers = {PromptAnswer::Yes, PromptAnswer::No};
        QTest::mouseClick(w->cmdUpLoadFromT2, Qt::LeftButton);
        ASSERT_EQ(prompts.asked.size(), 3u);
        EXPECT_TRUE(prompts.asked[2].text.endsWith("All Host Data Cleared."));

        // The cleared configuration is no longer the file's.
        EXPECT_EQ(state.SettingsFileName, "None");
        EXPECT_FALSE(main->windowTitle().contains("SITE")) << main->windowTitle().toStdString();
        EXPECT_EQ(main->StatusPanel1->text(), " File Name: None");
        // Save asks for a name (cancelled here) and leaves the file alone.
        prompts.fileAsked.clear();
        main->SaveCommand();
        ASSERT_EQ(prompts.fileAsked.size(), 1u);
        EXPECT_TRUE(prompts.fileAsked[0].save);
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), saved);
        sim.Panel().SetFaults({});
    }
}
