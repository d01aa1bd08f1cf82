// The editor windows driven by the keyboard alone, as a user without a mouse
// does, and what a screen reader learns of their cells.
#include "CalendarWindows.h"
#include "GuiHelpers.h"
#include "LocalInputWindows.h"
#include "PresetWindows.h"
#include "RelayWindows.h"
#include "VantelWindows.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

using namespace t2;
using namespace t2::test;

namespace {

QWidget* shownWindow = nullptr;

// A window shown and active, so that the focus goes where a user's would.
template <typename W>
struct KeyWindow {
    explicit KeyWindow(int ioPoints = 8) : s(FreshState(ioPoints)), w(s) {}
    ~KeyWindow() { shownWindow = nullptr; }
    void Show()
    {
        shownWindow = &w;
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    QLabel* Cell(const QString& array, int row) { return Label(w, array, row); }
    ProgramState s;
    W w;
};

// The focus. The offscreen platform leaves no window active once a list
// closes (a desktop gives the window its activation back): then the focus
// the window keeps.
QWidget* Focus()
{
    if (QWidget* f = QApplication::focusWidget()) return f;
    return shownWindow ? shownWindow->focusWidget() : nullptr;
}

// Where the keys go: an open list or menu, else the focus.
QWidget* KeyTarget()
{
    if (QWidget* popup = QApplication::activePopupWidget()) return popup->focusWidget() ? popup->focusWidget() : popup;
    return Focus();
}

void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget* target = KeyTarget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
}

void Keys(std::initializer_list<int> keys)
{
    for (int k : keys) Key(k);
}

QString FocusName()
{
    QWidget* f = Focus();
    return f ? f->objectName() : QString("(none)");
}

bool ListOpen(QComboBox* combo) { return combo->view()->isVisible(); }

}  // namespace

TEST(Keyboard, ChooseATimerTypeInRelayOutputOptions)
{
    KeyWindow<frmT2RelayOutputOptions> k;
    k.s.Config.RelayTimerType[2] = 0;
    k.Show();
    QComboBox* picker = Find<QComboBox>(k.w, "cboNewTimerType");
    // The window starts on the first row's name (it carries the copy gesture).
    EXPECT_EQ(FocusName(), "lblRelayName_0");
    Keys({Qt::Key_Tab, Qt::Key_Down, Qt::Key_Down});
    EXPECT_EQ(FocusName(), "lblTimerType_2");
    Key(Qt::Key_Space);
    ASSERT_TRUE(picker->isVisible());
    EXPECT_TRUE(ListOpen(picker));
    EXPECT_EQ(picker->currentIndex(), 0);   // on the stored value
    EXPECT_FALSE(k.s.DataChanged);
    Keys({Qt::Key_Down, Qt::Key_Return});
    EXPECT_EQ(k.s.Config.RelayTimerType[2], 1);
    EXPECT_EQ(k.Cell("lblTimerType", 2)->text(), " Blink");
    EXPECT_TRUE(k.s.DataChanged);
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(FocusName(), "lblTimerType_2");

    // Type-ahead chooses too, opened by F4 and by Alt+Down.
    for (const auto& [key, mods] : {std::pair{Qt::Key_F4, Qt::NoModifier}, std::pair{Qt::Key_Down, Qt::AltModifier}}) {
        Key(key, mods);
        ASSERT_TRUE(ListOpen(picker));
        EXPECT_EQ(picker->currentIndex(), 1);
        Key(Qt::Key_Escape);   // nothing chosen: closed as a click on the background closes it
        EXPECT_TRUE(QTest::qWaitFor([&] { return !picker->isVisible() && FocusName() == "lblTimerType_2"; }, 1000))
            << FocusName().toStdString();
        EXPECT_EQ(k.s.Config.RelayTimerType[2], 1);
    }
    Key(Qt::Key_Enter);
    QTest::keyClicks(KeyTarget(), "Alarm On");
    Key(Qt::Key_Return);
    EXPECT_EQ(k.s.Config.RelayTimerType[2], 4);
    EXPECT_EQ(k.Cell("lblTimerType", 2)->text(), " Alarm On");
    EXPECT_EQ(FocusName(), "lblTimerType_2");
}

