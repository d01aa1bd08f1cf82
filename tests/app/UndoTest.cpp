// Edit Undo and Redo over edits made through the real windows.
#include "AppTestSupport.h"
#include "StartedMainWindow.h"
#include "frmT2MasterMDI.h"
#include "Prompts.h"

#include "../editors/GuiHelpers.h"
#include "NameBox.h"

#include "Defaults.h"
#include "SettingsFile.h"

#include <QLabel>
#include <QMenuBar>
#include <QTemporaryDir>

using namespace t2;
using namespace t2::test;

namespace {

class UndoTest : public StartedMainWindow {
public:
    QLabel* Label(const QString& window, const QString& array, int index) const
    {
        return Find<QLabel>(*w->FindWindow(window), Element(array, index));
    }
    QAction* UndoItem() const { return w->MenuItem("mnuUndo"); }
    QAction* RedoItem() const { return w->MenuItem("mnuRedo"); }
    void Undo() { UndoItem()->trigger(); }
    void Redo() { RedoItem()->trigger(); }
};

}  // namespace

TEST_F(UndoTest, EachEditIsUndoneAndRedoneWithTheWindowRedrawn)
{
    struct Case {
        const char* what;
        const char* window;
        std::function<void(UndoTest&)> edit;
        std::function<bool(const ProgramState&)> edited;   // true after the edit, false before it
        std::function<QString(UndoTest&)> shown;           // what the open window shows of it
        QString shownBefore;
        QString shownAfter;
    };
    auto pickerChoice = [](UndoTest& t) {
        Click(t.Label("frmT2RelayOutputOptions", "lblTimerType", 2));
        Choose(t.w->FindWindow("frmT2RelayOutputOptions")->findChild<QComboBox*>("cboNewTimerType"), 6);
    };
    const Case cases[] = {
        {"a picker choice", "frmT2RelayOutputOptions", pickerChoice,
         [](const ProgramState& s) { return s.Config.RelayTimerType[2] == 6; },
         [](UndoTest& t) { return t.Label("frmT2RelayOutputOptions", "lblTimerType", 2)->text(); },
         " No Blink", " Pulsed On"},
        {"a state click", "frmT2RelayGrouping",
         [](UndoTest& t) { Click(t.Label("frmT2RelayGrouping", "lblInclude", 3)); },
         [](const ProgramState& s) { return s.Config.GroupRelays(0, 3) != 0; },
         [](UndoTest& t) { return t.Label("frmT2RelayGrouping", "lblInclude", 3)->text(); }, "No", "Yes"},
        {"the copy gesture over every row", "frmT2RelayOutputOptions",
         [](UndoTest& t) {
             t.state.Config.RelayPowerOnType[0] = 3;   // as a file brought it
             Press(t.Label("frmT2RelayOutputOptions", "lblRelayName", 0), Qt::RightButton, Qt::ShiftModifier);
         },
         [](const ProgramState& s) {
             for (int r = 1; r < 8; ++r)
                 if (s.Config.RelayPowerOnType[r] != 3) return false;
             return true;
         },
         [](UndoTest& t) { return t.Label("frmT2RelayOutputOptions", "lblPowerOnType", 7)->text(); }, " Off",
         " Last State"},
        {"a typed name", "frmT2EditGroupNames",
         [](UndoTest& t) {
             auto* box = t.w->FindWindow("frmT2EditGroupNames")->findChild<NameBox*>("txtGroupName_4");
             box->setFocus();
             box->selectAll();
             QTest::keyClicks(box, "lobby");
             box->clearFocus();   // one step ends when the box loses the focus
         },
         [](const ProgramState& s) { return s.Config.GroupNames[4] == "LOBBY"; },
         [](UndoTest& t) {
             return t.w->FindWindow("frmT2EditGroupNames")->findChild<NameBox*>("txtGroupName_4")->text();
         },
         "GROUP 05", "LOBBY"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PanelConfig before = state.Config;
        w->OpenWindow(c.window);
        EXPECT_FALSE(UndoItem()->isEnabled());
        c.edit(*this);
        ASSERT_TRUE(c.edited(state));
        EXPECT_EQ(c.shown(*this), c.shownAfter);
        EXPECT_TRUE(UndoItem()->isEnabled());
        EXPECT_EQ(UndoItem()->text(), "Undo " + w->FindWindow(c.window)->windowTitle());
        EXPECT_TRUE(w->windowTitle().endsWith(" *"));

        Undo();
        EXPECT_FALSE(c.edited(state));
        EXPECT_EQ(c.shown(*this), c.shownBefore);
        EXPECT_EQ(RedoItem()->text(), "Redo " + w->FindWindow(c.window)->windowTitle());
        EXPECT_FALSE(UndoItem()->isEnabled());
        EXPECT_FALSE(state.DataChanged);          // back at what was last opened
        EXPECT_FALSE(w->windowTitle().endsWith(" *"));

        Redo();
        EXPECT_TRUE(c.edited(state));
        EXPECT_EQ(c.shown(*this), c.shownAfter);
        EXPECT_TRUE(state.DataChanged);

        state.Config = before;   // the next case starts clean
        state.History.Reset(state);
        SetDataChanged(state, false);
    }
}

TEST_F(UndoTest, SavedStateCountsAndNewClearsTheHistory)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("SITE.TMB");
    w->OpenWindow("frmT2RelayGrouping");
    Click(Label("frmT2RelayGrouping", "lblInclude", 1));
    prompts.fileNames.push_back(path);
    w->SaveCommand();
    ASSERT_FALSE(state.DataChanged);
    Click(Label("frmT2RelayGrouping", "lblInclude", 2));
    EXPECT_TRUE(state.DataChanged);
    Undo();
    EXPECT_FALSE(state.DataChanged);          // the state that was saved
    Undo();
    EXPECT_TRUE(state.DataChanged);           // before the save
    EXPECT_EQ(state.Config.GroupRelays(0, 1), 0);

    prompts.answers.push_back(PromptAnswer::Yes);   // discard the changes
    w->FileNew();
    EXPECT_FALSE(UndoItem()->isEnabled());
    EXPECT_FALSE(RedoItem()->isEnabled());
    EXPECT_EQ(UndoItem()->text(), "Undo");
}

TEST_F(UndoTest, ItemsAreDisabledWhileTheMainMenusAre)
{
    w->OpenWindow("frmT2RelayGrouping");
    Click(Label("frmT2RelayGrouping", "lblInclude", 1));
    ASSERT_TRUE(UndoItem()->isEnabled());
    w->DisableMainMenus();                    // a transfer or automatic updates
    EXPECT_FALSE(UndoItem()->isEnabled());
    w->activateWindow();
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(state.Config.GroupRelays(0, 1), 0);
    w->EnableMainMenus();
    EXPECT_TRUE(UndoItem()->isEnabled());
}
