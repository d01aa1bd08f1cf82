// The add-on module windows driven as a user does: DMX channels, Auto Map,
// levels and filter; MODBus lists; the windows with nothing to set.
#include "AddOnModuleWindows.h"
#include "EditorGrid.h"
#include "GuiHelpers.h"
#include "Prompts.h"
#include "ScreenText.h"

#include <QLabel>
#include <QPushButton>

#include <functional>
#include <memory>

using namespace t2;
using namespace t2::test;

TEST(AddOnModuleDmx, ChannelLabelsAndTheInPlaceList)
{
    ProgramState s = FreshState(12);
    s.Config.DmxChannel[0] = 0;
    s.Config.DmxChannel[3] = 12;
    s.Config.DmxChannel[4] = 512;
    s.Config.DmxChannel[5] = 513;    // outside the list
    s.Config.DmxChannel[6] = -2;
    s.Config.RelayNames[3] = "STAGE";
    frmT2AddOnModuleDMX w(s);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.windowTitle(), "Add On Module DMX");
    EXPECT_EQ(Label(w, "lblRelayName", 3)->text(), "STAGE");
    EXPECT_EQ(Label(w, "lblRelayName", 3)->toolTip(), "Relay 04");
    EXPECT_EQ(Label(w, "lblRelayName", 3)->pos(), QPoint(w.Px(720), w.Px(240 + 3 * 360)));
    EXPECT_EQ(Label(w, "lblDMXChan", 3)->pos(), QPoint(w.Px(720 + 1335), w.Px(240 + 3 * 360)));
    EXPECT_EQ(Label(w, "lblDMXChan", 0)->text(), " None");
    EXPECT_EQ(Label(w, "lblDMXChan", 3)->text(), " DMX 12");
    EXPECT_EQ(Label(w, "lblDMXChan", 4)->text(), " DMX 512");
    EXPECT_EQ(Label(w, "lblDMXChan", 5)->text(), " ");
    EXPECT_EQ(Label(w, "lblDMXChan", 6)->text(), " ");
    EXPECT_FALSE(Label(w, "lblDMXChan", 12)->isVisible());
    EXPECT_FALSE(Label(w, "lblRelayName", 12)->isVisible());

    QComboBox* list = Find<QComboBox>(w, "cboNewDMX");
    ASSERT_EQ(list->count(), 513);
    EXPECT_EQ(list->itemText(0), "None");
    EXPECT_EQ(list->itemText(1), "DMX 1");
    EXPECT_EQ(list->itemText(512), "DMX 512");
    EXPECT_FALSE(list->isVisible());

    Click(Label(w, "lblDMXChan", 3));
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->pos(), Label(w, "lblDMXChan", 3)->pos());
    EXPECT_EQ(list->currentIndex(), 12);
    EXPECT_EQ(w.EditRelay(), 3);
    EXPECT_FALSE(s.DataChanged);
    Choose(list, 100);
    EXPECT_EQ(s.Config.DmxChannel[3], 100);
    EXPECT_EQ(Label(w, "lblDMXChan", 3)->text(), " DMX 100");
    EXPECT_FALSE(list->isVisible());
    EXPECT_TRUE(s.DataChanged);

    // A channel outside the list selects nothing and stays until one is chosen.
    Click(Label(w, "lblDMXChan", 5));
    EXPECT_EQ(list->currentIndex(), -1);
    EXPECT_EQ(s.Config.DmxChannel[5], 513);
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(w.width() - 3, w.height() - 3));   // the background
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(s.Config.DmxChannel[5], 513);
    Click(Label(w, "lblDMXChan", 5));
    Choose(list, 0);
    EXPECT_EQ(s.Config.DmxChannel[5], 0);
    EXPECT_EQ(Label(w, "lblDMXChan", 5)->text(), " None");
}

TEST(AddOnModuleDmx, AutoMapNumbersEveryRelayFromRelayOne)
{
    struct Case {
        int io;
        Integer first;
    };
    // From 500, relays 1..13 get 500..512 and relays 14..48 no channel.
    for (const Case c : {Case{48, 500}, Case{8, 500}, Case{16, 1}, Case{4, 512}}) {
        SCOPED_TRACE(std::to_string(c.io) + " I/O from " + std::to_string(c.first));
        ProgramState s = FreshState(c.io);
        for (int i = 0; i < ItemSlots; ++i) s.Config.DmxChannel[i] = 7;
        s.Config.DmxChannel[0] = c.first;
        s.History.Reset(s);
        frmT2AddOnModuleDMX w(s);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        ASSERT_TRUE(w.AutoMapButton()->isVisible());
        EXPECT_EQ(w.AutoMapButton()->text(), "Auto Map");
        Click(w.AutoMapButton());
        // All 48 relays are numbered, whatever is installed; past 512 is no channel.
        for (int i = 0; i < ItemCount; ++i) {
            const int expected = c.first + i > 512 ? 0 : c.first + i;
            EXPECT_EQ(s.Config.DmxChannel[i], expected) << i;
            if (i < c.io) {
                EXPECT_EQ(Label(w, "lblDMXChan", i)->text(), expected ? " DMX " + QString::number(expected) : " None");
            }
        }
        EXPECT_EQ(s.Config.DmxChannel[48], 7);   // the spare element stays
        EXPECT_TRUE(s.DataChanged);
        EXPECT_EQ(s.History.Steps(), 1u);
    }
}