TEST(Keyboard, ArrowsHomeEndAndPagesMoveBetweenCells)
{
    struct Case {
        const char* from;
        int key;
        const char* to;
    };
    // 20 relays: rows 1..16 in the first column of rows, 17..20 in the second.
    const Case cases[] = {
        {"lblTimerType_2", Qt::Key_Down, "lblTimerType_3"},
        {"lblTimerType_2", Qt::Key_Up, "lblTimerType_1"},
        {"lblTimerType_0", Qt::Key_Up, "lblTimerType_0"},       // the top: it stays
        {"lblTimerType_15", Qt::Key_Down, "lblTimerType_15"},   // a column of 16
        {"lblTimerType_2", Qt::Key_Right, "lblPowerOnType_2"},
        {"lblPowerOnType_2", Qt::Key_Right, "lblTimerType_18"},  // the same line of the next column of rows
        {"lblPowerOnType_5", Qt::Key_Right, "lblPowerOnType_5"}, // row 22 is not shown
        {"lblTimerType_18", Qt::Key_Left, "lblPowerOnType_2"},
        {"lblTimerType_0", Qt::Key_Left, "lblRelayName_0"},      // the name with the copy gesture
        {"lblTimerType_1", Qt::Key_Left, "lblTimerType_1"},      // other names do not act
        {"lblRelayName_0", Qt::Key_Right, "lblTimerType_0"},
        {"lblTimerType_7", Qt::Key_Home, "lblTimerType_0"},
        {"lblTimerType_7", Qt::Key_End, "lblTimerType_19"},
        {"lblTimerType_2", Qt::Key_PageDown, "lblTimerType_18"},
        {"lblTimerType_9", Qt::Key_PageDown, "lblTimerType_19"}, // the last row of a short column
        {"lblTimerType_18", Qt::Key_PageUp, "lblTimerType_2"},
        {"lblTimerType_2", Qt::Key_PageUp, "lblTimerType_2"},
    };
    KeyWindow<frmT2RelayOutputOptions> k(20);
    k.Show();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " key " + std::to_string(c.key));
        Find<QWidget>(k.w, c.from)->setFocus();
        Key(c.key);
        EXPECT_EQ(FocusName(), c.to);
    }
    EXPECT_FALSE(k.s.DataChanged);
}

TEST(Keyboard, PresetStateStepsOncePerSpaceAndCopiesThroughTheMenu)
{
    KeyWindow<frmT2EditPresets> k;
    k.s.Config.PresetRelayControl(0, 0) = 0;
    k.Show();
    EXPECT_EQ(FocusName(), "cboPresetNumber");
    Keys({Qt::Key_Tab, Qt::Key_Tab});
    EXPECT_EQ(FocusName(), "lblRelayControl_0");
    for (const char* text : {"On", "Off", "-"}) {
        Key(Qt::Key_Space);
        EXPECT_EQ(k.Cell("lblRelayControl", 0)->text(), text);
    }
    EXPECT_EQ(k.s.Config.PresetRelayControl(0, 0), 0);
    EXPECT_TRUE(k.s.DataChanged);
    // A held Space does not repeat.
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
    QApplication::sendEvent(QApplication::focusWidget(), &repeated);
    EXPECT_EQ(k.s.Config.PresetRelayControl(0, 0), 0);

    // Relay 1 on, copied to every relay from the first row's name by its menu.
    Key(Qt::Key_Space);
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(FocusName(), "lblRelayName_0");
    k.s.DataChanged = false;
    for (const auto& [key, mods] : {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
        Key(key, mods);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 1);
        EXPECT_EQ(menu->actions()[0]->text(), "Copy Relay 1 To All Relays");
        if (key == Qt::Key_Menu) {
            Key(Qt::Key_Escape);   // closed: nothing copied
            EXPECT_EQ(k.s.Config.PresetRelayControl(0, 7), 0);
            continue;
        }
        Keys({Qt::Key_Down, Qt::Key_Return});
    }
    for (int r = 0; r < 8; ++r) {
        EXPECT_EQ(k.s.Config.PresetRelayControl(0, r), 1) << r;
        EXPECT_EQ(k.Cell("lblRelayControl", r)->text(), "On") << r;
    }
    EXPECT_EQ(k.s.Config.PresetRelayControl(0, 8), 0);   // beyond the I/O shown
    EXPECT_TRUE(k.s.DataChanged);
}

TEST(Keyboard, SetAnInputsEnableTime)
{
    KeyWindow<frmT2InputActiveTimes> k;
    k.Show();
    EXPECT_EQ(FocusName(), "lblInputEnableTime_0");
    Keys({Qt::Key_Down, Qt::Key_Return});
    QComboBox* picker = Find<QComboBox>(k.w, "cboNewTime");
    ASSERT_TRUE(ListOpen(picker));
    EXPECT_TRUE(k.s.DataChanged);   // opening it marks the change, as a click does
    QTest::keyClicks(KeyTarget(), "8:30A");
    Key(Qt::Key_Return);
    EXPECT_EQ(k.s.Config.InputEnableTime[1], 34);
    EXPECT_EQ(k.Cell("lblInputEnableTime", 1)->text(), "8:30A");
    EXPECT_EQ(FocusName(), "lblInputEnableTime_1");
}

TEST(Keyboard, PickACityInAstroClockSettings)
{
    KeyWindow<frmT2AstroClockSettings> k;
    k.Show();
    for (int n = 0; n < 10 && FocusName() != "cmdFindLatLon"; ++n) Key(Qt::Key_Tab);
    ASSERT_EQ(FocusName(), "cmdFindLatLon");
    Key(Qt::Key_Space);
    EXPECT_TRUE(k.w.PickingCity());
    EXPECT_EQ(FocusName(), "cboFindLatLon");
    QTest::keyClicks(KeyTarget(), "Colorado,De");
    EXPECT_EQ(Find<QComboBox>(k.w, "cboFindLatLon")->currentText(), "Colorado,Denver");
    Key(Qt::Key_Tab);
    EXPECT_EQ(FocusName(), "cmdAccept");
    Key(Qt::Key_Space);
    EXPECT_EQ(k.s.Config.Latitude, 39);
    EXPECT_EQ(k.s.Config.Longitude, 105);
    EXPECT_EQ(Find<QComboBox>(k.w, "cboLatitude")->currentText(), "39");
    EXPECT_EQ(Find<QComboBox>(k.w, "cboLongitude")->currentText(), "105");
    EXPECT_FALSE(k.w.PickingCity());
    EXPECT_EQ(FocusName(), "cmdFindLatLon");
}

