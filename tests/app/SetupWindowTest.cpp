#include "Prompts.h"
#include "Twips.h"
#include "frmT2MasterMDI.h"
#include "frmT2Setup.h"

#include "Defaults.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace t2;

namespace {

class SetupWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        w = std::make_unique<frmT2MasterMDI>(state);
        w->Startup();
        w->show();
        w->tmrFix->stop();
        w->MenuItem("mnuSetup")->trigger();
        setup = qobject_cast<frmT2Setup*>(w->FindWindow("frmT2Setup"));
        ASSERT_NE(setup, nullptr);
    }
    void TearDown() override
    {
        w->ExitRequested = true;
        w.reset();
    }

    // Reopens the window so that it shows the configuration as it is now.
    void Reopen() { w->MenuItem("mnuSetup")->trigger(); }

    void ClickCount(int node) { QTest::mouseClick(setup->lblIOCount[node], Qt::LeftButton); }

    // Clicks an option button on its round mark.
    void ClickOption(int k)
    {
        QRadioButton* o = setup->optAddOnModuleType[k];
        QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(6, o->height() / 2));
    }

    void Pick(int index)
    {
        setup->cboIOCount->setCurrentIndex(index);
        emit setup->cboIOCount->activated(index);
    }

    QStringList Entries() const
    {
        QStringList e;
        for (int i = 0; i < setup->cboIOCount->count(); ++i) e << setup->cboIOCount->itemText(i);
        return e;
    }

    QColor Background(int node) const
    {
        return setup->lblIOAdd[node]->palette().color(QPalette::Window);
    }

    ProgramState state;
    ScriptedPrompts prompts;
    std::unique_ptr<frmT2MasterMDI> w;
    frmT2Setup* setup = nullptr;
};

}  // namespace

TEST_F(SetupWindowTest, FreshConfigurationShowsFourPointsOnNodeOne)
{
    EXPECT_EQ(setup->windowTitle(), "Setup");
    EXPECT_EQ(setup->fraIOConfiguration->title(), "I/O Configuration");
    EXPECT_EQ(setup->fraAddOnModule->title(), "Add On Module");
    EXPECT_EQ(setup->lblNode[0]->text(), "Node 1");
    EXPECT_EQ(setup->lblNode[9]->text(), "Node A");
    EXPECT_EQ(setup->lblNode[11]->text(), "Node C");
    EXPECT_EQ(setup->lblIOCount[0]->text(), "4 I/O");
    EXPECT_EQ(setup->lblIOAdd[0]->text(), "01 - 04");
    for (int n = 1; n < 12; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(setup->lblIOCount[n]->text(), "-");
        EXPECT_TRUE(setup->lblIOAdd[n]->isHidden());
    }
    EXPECT_TRUE(setup->optAddOnModuleType[0]->isChecked());
    EXPECT_EQ(setup->optAddOnModuleType[4]->text(), "Voice / DTMF Module");
    EXPECT_EQ(setup->optAddOnModuleType[6]->text(), "Modem / Tamberline");
    EXPECT_TRUE(setup->cboIOCount->isHidden());
    EXPECT_FALSE(state.DataChanged);
}

TEST_F(SetupWindowTest, RangesPastFortyEightAreInvalid)
{
    state.Config.NodeIOCount[0] = 8;
    state.Config.NodeIOCount[1] = 4;
    state.Config.NodeIOCount[2] = 1;
    Reopen();
    EXPECT_EQ(setup->lblIOCount[0]->text(), "32 I/O");
    EXPECT_EQ(setup->lblIOAdd[0]->text(), "01 - 32");
    EXPECT_EQ(setup->lblIOCount[1]->text(), "16 I/O");
    EXPECT_EQ(setup->lblIOAdd[1]->text(), "33 - 48");
    EXPECT_EQ(Background(1), QColor(0x80, 0xFF, 0x80));
    EXPECT_EQ(setup->lblIOCount[2]->text(), "4 I/O");
    EXPECT_EQ(setup->lblIOAdd[2]->text(), "Invalid");
    EXPECT_EQ(Background(2), QColor(0xFF, 0x80, 0x80));
    EXPECT_FALSE(setup->lblIOAdd[2]->isHidden());
    EXPECT_EQ(TotalIOCount(state.Config), 48);
}