TEST(AddOnModuleDmx, AutoMapShowsOnlyWhileRelayOneHasAChannel)
{
    ProgramState s = FreshState(8);
    s.Config.DmxChannel[0] = 0;
    frmT2AddOnModuleDMX w(s);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_FALSE(w.AutoMapButton()->isVisible());
    QComboBox* list = Find<QComboBox>(w, "cboNewDMX");
    Click(Label(w, "lblDMXChan", 0));
    Choose(list, 40);
    EXPECT_TRUE(w.AutoMapButton()->isVisible());
    Click(Label(w, "lblDMXChan", 0));
    Choose(list, 0);
    EXPECT_FALSE(w.AutoMapButton()->isVisible());
    // Another relay's channel does not count.
    Click(Label(w, "lblDMXChan", 1));
    Choose(list, 9);
    EXPECT_FALSE(w.AutoMapButton()->isVisible());
    s.Config.DmxChannel[0] = 3;
    w.OnActivate();
    EXPECT_TRUE(w.AutoMapButton()->isVisible());
}

TEST(AddOnModuleDmx, LevelsKeepOffBelowOn)
{
    struct Case {
        const char* what;
        bool onList;       // the on level's list, else the off level's
        int choose;        // list index: level choose + 1
        Integer on, off;   // stored afterwards
        const char* message;   // nullptr: accepted
    };
    const Case cases[] = {
        {"off equal to on", false, 89, 90, 10, "Off Level Must Be Less Than On Level"},
        {"off above on", false, 98, 90, 10, "Off Level Must Be Less Than On Level"},
        {"off just below on", false, 88, 90, 89, nullptr},
        {"off at the lowest", false, 0, 90, 1, nullptr},
        {"on equal to off", true, 9, 90, 10, "On Level Must Be Greater Than Off Level"},
        {"on below off", true, 0, 90, 10, "On Level Must Be Greater Than Off Level"},
        {"on just above off", true, 10, 11, 10, nullptr},
        {"on at the highest", true, 98, 99, 10, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramState s = FreshState(4);
        s.Config.DmxOnLevel = 90;
        s.Config.DmxOffLevel = 10;
        s.History.Reset(s);
        ScriptedPrompts prompts;
        frmT2AddOnModuleDMX w(s);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        EXPECT_EQ(w.OnLevelList()->currentText(), "90%");
        EXPECT_EQ(w.OffLevelList()->currentText(), "10%");
        ASSERT_EQ(w.OnLevelList()->count(), 99);
        EXPECT_EQ(w.OnLevelList()->itemText(0), "1%");
        EXPECT_EQ(w.OffLevelList()->itemText(98), "99%");

        Choose(c.onList ? w.OnLevelList() : w.OffLevelList(), c.choose);
        EXPECT_EQ(s.Config.DmxOnLevel, c.on);
        EXPECT_EQ(s.Config.DmxOffLevel, c.off);
        EXPECT_TRUE(s.DataChanged);   // refused or not, the configuration counts as changed
        // The lists show what is stored.
        EXPECT_EQ(w.OnLevelList()->currentIndex(), c.on - 1);
        EXPECT_EQ(w.OffLevelList()->currentIndex(), c.off - 1);
        if (c.message) {
            ASSERT_EQ(prompts.asked.size(), 1u);
            EXPECT_EQ(prompts.asked[0].text, c.message);
            EXPECT_EQ(prompts.asked[0].title, "Error");
            EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Information);
            EXPECT_FALSE(s.History.CanUndo());
        } else {
            EXPECT_TRUE(prompts.asked.empty());
            EXPECT_TRUE(s.History.CanUndo());
        }
    }
}

