// The reusable grid on a small window of its own, and the screen helpers.
#include "EditorGrid.h"
#include "GuiHelpers.h"
#include "ScreenText.h"
#include "Twips.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>

#include <functional>

using namespace t2;
using namespace t2::test;

TEST(Screen, Windows1252RoundTripsEveryByte)
{
    Bytes all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const QString text = ToScreen(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x80], QChar(0x20AC));   // euro sign
    EXPECT_EQ(text[0xE9], QChar(0xE9));     // e acute
    EXPECT_EQ(FromScreen(text), all);
    EXPECT_EQ(FromScreen(QString::fromUtf8("A\u4E2DB")), Bytes("A?B"));   // not in the code page
}

TEST(Screen, TwipsAndToolTips)
{
    QWidget w;
    const int dpi = w.logicalDpiX();
    EXPECT_EQ(Twips(&w, 1440), dpi);
    if (dpi == 96) {
        EXPECT_EQ(Twips(&w, 15), 1);
    }
    EXPECT_EQ(ItemToolTip("Relay ", 0), "Relay 01");
    EXPECT_EQ(ItemToolTip("Preset ", 47), "Preset 48");
}

TEST(NameKeyFilter, KeepsPanelCharactersAndCapitalises)
{
    EXPECT_EQ(FilterNameText("relay one! #5 (a/b)*@:?.-_=+é"), "RELAY ONE #5 (A/B)*@:?.-");
}

// Whatever way the characters arrive in a name box (one key, a key carrying
// several characters, an input method's composed text) only what the filter
// keeps reaches the name.
TEST(NameKeyFilter, EveryWayOfTypingIsFiltered)
{
    NameBox box;
    box.show();
    box.setFocus();
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"keys", [&] { QTest::keyClicks(&box, "a!b"); }},
        {"one key, several characters",
         [&] {
             QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("éa!b€"));
             QApplication::sendEvent(&box, &key);
         }},
        {"input method",
         [&] {
             QInputMethodEvent commit;
             commit.setCommitString(QString::fromUtf8("àa!bñ"));
             QApplication::sendEvent(&box, &commit);
         }},
    };
    for (const auto& [label, type] : ways) {
        SCOPED_TRACE(label);
        box.clear();
        type();
        EXPECT_EQ(box.text(), "AB");
    }
}

namespace {

// Two value cells sharing one picker (as the time windows do), a state cell
// counting up, an opening hook, and rows limited by a count.
class GridWindow : public EditorWindow {
public:
    explicit GridWindow(ProgramState& s) : EditorWindow(s, {"frmGridTest", "Grid Test"}), grid(AddGrid({.rows = 20}))
    {
        grid.Names({.label = "lblName", .text = [](int r) { return QString("Row %1").arg(r); }, .toolTip = "Item "});
        grid.RowsShown([this] { return shown; });
        grid.AddPicker({.label = "lblFrom", .picker = "cboTime", .offset = 1335, .choices = Choices({"A", "B", "C"}),
                        .member = [this](int r) -> Integer& { return from[r]; },
                        .changedOnOpen = true});
        grid.AddPicker({.label = "lblTo", .picker = "cboTime", .offset = 2400, .choices = Choices({"A", "B", "C"}),
                        .get = [this](int r) { return to[r] - 5; },
                        .set = [this](int r, int i) { to[r] = i + 5; },
                        .caption = [this](int r) { return QString::number(to[r]) + "m"; },
                        .open = [this](int r) { return r != 3; }});
        grid.AddState({.label = "lblState", .offset = 3000,
                       .looks = {{"-", Qt::lightGray}, {"On", Qt::white}, {"Off", Qt::darkGray}},
                       .look = [this](int r) { return state[r]; },
                       .click = [this](int r) { state[r] = (state[r] + 1) % 3; }});
        grid.CopyGesture([this](int n) { copied = n; });
    }
    EditorGrid& grid;
    int shown = 20;
    int copied = -1;
    std::array<Integer, 20> from{};
    std::array<int, 20> to{5, 6, 7, 8};
    std::array<int, 20> state{};
};

}  // namespace