TEST_F(SetupWindowTest, PickingACountAfterEmptyNodesContinuesTheNumbering)
{
    ClickCount(5);
    EXPECT_EQ(setup->EditNode, 5);
    EXPECT_FALSE(setup->cboIOCount->isHidden());
    EXPECT_EQ(Entries(), (QStringList{"None", "4 I/O", "8 I/O", "12 I/O", "16 I/O"}));
    EXPECT_EQ(setup->cboIOCount->currentIndex(), 0);
    EXPECT_TRUE(state.DataChanged);  // opening the picker counts as a change
    EXPECT_TRUE(w->windowTitle().endsWith(" *"));

    Pick(1);
    EXPECT_EQ(state.Config.NodeIOCount[5], 1);
    EXPECT_TRUE(setup->cboIOCount->isHidden());
    EXPECT_EQ(setup->lblIOCount[5]->text(), "4 I/O");
    EXPECT_EQ(setup->lblIOAdd[5]->text(), "05 - 08");
    EXPECT_EQ(Background(5), QColor(0x80, 0xFF, 0x80));
    for (int n = 1; n < 5; ++n) EXPECT_TRUE(setup->lblIOAdd[n]->isHidden());

    // Node 1 offers 4..32 points and can never be emptied.
    ClickCount(0);
    EXPECT_EQ(Entries(),
              (QStringList{"4 I/O", "8 I/O", "12 I/O", "16 I/O", "20 I/O", "24 I/O", "28 I/O", "32 I/O"}));
    EXPECT_EQ(setup->cboIOCount->currentIndex(), 0);
    Pick(2);
    EXPECT_EQ(state.Config.NodeIOCount[0], 3);
    EXPECT_EQ(setup->lblIOAdd[0]->text(), "01 - 12");
    EXPECT_EQ(setup->lblIOAdd[5]->text(), "13 - 16");

    // The picker sits just above the label; a click on the background hides it.
    ClickCount(5);
    EXPECT_EQ(setup->cboIOCount->currentIndex(), 1);
    EXPECT_EQ(setup->cboIOCount->y(), setup->lblIOCount[5]->y() - Twips(15));
    QTest::mouseClick(setup, Qt::LeftButton, {}, QPoint(setup->width() - 5, setup->height() - 5));
    EXPECT_TRUE(setup->cboIOCount->isHidden());
    EXPECT_EQ(state.Config.NodeIOCount[5], 1);
}

TEST_F(SetupWindowTest, StoredCountsOutsideThePickerSelectNothing)
{
    state.Config.NodeIOCount[0] = 0;
    state.Config.NodeIOCount[1] = 7;
    state.Config.NodeIOCount[2] = -3;
    Reopen();
    EXPECT_EQ(setup->lblIOAdd[0]->text(), "Invalid");
    EXPECT_EQ(setup->lblIOCount[1]->text(), "28 I/O");
    EXPECT_EQ(setup->lblIOAdd[1]->text(), "01 - 28");
    EXPECT_EQ(setup->lblIOAdd[2]->text(), "Invalid");

    ClickCount(0);
    EXPECT_EQ(setup->cboIOCount->currentIndex(), -1);
    ClickCount(1);
    EXPECT_EQ(setup->cboIOCount->currentIndex(), -1);
    EXPECT_EQ(state.Config.NodeIOCount[1], 7);  // nothing stored until an entry is picked
    Pick(4);
    EXPECT_EQ(state.Config.NodeIOCount[1], 4);
}

TEST_F(SetupWindowTest, AddOnModuleChoosesTheAddOnWindow)
{
    for (int type = 0; type <= 5; ++type) {
        SCOPED_TRACE(type);
        w->MenuItem("mnuSetup")->trigger();
        SetDataChanged(state, false);
        ClickOption(type);
        EXPECT_EQ(state.Config.AddOnModuleType, type);
        EXPECT_TRUE(state.DataChanged);
        w->MenuItem("mnuAddOnModules")->trigger();
        EXPECT_TRUE(w->IsWindowOpen(AddOnModuleWindowName(type)));
        EXPECT_FALSE(w->IsWindowOpen("frmT2Setup"));
    }

    // "Modem / Tamberline" stores 6, and the menu then opens no add-on window.
    w->MenuItem("mnuSetup")->trigger();
    ClickOption(6);
    EXPECT_EQ(state.Config.AddOnModuleType, 6);
    w->MenuItem("mnuAddOnModules")->trigger();
    for (int type = 0; type <= 5; ++type) EXPECT_FALSE(w->IsWindowOpen(AddOnModuleWindowName(type)));
}

TEST_F(SetupWindowTest, ActivationSelectsTheStoredAddOnOrNone)
{
    state.Config.AddOnModuleType = 3;
    Reopen();
    EXPECT_TRUE(setup->optAddOnModuleType[3]->isChecked());
    state.Config.AddOnModuleType = 9;
    Reopen();
    for (auto* o : setup->optAddOnModuleType) EXPECT_FALSE(o->isChecked());
    EXPECT_EQ(state.Config.AddOnModuleType, 9);
    EXPECT_FALSE(state.DataChanged);  // showing stored values changes nothing
}

// A node's count chosen from the keyboard: the list opens on the stored
// count, Enter stores the one chosen and the focus comes back to the label.
TEST_F(SetupWindowTest, KeyboardPicksANodesCount)
{
    QApplication::setActiveWindow(w.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    setup->lblIOCount[1]->setFocus(Qt::TabFocusReason);
    QTest::keyClick(setup->lblIOCount[1], Qt::Key_Space);
    ASSERT_TRUE(setup->cboIOCount->view()->isVisible());
    EXPECT_EQ(setup->cboIOCount->currentIndex(), 0);
    QTest::keyClick(setup->cboIOCount->view(), Qt::Key_Down);
    QTest::keyClick(setup->cboIOCount->view(), Qt::Key_Down);
    QTest::keyClick(setup->cboIOCount->view(), Qt::Key_Return);
    EXPECT_EQ(state.Config.NodeIOCount[1], 2);
    EXPECT_EQ(setup->lblIOCount[1]->text(), "8 I/O");
    EXPECT_TRUE(setup->cboIOCount->isHidden());
    EXPECT_EQ(setup->focusWidget(), setup->lblIOCount[1]);
}
