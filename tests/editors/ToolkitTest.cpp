// The editor toolkit on small windows of its own: grids in frames, the cell
// kinds, value lists, option groups, bit boxes and selectors, and that filling
// them from the configuration is never an edit.
#include "EditorWindow.h"
#include "GuiHelpers.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QScrollBar>

using namespace t2;
using namespace t2::test;

TEST(Choices, EntriesStandForTheirValues)
{
    struct Case {
        const char* what;
        Choices choices;
        int value;
        int index;      // -1: no entry
        QString text;
    };
    const Choices clear = Choices::QuarterHours().WithNone("Clear", 100, [](int v) { return v > 99; });
    const Case cases[] = {
        {"table", Choices::Of(RelayPowerOnTypeTexts), 3, 3, "Last State"},
        {"table, past its end", Choices::Of(RelayPowerOnTypeTexts), 4, -1, ""},
        {"negative", Choices::Of(RelayPowerOnTypeTexts), -1, -1, ""},
        {"based table", Choices::Of(DstWeekTexts, 1), 1, 0, "1st Sunday"},
        {"based table, zero", Choices::Of(DstWeekTexts, 1), 0, -1, ""},
        {"range, first", Choices::Range(5, 999, "%1Min"), 5, 0, "5Min"},
        {"range, last", Choices::Range(5, 999, "%1Min"), 999, 994, "999Min"},
        {"range, below", Choices::Range(5, 999, "%1Min"), 4, -1, ""},
        {"none entry", clear, 100, 0, "Clear"},
        {"none entry shown for more", clear, 32767, 0, "Clear"},
        {"after the none entry", clear, 0, 1, "12:00A"},
        {"quarter hour", clear, 72, 73, "6:00P"},
        {"between", clear, 97, -1, ""},
        {"number list", Choices::Of(AlarmSecondsList), 1, 0, "1 Seconds"},
        {"number list, stored as the index", Choices::Of(DmxFilterList), 15, 15, "16"},
        {"number list, past its end", Choices::Of(DmxFilterList), 16, -1, ""},
        {"number list with none", Choices::Of(DmxChannelList).WithNone(DmxNoChannelText, 0), 512, 512, "DMX 512"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.choices.IndexOf(c.value), c.index);
        EXPECT_EQ(c.choices.TextOf(c.value), c.text);
        if (c.index > 0) {
            EXPECT_EQ(c.choices.ValueOf(c.index), c.value);
        }
    }
    EXPECT_EQ(clear.ValueOf(0), 100);   // "Clear" stores 100 whatever showed it
}

