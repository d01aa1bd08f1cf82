// The link settings of the connection window go through the edit path like
// every other change: each is one step of Edit Undo named "Connect", and the
// connection window shows the configuration again on undo and redo, next to
// the editors, without touching an open session.
#include "ConnectWindowFixture.h"

#include "../editors/GuiHelpers.h"

#include "SettingsFile.h"

#include <QTemporaryDir>

using namespace t2;
using namespace t2::test;

namespace {

struct ConnectUndo : ConnectWindow {
    QAction* UndoItem() const { return main->MenuItem("mnuUndo"); }
    QAction* RedoItem() const { return main->MenuItem("mnuRedo"); }
    QWidget* Window(const char* name) const { return main->FindWindow(name); }

    // What the open windows show of the steps below.
    QStringList Shown() const
    {
        QStringList shown;
        for (int k = 0; k < 3; ++k)
            if (w->chkConnectionType[k]->isChecked()) shown << "link " + QString::number(k);
        for (int i = 0; i < 16; ++i)
            if (w->optComPort[i]->isChecked()) shown << "COM" + QString::number(i + 1);
        shown << "address " + w->txtTCPIP->text() + (w->txtTCPIP->isHidden() ? " hidden" : "");
        shown << "phone " + w->txtPhoneNumber->text() + (w->txtPhoneNumber->isHidden() ? " hidden" : "");
        shown << Label(*Window("frmT2RelayOutputOptions"), "lblTimerType", 2)->text();
        shown << Find<NameBox>(*Window("frmT2EditGroupNames"), "txtGroupName_4")->text();
        return shown;
    }
    void ChooseTimerType(int code)
    {
        Click(Label(*Window("frmT2RelayOutputOptions"), "lblTimerType", 2));
        Choose(Find<QComboBox>(*Window("frmT2RelayOutputOptions"), "cboNewTimerType"), code);
    }
    // Typed as a user types, the box then left with Return.
    static void Type(QLineEdit* box, const char* text)
    {
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
};

}  // namespace

TEST_F(ConnectUndo, UndoAndRedoOverSeveralWindowsTakeBackOnlyWhatTheyName)
{
    UsePty();   // COM1 opens
    state.Config.CommPort = 2;
    state.History.Reset(state);
    SetDataChanged(state, false);
    // Three windows open side by side.
    main->ShowWindow("frmT2RelayOutputOptions");
    main->ShowWindow("frmT2EditGroupNames");
    main->ShowWindow("frmT2Connect");

    struct Step {
        const char* name;   // what Undo names it
        std::function<void()> edit;
    };
    const Step steps[] = {
        {"Connect", [&] { QTest::mouseClick(w->chkConnectionType[2], Qt::LeftButton); }},
        {"Connect", [&] { Type(w->txtTCPIP, "10.0.0.5"); }},   // typing in one box is one step
        {"Relay Output Options", [&] { ChooseTimerType(6); }},
        {"Connect", [&] { QTest::mouseClick(w->chkConnectionType[1], Qt::LeftButton); }},
        {"Connect", [&] { Type(w->txtPhoneNumber, "555-1234"); }},
        {"Edit Group Names",
         [&] {
             auto* box = Find<NameBox>(*Window("frmT2EditGroupNames"), "txtGroupName_4");
             box->selectAll();
             Type(box, "lobby");
         }},
        {"Connect", [&] { QTest::mouseClick(w->optComPort[0], Qt::LeftButton); }},
        {"Relay Output Options", [&] { ChooseTimerType(3); }},
    };
    std::vector<PanelConfig> configs{state.Config};
    std::vector<QStringList> shown{Shown()};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.edit();
        ASSERT_NE(state.Config, configs.back());
        EXPECT_TRUE(state.DataChanged);
        EXPECT_EQ(UndoItem()->text(), QString("Undo ") + step.name);
        configs.push_back(state.Config);
        shown.push_back(Shown());
        if (configs.size() == 2) {
            // Choosing the link type alone is a change the program asks about at Exit.
            EXPECT_TRUE(main->windowTitle().endsWith(" *"));
            prompts.answers = {PromptAnswer::No};
            main->ExitCommand();
            EXPECT_EQ(LastText(), "Discard Any Changes?");
            ASSERT_TRUE(main->isVisible());
        }
    }
    EXPECT_EQ(shown[2], (QStringList{"link 2", "COM2", "address 10.0.0.5", "phone  hidden", " No Blink", "GROUP 05"}));
    EXPECT_EQ(shown.back(),
              (QStringList{"link 1", "COM1", "address 10.0.0.5 hidden", "phone 555-1234", " Alarm Off", "LOBBY"}));