TEST(Keyboard, RelayGroupingFromTheGroupSelectorIntoTheGrid)
{
    KeyWindow<frmT2RelayGrouping> k;
    k.Show();
    EXPECT_EQ(FocusName(), "cboGroup");
    Key(Qt::Key_Down);   // group 2
    EXPECT_EQ(Find<QComboBox>(k.w, "cboGroup")->currentIndex(), 1);
    Keys({Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Down});
    EXPECT_EQ(FocusName(), "lblInclude_1");
    Key(Qt::Key_Space);
    EXPECT_NE(k.s.Config.GroupRelays(1, 1), 0);
    EXPECT_EQ(k.s.Config.GroupRelays(0, 1), 0);
    EXPECT_EQ(k.Cell("lblInclude", 1)->text(), "Yes");
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(FocusName(), "cboGroup");
}

TEST(Keyboard, ScreenReadersHearTheRowTheColumnAndTheValue)
{
    KeyWindow<frmT2RelayOutputOptions> k;
    k.s.Config.RelayNames[4] = "LOBBY";
    k.s.Config.RelayTimerType[4] = 1;
    k.Show();
    QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(k.Cell("lblTimerType", 4));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "Relay 05 LOBBY, Timer Type");
    EXPECT_EQ(cell->text(QAccessible::Value), "Blink");
    EXPECT_EQ(cell->role(), QAccessible::ComboBox);
    EXPECT_EQ(k.Cell("lblTimerType", 4)->objectName(), "lblTimerType_4");   // object names stay

    // The value follows the configuration; the press opens the picker.
    k.s.Config.RelayTimerType[4] = 5;
    k.w.Redraw();
    EXPECT_EQ(cell->text(QAccessible::Value), "Pulsed Off");
    cell->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(Find<QComboBox>(k.w, "cboNewTimerType")->isVisible());
    EXPECT_EQ(Find<QComboBox>(k.w, "cboNewTimerType")->accessibleName(), "Relay 05 LOBBY, Timer Type");

    QAccessibleInterface* name = QAccessible::queryAccessibleInterface(k.Cell("lblRelayName", 0));
    EXPECT_EQ(name->role(), QAccessible::Button);
    EXPECT_EQ(name->text(QAccessible::Description), "Copy Relay 1 To All Relays (Shift+F10)");
    QAccessibleInterface* plain = QAccessible::queryAccessibleInterface(k.Cell("lblRelayName", 4));
    EXPECT_EQ(plain->role(), QAccessible::StaticText);
    EXPECT_EQ(plain->text(QAccessible::Name), "Relay 05 LOBBY");
}

TEST(Keyboard, PhotocellBarsTakeTheArrowsAndPages)
{
    KeyWindow<frmT2ConfigureVantelDevices> k;
    k.s.Devices[5].DeviceType = 9;
    k.s.Devices[5].DeviceInputOffLevel[0] = 128;
    k.Show();
    EXPECT_EQ(FocusName(), "cboVLinkDevice");
    for (int n = 0; n < 5; ++n) Key(Qt::Key_Down);
    ASSERT_EQ(k.w.CurrentDevice(), 5);
    for (int n = 0; n < 10 && FocusName() != "hsInputFOffLevel_0"; ++n) Key(Qt::Key_Tab);
    ASSERT_EQ(FocusName(), "hsInputFOffLevel_0");
    struct Step {
        int key;
        int level;
    };
    // Small steps of 1, large ones of 30 (this channel's), the ends.
    for (const Step step : {Step{Qt::Key_Right, 129}, Step{Qt::Key_Left, 128}, Step{Qt::Key_Up, 127},
                            Step{Qt::Key_Down, 128}, Step{Qt::Key_PageDown, 158}, Step{Qt::Key_PageUp, 128},
                            Step{Qt::Key_End, 255}, Step{Qt::Key_Home, 0}, Step{Qt::Key_Left, 0}}) {
        Key(step.key);
        EXPECT_EQ(k.s.Devices[5].DeviceInputOffLevel[0], step.level) << step.key;
    }
    EXPECT_EQ(k.Cell("lblInputFOffLevel", 0)->text(), " Off 000/255 (0%)");
    Key(Qt::Key_Tab);   // the keys on one bar are one step to undo
    EXPECT_EQ(k.s.History.Steps(), 1u);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Find<QWidget>(k.w, "hsInputFOffLevel_0"))->text(QAccessible::Name),
              "Input 1, Off Level");
}