TEST(AddOnModuleDmx, FilterAndLabels)
{
    ProgramState s = FreshState(4);
    s.Config.DmxFilter = 3;
    frmT2AddOnModuleDMX w(s);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_EQ(w.FilterList()->count(), 16);
    EXPECT_EQ(w.FilterList()->itemText(0), "1");
    EXPECT_EQ(w.FilterList()->itemText(15), "16");
    EXPECT_EQ(w.FilterList()->currentText(), "4");
    Choose(w.FilterList(), 0);
    EXPECT_EQ(s.Config.DmxFilter, 0);   // stored as the list index
    EXPECT_TRUE(s.DataChanged);
    EXPECT_EQ(Label(w, "lblLevel", 0)->text(), "DMX On Level");
    EXPECT_EQ(Label(w, "lblLevel", 1)->text(), "DMX Off Level");
    EXPECT_EQ(Find<QLabel>(w, "lblFilter")->text(), "DMX Filter");

    s.Config.DmxFilter = 16;
    s.Config.DmxOnLevel = 0;
    w.ShowDMXConfiguration();
    EXPECT_EQ(w.FilterList()->currentIndex(), -1);
    EXPECT_EQ(w.OnLevelList()->currentIndex(), -1);
}

TEST(AddOnModuleModBus, ListsShowAndStoreTheirCodes)
{
    struct Case {
        const char* what;
        Integer protocol, baud, parity;
        int protocolIndex, baudIndex, parityIndex;
    };
    const Case cases[] = {
        {"defaults", 0, 0, 0, 0, 0, 0},
        {"last entries", 1, 3, 2, 1, 3, 2},
        {"outside the lists", 2, 4, 3, -1, -1, -1},
        {"negative", -1, -1, -1, -1, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramState s = FreshState();
        s.Config.ModbusProtocol = c.protocol;
        s.Config.ModbusBaud = c.baud;
        s.Config.ModbusParity = c.parity;
        frmT2AddOnModuleModBus w(s);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        EXPECT_EQ(w.windowTitle(), "Add On Module ModBus");
        EXPECT_EQ(w.ModeList()->currentIndex(), c.protocolIndex);
        EXPECT_EQ(w.BaudList()->currentIndex(), c.baudIndex);
        EXPECT_EQ(w.ParityList()->currentIndex(), c.parityIndex);
        EXPECT_FALSE(s.DataChanged);
        EXPECT_EQ(s.Config.ModbusBaud, c.baud);

        Choose(w.ModeList(), 1);
        Choose(w.BaudList(), 2);
        Choose(w.ParityList(), 1);
        EXPECT_EQ(s.Config.ModbusProtocol, 1);
        EXPECT_EQ(s.Config.ModbusBaud, 2);
        EXPECT_EQ(s.Config.ModbusParity, 1);
        EXPECT_TRUE(s.DataChanged);
    }
    ProgramState s = FreshState();
    frmT2AddOnModuleModBus w(s);
    w.show();
    const QStringList mode{"ASCII", "RTU"}, baud{"38400", "19200", "9600", "4800"}, parity{"None", "Odd", "Even"};
    for (const auto& [list, texts] : {std::pair{w.ModeList(), mode}, {w.BaudList(), baud}, {w.ParityList(), parity}}) {
        ASSERT_EQ(list->count(), texts.size());
        for (int k = 0; k < list->count(); ++k) EXPECT_EQ(list->itemText(k), texts[k]);
    }
    EXPECT_EQ(Find<QLabel>(w, "lblMode")->text(), "Mode");
    EXPECT_EQ(Find<QLabel>(w, "lblBaud")->text(), "Baud");
    EXPECT_EQ(Find<QLabel>(w, "lblParity")->text(), "Parity");
}

TEST(AddOnModuleNote, TheWindowsWithNothingToSet)
{
    using Make = std::function<std::unique_ptr<AddOnModuleNote>(ProgramState&)>;
    struct Case {
        Make make;
        const char* name;
        const char* caption;
        const char* text;
    };
    const Case cases[] = {
        {[](ProgramState& s) { return std::make_unique<frmT2AddOnModuleNone>(s); }, "frmT2AddOnModuleNone",
         "Add On Module", "No Add On Module Installed"},
        {[](ProgramState& s) { return std::make_unique<frmT2AddOnModuleN2>(s); }, "frmT2AddOnModuleN2",
         "Add On Module N2", "No Configuration Required"},
        {[](ProgramState& s) { return std::make_unique<frmT2AddOnModuleVoiceDTMF>(s); }, "frmT2AddOnModuleVoiceDTMF",
         "Add On Module Voice DTMF", "No Configuration Required"},
        {[](ProgramState& s) { return std::make_unique<frmT2AddOnModuleBACnet>(s); }, "frmT2AddOnModuleBACnet",
         "Add On Module BACnet", "No Configuration Required"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramState s = FreshState();
        const auto w = c.make(s);
        w->show();
        EXPECT_EQ(w->objectName(), c.name);
        EXPECT_EQ(w->windowTitle(), c.caption);
        QLabel* note = Find<QLabel>(*w, "lblNoAddOnModule");
        ASSERT_EQ(note, w->Note());
        EXPECT_EQ(note->text(), c.text);
        EXPECT_TRUE(note->isVisible());
        EXPECT_LE(note->sizeHint().width(), note->width());
        EXPECT_FALSE(s.DataChanged);
    }
}