namespace {

// A form window with one of each: a grid in a frame with a list in each row
// and a scroll bar with its caption, a based picker, a selector, a value
// list, an option group and bit boxes, each over a member of the configuration.
class ToolkitWindow : public EditorWindow {
public:
    explicit ToolkitWindow(ProgramState& s)
        : EditorWindow(s, {"frmToolkitTest", "Toolkit Test"}),
          frame(AddFrame("fraRows", "Rows", 240, 600, 7200, 2400)),
          selector(AddSelector({.name = "cboItem", .left = 240, .top = 120,
                                .entries = [this] { return QStringList{"First", "Second"}; },
                                .chosen = [this](int i) { chosenIndex = i; }})),
          grid(AddGrid({.rows = 4, .left = 120, .top = 300, .rowPitch = 480}, frame)),
          list(AddValueList({.name = "cboWeek", .left = 240, .top = 3200, .choices = Choices::Of(DstWeekTexts, 1),
                             .member = [this]() -> Integer& { return Config().DstStartWeek; }})),
          options(AddOptions({.name = "optKind", .captions = {"Zero", "One", "Two"}, .left = 3000, .top = 3200,
                              .get = [this] { return int(Config().SweepIntervalCode); },
                              .set = [this](int k) { Config().SweepIntervalCode = Integer(k); }})),
          bits(AddBitBoxes({.name = "chkBit", .captions = {"B0", "B1", "B2"}, .left = 240, .top = 3700,
                            .mask = [this]() -> Integer& { return Config().TimerDays[0]; }, .checkedIsClear = true}))
    {
        grid.Names({.label = "lblRow", .text = [](int r) { return QString("Row %1").arg(r + 1); }});
        typeColumn = grid.AddList({.list = "cboType", .offset = 1200, .choices = Choices::Of(ButtonInputTypeTexts),
                                   .member = [this](int r) -> Integer& { return Config().InputType[r]; }});
        minutesColumn = grid.AddPicker({.label = "lblMinutes", .picker = "cboMinutes", .offset = 3100,
                                        .choices = Choices::Range(5, 999, "%1 Minutes"),
                                        .member = [this](int r) -> Integer& { return Config().InputEnableTime[r]; }});
        levelColumn = grid.AddScroll({.bar = "hsLevel", .label = "lblLevel", .offset = 4500, .width = 1200,
                                      .labelOffset = 5800, .labelWidth = 1200,
                                      .member = [this](int r) -> Integer& { return Config().DmxChannel[r]; },
                                      .caption = [this](int r) { return QString(" Off %1").arg(Config().DmxChannel[r]); }});
        PanelConfig& c = Config();
        for (int r = 0; r < 4; ++r) {
            c.InputType[r] = type[r];
            c.InputEnableTime[r] = minutes[r];
            c.DmxChannel[r] = level[r];
        }
        c.DstStartWeek = 2;
        c.SweepIntervalCode = 1;
        c.TimerDays[0] = 0;
        s.History.Reset(s);
    }

    QGroupBox* frame;
    Selector& selector;
    EditorGrid& grid;
    ValueList& list;
    OptionGroup& options;
    BitBoxes& bits;
    int typeColumn = -1, minutesColumn = -1, levelColumn = -1;
    int chosenIndex = -1;
    static constexpr std::array<Integer, 4> type{0, 1, 7, 2};
    static constexpr std::array<Integer, 4> minutes{10, 0, 5, 999};
    static constexpr std::array<Integer, 4> level{0, 128, 255, 3};
};

}  // namespace

TEST(Toolkit, FillingShowsStoredValuesAndIsNoEdit)
{
    ProgramState s = FreshState();
    ToolkitWindow w(s);
    w.show();
    EXPECT_FALSE(s.DataChanged);
    EXPECT_FALSE(s.History.CanUndo());
    EXPECT_EQ(w.grid.List(w.typeColumn, 1)->currentText(), "Set Preset");
    EXPECT_EQ(w.grid.List(w.typeColumn, 2)->currentIndex(), -1);   // 7 has no entry
    EXPECT_EQ(w.grid.Cell(w.minutesColumn, 0)->text(), " 10 Minutes");
    EXPECT_EQ(w.grid.Cell(w.minutesColumn, 1)->text(), " ");         // 0 is below the first entry
    EXPECT_EQ(w.grid.Bar(w.levelColumn, 1)->value(), 128);
    EXPECT_EQ(w.grid.BarCaption(w.levelColumn, 1)->text(), " Off 128");
    EXPECT_EQ(w.list.List()->currentText(), "2nd Sunday");
    EXPECT_TRUE(w.options.Button(1)->isChecked());
    for (int bit = 0; bit < 3; ++bit) EXPECT_TRUE(w.bits.Box(bit)->isChecked());   // clear bits are checked
    EXPECT_EQ(w.selector.Index(), 0);
    w.OnActivate();
    EXPECT_FALSE(s.DataChanged);
}

TEST(Toolkit, GridInAFrameSitsAndHidesPickersThere)
{
    ProgramState s = FreshState();
    ToolkitWindow w(s);
    w.show();
    QLabel* name = w.grid.NameLabel(1);
    EXPECT_EQ(name->parentWidget(), w.frame);
    EXPECT_EQ(name->pos(), QPoint(w.Px(120), w.Px(300 + 480)));
    Click(w.grid.Cell(w.minutesColumn, 3));
    QComboBox* picker = w.grid.Picker("cboMinutes");
    ASSERT_TRUE(picker->isVisible());
    EXPECT_EQ(picker->parentWidget(), w.frame);
    EXPECT_EQ(picker->currentText(), "999 Minutes");
    QTest::mouseClick(w.frame, Qt::LeftButton, {}, QPoint(w.frame->width() - 4, w.frame->height() - 4));
    EXPECT_FALSE(picker->isVisible());
}