    const int n = static_cast<int>(std::size(steps));
    for (int k = n; k > 0; --k) {
        SCOPED_TRACE("undo of step " + std::to_string(k));
        EXPECT_EQ(UndoItem()->text(), QString("Undo ") + steps[k - 1].name);
        UndoItem()->trigger();
        EXPECT_EQ(state.Config, configs[k - 1]);
        EXPECT_EQ(Shown(), shown[k - 1]);
        EXPECT_EQ(RedoItem()->text(), QString("Redo ") + steps[k - 1].name);
    }
    EXPECT_FALSE(UndoItem()->isEnabled());
    EXPECT_FALSE(state.DataChanged);   // back at the start
    for (int k = 1; k <= n; ++k) {
        SCOPED_TRACE("redo of step " + std::to_string(k));
        RedoItem()->trigger();
        EXPECT_EQ(state.Config, configs[k]);
        EXPECT_EQ(Shown(), shown[k]);
    }
    EXPECT_FALSE(RedoItem()->isEnabled());
    EXPECT_TRUE(prompts.asked.size() == 1) << prompts.Texts().join(" | ").toStdString();
}

// The address typed, a relay option changed and taken back, Save: the file
// holds the new address, and Connect reaches the panel there. Undo while
// connected shows the configuration and leaves the session alone.
TEST_F(ConnectUndo, AnAddressTypedSurvivesTheUndoOfAnotherEditAndIsSaved)
{
    ASSERT_TRUE(sim.StartTcp(0));
    const std::string port = std::to_string(sim.TcpPort());
    state.Config.ConnectionType() = ConnectTcpIp;
    state.Config.PanelAddress() = "127.0.0.9:" + port;
    state.History.Reset(state);
    SetDataChanged(state, false);
    main->OpenWindow("frmT2Connect");

    // The last digit of the host corrected.
    w->txtTCPIP->setCursorPosition(9);
    QTest::keyClick(w->txtTCPIP, Qt::Key_Backspace);
    Type(w->txtTCPIP, "1");
    const std::string address = "127.0.0.1:" + port;
    ASSERT_EQ(state.Config.PanelAddress(), address);

    main->ShowWindow("frmT2RelayOutputOptions");
    ChooseTimerType(6);
    ASSERT_EQ(UndoItem()->text(), "Undo Relay Output Options");
    UndoItem()->trigger();
    EXPECT_EQ(state.Config.RelayTimerType[2], 0);
    EXPECT_EQ(state.Config.PanelAddress(), address);
    EXPECT_EQ(w->txtTCPIP->text(), QString::fromStdString(address));
    EXPECT_EQ(UndoItem()->text(), "Undo Connect");

    QTemporaryDir dir;
    const QString file = dir.filePath("SITE.TMB");
    prompts.fileNames = {file};
    main->SaveCommand();
    ProgramState saved;
    ASSERT_TRUE(ReadSettingsFile(file.toStdString(), saved.Config, saved.Devices, nullptr));
    EXPECT_EQ(saved.Config.PanelAddress(), address);
    EXPECT_EQ(saved.Config.ConnectionType(), ConnectTcpIp);

    // Connected: undo and redo redraw the window, the session stays as it is.
    main->ShowWindow("frmT2Connect");
    Connect();
    UndoItem()->trigger();   // the address as it was before the correction
    EXPECT_EQ(w->txtTCPIP->text(), QString::fromStdString("127.0.0.9:" + port));
    EXPECT_FALSE(w->txtTCPIP->isEnabled());
    EXPECT_TRUE(state.PanelConnected);
    EXPECT_EQ(w->cmdConnect->text(), "Disconnect From Corvanthine");
    EXPECT_FALSE(w->fraOnLineFunctions->isHidden());
    w->lblPanelTime->clear();
    const int before = sim.Panel().CommandCount();
    QTest::mouseClick(w->cmdRefresh, Qt::LeftButton);
    EXPECT_EQ(sim.Panel().CommandCount(), before + 1);
    EXPECT_FALSE(w->lblPanelTime->text().isEmpty());
    RedoItem()->trigger();
    EXPECT_EQ(w->txtTCPIP->text(), QString::fromStdString(address));
    EXPECT_TRUE(state.PanelConnected);
    EXPECT_TRUE(prompts.asked.empty()) << prompts.Texts().join(" | ").toStdString();
}