TEST(EditorGrid, LaysOutColumnsOfSixteenInTwips)
{
    ProgramState s = FreshState();
    GridWindow w(s);
    w.OnActivate();
    QLabel* r0 = w.grid.NameLabel(0);
    QLabel* r17 = w.grid.NameLabel(17);
    EXPECT_EQ(r0->pos(), QPoint(w.Px(240), w.Px(240)));
    EXPECT_EQ(r17->pos(), QPoint(w.Px(240 + 3600), w.Px(240 + 360)));
    EXPECT_EQ(w.grid.Cell(0, 17)->pos(), QPoint(w.Px(240 + 3600 + 1335), w.Px(240 + 360)));
    EXPECT_EQ(r17->toolTip(), "Item 18");
    EXPECT_EQ(r17->objectName(), "lblName_17");
    EXPECT_EQ(r17->property("index").toInt(), 17);
}

TEST(EditorGrid, SharedPickerStoresThroughTheCellThatOpenedIt)
{
    ProgramState s = FreshState();
    GridWindow w(s);
    w.show();
    QComboBox* combo = w.grid.Picker("cboTime");
    EXPECT_FALSE(combo->isVisible());
    EXPECT_EQ(w.grid.Cell(1, 2)->text(), "7m");

    Click(w.grid.Cell(0, 2));             // opening marks the change
    EXPECT_TRUE(s.DataChanged);
    EXPECT_EQ(combo->pos(), w.grid.Cell(0, 2)->pos());
    EXPECT_EQ(combo->currentIndex(), 0);
    s.DataChanged = false;
    Choose(combo, 2);
    EXPECT_EQ(w.from[2], 2);
    EXPECT_EQ(w.to[2], 7);
    EXPECT_FALSE(combo->isVisible());
    EXPECT_TRUE(s.DataChanged);           // every choice goes down the edit path
    EXPECT_EQ(w.grid.Cell(0, 2)->text(), " C");

    Click(w.grid.Cell(1, 1));
    EXPECT_EQ(combo->currentIndex(), 1);  // 6 - 5
    Choose(combo, 0);
    EXPECT_EQ(w.to[1], 5);
    EXPECT_EQ(w.from[1], 0);
    EXPECT_TRUE(s.DataChanged);
    EXPECT_EQ(w.grid.Cell(1, 1)->text(), "5m");

    Click(w.grid.Cell(1, 3));             // the window keeps this one shut
    EXPECT_FALSE(combo->isVisible());
}

TEST(EditorGrid, ValueOutsideTheListSelectsNothing)
{
    ProgramState s = FreshState();
    GridWindow w(s);
    w.from[4] = 9;
    w.from[5] = -1;
    w.show();
    EXPECT_EQ(w.grid.Cell(0, 4)->text(), " ");
    EXPECT_EQ(w.grid.Cell(0, 5)->text(), " ");
    Click(w.grid.Cell(0, 4));
    EXPECT_TRUE(w.grid.Picker("cboTime")->isVisible());
    EXPECT_EQ(w.grid.Picker("cboTime")->currentIndex(), -1);
    EXPECT_EQ(w.from[4], 9);              // showing it stored nothing
}

TEST(EditorGrid, BackgroundClickHidesThePicker)
{
    ProgramState s = FreshState();
    GridWindow w(s);
    w.show();
    Click(w.grid.Cell(0, 0));
    ASSERT_TRUE(w.grid.Picker("cboTime")->isVisible());
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(w.grid.Picker("cboTime")->isVisible());
}

TEST(EditorGrid, StateCellStepsOnClicksAndTwiceOnADoubleClick)
{
    ProgramState s = FreshState();
    GridWindow w(s);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ClickLabel* cell = w.grid.Cell(2, 0);
    EXPECT_EQ(cell->text(), "-");
    Click(cell);
    EXPECT_EQ(w.state[0], 1);
    EXPECT_EQ(cell->text(), "On");
    EXPECT_EQ(cell->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(s.DataChanged);
    DoubleClick(cell);                    // a click and a double click: two more steps
    EXPECT_EQ(w.state[0], 0);
    EXPECT_EQ(cell->text(), "-");
}

TEST(EditorGrid, RowsBeyondTheCountAreHidden)
{
    ProgramState s = FreshState();
    GridWindow w(s);
    w.shown = 3;
    w.show();
    EXPECT_TRUE(w.grid.NameLabel(2)->isVisible());
    EXPECT_TRUE(w.grid.Cell(1, 2)->isVisible());
    EXPECT_FALSE(w.grid.NameLabel(3)->isVisible());
    EXPECT_FALSE(w.grid.Cell(0, 3)->isVisible());
    EXPECT_FALSE(w.grid.Cell(2, 19)->isVisible());
    Press(w.grid.NameLabel(0), Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(w.copied, 3);
}