TEST(Toolkit, UserChoicesStoreValuesAndGoDownTheEditPath)
{
    struct Case {
        const char* what;
        std::function<void(ToolkitWindow&)> act;
        std::function<bool(const ToolkitWindow&)> stored;
    };
    const Case cases[] = {
        {"based picker: its first entry is 5",
         [](ToolkitWindow& w) {
             Click(w.grid.Cell(w.minutesColumn, 0));
             Choose(w.grid.Picker("cboMinutes"), 0);
         },
         [](const ToolkitWindow& w) { return w.Config().InputEnableTime[0] == 5 && w.grid.Cell(w.minutesColumn, 0)->text() == " 5 Minutes"; }},
        {"list in a row",
         [](ToolkitWindow& w) { Choose(w.grid.List(w.typeColumn, 3), 4); },
         [](const ToolkitWindow& w) { return w.Config().InputType[3] == 4 && w.Config().InputType[2] == 7; }},
        {"value list with a base",
         [](ToolkitWindow& w) { Choose(w.list.List(), 4); },
         [](const ToolkitWindow& w) { return w.Config().DstStartWeek == 5; }},
        {"option group",
         [](ToolkitWindow& w) { Tick(w.options.Button(2)); },
         [](const ToolkitWindow& w) { return w.Config().SweepIntervalCode == 2 && !w.options.Button(1)->isChecked(); }},
        {"bit boxes: clearing a box sets its bit",
         [](ToolkitWindow& w) {
             Tick(w.bits.Box(0));
             Tick(w.bits.Box(2));
         },
         [](const ToolkitWindow& w) { return w.Config().TimerDays[0] == 5; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramState s = FreshState();
        ToolkitWindow w(s);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        c.act(w);
        EXPECT_TRUE(c.stored(w));
        EXPECT_TRUE(s.DataChanged);
        EXPECT_TRUE(s.History.CanUndo());
    }
}

TEST(Toolkit, ScrollBarCaptionFollowsWhileDragged)
{
    ProgramState s = FreshState();
    ToolkitWindow w(s);
    w.show();
    QScrollBar* bar = w.grid.Bar(w.levelColumn, 0);
    bar->setSliderDown(true);
    for (int v : {10, 20, 30}) {
        bar->setSliderPosition(v);
        EXPECT_EQ(w.Config().DmxChannel[0], v);
        EXPECT_EQ(w.grid.BarCaption(w.levelColumn, 0)->text(), QString(" Off %1").arg(v));
    }
    bar->setSliderDown(false);
    EXPECT_TRUE(s.DataChanged);
    EXPECT_EQ(s.History.Steps(), 1u);   // one drag is one step
}

TEST(Toolkit, SelectorChoiceRedrawsAndActivationReturnsToTheFirstEntry)
{
    ProgramState s = FreshState();
    ToolkitWindow w(s);
    w.show();
    Choose(w.selector.List(), 1);
    EXPECT_EQ(w.chosenIndex, 1);
    EXPECT_EQ(w.selector.Index(), 1);
    EXPECT_FALSE(s.DataChanged);      // choosing what to show is no edit
    w.OnActivate();
    EXPECT_EQ(w.selector.Index(), 0);
}

namespace {

// Check boxes over a member of the configuration and over a setting of the
// program that the settings file does not keep.
class CheckWindow : public EditorWindow {
public:
    explicit CheckWindow(ProgramState& s)
        : EditorWindow(s, {"frmCheckTest", "Check Test"}),
          stored(AddCheck({.name = "chkStored", .caption = "Stored", .top = 240,
                           .get = [this] { return Config().DstEnabled != 0; },
                           .set = [this](bool on) { Config().DstEnabled = on ? True : False; }})),
          setting(AddCheck({.name = "chkSetting", .caption = "Setting", .top = 600,
                            .get = [this] { return !State().DocumentPrintOptions[3]; },
                            .set = [this](bool on) { State().DocumentPrintOptions[3] = !on; },
                            .edit = false}))
    {
    }
    CheckBox& stored;
    CheckBox& setting;
};

// Option buttons that choose what the window shows (how many rows of a grid,
// as a month chooses its days), not a stored value.
class ViewChoiceWindow : public EditorWindow {
public:
    explicit ViewChoiceWindow(ProgramState& s)
        : EditorWindow(s, {"frmViewChoiceTest", "View Choice Test"}),
          options(AddOptions({.name = "optRows", .captions = {"Two", "Five", "Twenty"}, .left = 240, .top = 120,
                              .pitch = 1200, .across = true, .get = [this] { return choice; },
                              .set = [this](int k) { choice = k; }, .choosesView = true})),
          grid(AddGrid({.rows = 20, .top = 600}))
    {
        grid.Names({.label = "lblRow", .text = [](int r) { return QString::number(r + 1); }});
        grid.RowsShown([this] { return std::array{2, 5, 20}[static_cast<std::size_t>(choice)]; });
        grid.AddPicker({.label = "lblValue", .picker = "cboValue", .choices = Choices::Of(RelayPowerOnTypeTexts),
                        .member = [this](int r) -> Integer& { return Config().RelayPowerOnType[r]; }});
        grid.AddHeading({.label = "lblHeading", .text = "Value"});
    }
    int choice = 0;
    OptionGroup& options;
    EditorGrid& grid;
};

}  // namespace

TEST(Toolkit, CheckBoxOverAProgramSettingIsNoEdit)
{
    ProgramState s = FreshState();
    s.Config.DstEnabled = False;
    s.History.Reset(s);
    CheckWindow w(s);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_TRUE(w.setting.Box()->isChecked());
    Tick(w.setting.Box());
    EXPECT_TRUE(s.DocumentPrintOptions[3]);
    EXPECT_FALSE(w.setting.Box()->isChecked());
    EXPECT_FALSE(s.DataChanged);
    EXPECT_FALSE(s.History.CanUndo());

    Tick(w.stored.Box());
    EXPECT_EQ(s.Config.DstEnabled, True);
    EXPECT_TRUE(s.DataChanged);
    EXPECT_EQ(s.History.Steps(), 1u);
}

TEST(Toolkit, OptionsChoosingTheViewAreNoEditAndTheRowsFollow)
{
    ProgramState s = FreshState();
    s.History.Reset(s);
    ViewChoiceWindow w(s);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_FALSE(w.grid.NameLabel(2)->isVisible());
    Click(w.grid.Cell(0, 1));
    ASSERT_TRUE(w.grid.Picker("cboValue")->isVisible());

    Tick(w.options.Button(2));
    EXPECT_EQ(w.choice, 2);
    EXPECT_FALSE(w.grid.Picker("cboValue")->isVisible());   // an open picker closes
    EXPECT_TRUE(w.grid.NameLabel(19)->isVisible());
    EXPECT_EQ(w.grid.NameLabel(19)->text(), "20");
    EXPECT_TRUE(w.grid.Cell(0, 19)->isVisible());
    EXPECT_TRUE(w.grid.Heading("lblHeading", 1)->isVisible());
    Tick(w.options.Button(1));
    EXPECT_TRUE(w.grid.NameLabel(4)->isVisible());
    EXPECT_FALSE(w.grid.NameLabel(5)->isVisible());
    EXPECT_FALSE(w.grid.Cell(0, 5)->isVisible());
    EXPECT_FALSE(w.grid.Heading("lblHeading", 1)->isVisible());
    EXPECT_FALSE(s.DataChanged);
    EXPECT_FALSE(s.History.CanUndo());
}
