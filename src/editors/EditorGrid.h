// The grid most editor windows are made of: one row per relay, input, group,
// timer, preset or device input, laid out in columns of 16 rows (row i at
// column i / 16, line i % 16), each row a name label followed by value cells.
// A grid sits in the window or in any frame of it; a window may hold several.
//
// A window states the geometry, where each cell's value lives and the texts it
// shows; the grid builds the widgets, shows and hides rows, draws the captions
// and runs the clicks:
//
//   EditorGrid& g = AddGrid({.left = 120, .top = 420});
//   g.Names({.label = "lblRelayName",
//            .text = [this](int r) { return ToScreen(Config().RelayNames[r]); },
//            .toolTip = "Relay "});
//   g.RowsShown([this] { return IoCount(); });
//   g.AddPicker({.label = "lblTimerType", .picker = "cboNewTimerType",
//                .choices = Choices::Of(RelayTimerTypeTexts),
//                .member = [this](int r) -> Integer& { return Config().RelayTimerType[r]; }});
//
// Value cells (each kind a CellColumn, GridCells.h):
//  - picker: a label showing " " + the entry of the stored value; a click
//    moves the (hidden) picker onto the label with that entry selected;
//    choosing an entry stores its value, hides the picker, redraws the window
//    and goes down the edit path. Cells naming the same picker share one list.
//  - state: a label whose text and colour follow a small state table; a click
//    (and each double click) runs the window's action.
//  - text: a name box (the panel's key filter); typing stores the text.
//  - list: a drop-down list in each row, bound to the row's value.
//  - scroll: a scroll bar in each row with a caption that follows it while
//    it is dragged.
// Selections the grid makes to show stored values run no store handler. A
// stored value with no entry selects none and shows no text; nothing fails.
//
// From the keyboard (the cells are click labels, ClickLabel.h): the arrows
// move between the cells, Up and Down along a column of 16 rows, Left and
// Right to the same row of the neighbouring value column (past the last, the
// same line of the next column of rows); Home and End go to the first and
// last row shown, Page Up and Page Down to the previous and next column of
// rows. Space and Enter (F4 and Alt+Down too) open a picker as a click does,
// with its list open on the stored value: the arrows, type-ahead and Enter
// choose as the mouse does, Escape closes it as a click on the background
// does, and the focus comes back to the cell. A state cell steps once per
// Space. With the copy gesture, Shift+F10 or the Menu key on the first
// row's name opens a menu of one entry ("Copy Relay 1 To All Relays") that
// does what Shift and the right button do. Tab walks the grid by columns of
// rows, each row left to right; every cell has an accessible name of its
// row and column ("Relay 05 LOBBY, Timer Type", AccessibleNames.h).
#pragma once

#include "Choices.h"
#include "PanelConfig.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QMenu;
class QScrollBar;
class QWidget;

namespace t2 {

class ClickLabel;
class EditorWindow;
class NameBox;

// Positions and sizes in twips, from the top left corner of the grid's host.
struct GridGeometry {
    int rows = ItemCount;      // rows built, 0..rows-1
    int rowsPerColumn = 16;
    int left = 240;            // name label of row 0
    int top = 240;
    int columnPitch = 3600;
    int rowPitch = 360;
    int height = 300;          // of every label and box
};

struct NameSpec {
    QString label{};                          // object name of the name labels ("lblRelayName")
    int width = 1275;
    std::function<QString(int row)> text{};   // caption of row's name label
    QString toolTip{};                        // "Relay ": tool tip "Relay " + two-digit row + 1
    std::function<QString(int row)> toolTipOf{};  // instead of toolTip, when it varies
    int keepEnd = 0;                          // characters at the end of a name that stay in sight when it
                                              // is too long (the ".3" of a device input): the name is shortened
};

// A value stored in the configuration for a row: either member (a reference
// to it) or get and set.
struct RowValue {
    std::function<Integer&(int row)> member{};
    std::function<int(int row)> get{};
    std::function<void(int row, int value)> set{};

    int Get(int row) const;
    void Set(int row, int value) const;
};

struct PickerSpec {
    QString label{};                          // "lblTimerType"
    QString picker{};                         // "cboNewTimerType"
    int offset = 1335;                        // label left, right of the name label's left
    int width = 1020;
    Choices choices{};                        // the list and the values of its entries (cells sharing a
                                              // picker share the first one's)
    std::function<Integer&(int row)> member{};   // where the value lives: member, or get and set
    std::function<int(int row)> get{};
    std::function<void(int row, int value)> set{};
    std::function<QString(int row)> caption{};   // instead of " " + the entry
    std::function<bool(int row)> visible{};      // cell shown in a shown row (default: yes)
    std::function<int(int row)> widthOf{};       // instead of width, when it varies
    std::function<bool(int row)> open{};         // runs on a click before the picker opens; false: stays shut
    bool changedOnOpen = false;                  // a click on the label marks the configuration changed
};

struct CellLook {
    QString text{};
    QColor background{};
};

struct StateSpec {
    QString label{};                          // "lblInclude"
    int offset = 1335;
    int width = 600;
    std::vector<CellLook> looks{};
    std::function<int(int row)> look{};       // index into looks; outside leaves the label as it is
    std::function<void(int row)> click{};     // what a click does
    bool doubleClickRepeats = true;           // a double click does it again
};

struct TextSpec {
    QString box{};                            // "txtRelayName"
    int offset = 735;
    int width = 2400;
    std::function<QString(int row)> text{};
    std::function<void(int row, const QString& text)> edited{};   // the user changed the text
    std::function<void(int row)> touched{};   // clicked or focused
};

struct RowListSpec {
    QString list{};                           // "cboInput16Type"
    int offset = 1335;
    int width = 1800;
    Choices choices{};
    std::function<Integer&(int row)> member{};
    std::function<int(int row)> get{};
    std::function<void(int row, int value)> set{};
    std::function<bool(int row)> visible{};
};

struct ScrollSpec {
    QString bar{};                            // "hsInputFOffLevel"
    QString label{};                          // its caption beside it ("lblInputFOffLevel")
    int offset = 1335;
    int width = 2400;
    int labelOffset = 3855;
    int labelWidth = 1800;
    int minimum = 0;
    int maximum = 255;
    int singleStep = 1;
    std::function<int(int row)> pageStep{};   // default 10
    std::function<Integer&(int row)> member{};
    std::function<int(int row)> get{};
    std::function<void(int row, int value)> set{};
    std::function<QString(int row)> caption{};
};

// A heading over a value column, one per column of rows: element c is shown
// when column c holds a shown row (element 0 always). A grid of one column
// has a single heading, named without an index ("lblOpenHeader").
struct HeadingSpec {
    QString label{};                          // "lblPowerUpHeader"
    QString text{};
    int offset = 1335;                        // right of the name label's left
    int top = 60;
    int width = 1020;
};

class EditorGrid;

// One column of value cells. The grid calls Build once, then Show for every
// row whenever it redraws.
class CellColumn {
public:
    virtual ~CellColumn() = default;
    // Creates the cells of every row; column is this column's number.
    virtual void Build(EditorGrid& grid, int column) = 0;
    // Draws row's cell from the configuration, or hides it (shown false).
    virtual void Show(EditorGrid& grid, int row, bool shown) = 0;
    // The cell of a row.
    virtual QWidget* Cell(int row) const = 0;
    // Right edge of the column's cells, right of the name label's left (twips).
    virtual int RightTwips() const = 0;
    // Replaces the entries of a column that has a list (others ignore it).
    virtual void SetChoices(EditorGrid& /*grid*/, Choices /*choices*/) {}
    // The caption beside a row's cell, for cells that have one.
    virtual QLabel* Caption(int /*row*/) const { return nullptr; }
    // The name of the column's shared picker, for picker cells.
    virtual QString PickerName() const { return {}; }
    // An entry of the shared picker was chosen for row (picker cells).
    virtual void Picked(EditorGrid& /*grid*/, int /*row*/, int /*index*/) {}
};

class EditorGrid : public QObject {
    Q_OBJECT
public:
    // host: the window or a frame of it.
    EditorGrid(EditorWindow& window, QWidget* host, const GridGeometry& geometry);
    ~EditorGrid() override;

    EditorGrid& Names(NameSpec desc);
    EditorGrid& RowsShown(std::function<int()> count);   // rows 0..count-1; default all
    int AddPicker(PickerSpec desc);                      // each returns the cell column number
    int AddState(StateSpec desc);
    int AddText(TextSpec desc);
    int AddList(RowListSpec desc);
    int AddScroll(ScrollSpec desc);
    int AddColumn(std::unique_ptr<CellColumn> column);
    EditorGrid& AddHeading(HeadingSpec desc);
    // Shift (alone) + right press on the first row's name: copy(shown rows).
    // Any press on a name then hides the pickers, redraws and marks the
    // configuration changed.
    EditorGrid& CopyGesture(std::function<void(int shown)> copy);

    // Activation: names and tool tips of every row; pickers hidden; then Show.
    void Refill();
    // Which rows and headings show, and every value cell from the configuration.
    void Show();
    void HidePickers();

    int Rows() const { return geometry_.rows; }
    // Right and bottom edge of the grid's cells and headings in the host, in twips.
    int RightTwips() const;
    int BottomTwips() const;
    int Shown() const;          // rows shown now (0..Rows)
    const GridGeometry& Geometry() const { return geometry_; }

    EditorWindow& Window() const { return window_; }
    QWidget* Host() const { return host_; }
    bool Filling() const { return filling_; }

    QLabel* NameLabel(int row) const;
    ClickLabel* Cell(int column, int row) const;    // picker or state cell
    NameBox* Box(int column, int row) const;        // text cell
    QComboBox* List(int column, int row) const;     // list cell
    QScrollBar* Bar(int column, int row) const;     // scroll cell
    QLabel* BarCaption(int column, int row) const;  // its caption
    QComboBox* Picker(const QString& name) const;
    QComboBox* PickerOf(int column) const;
    QLabel* Heading(const QString& label, int element) const;
    // Replaces the entries of a picker or list column (an open picker closes).
    void SetChoices(int column, Choices choices);
    // Row whose cell opened the column's picker last (-1 before any).
    int EditRow(int column) const;
    // The cells and the acting name in Tab order: column of rows by column,
    // each row left to right (hidden ones are skipped when Tab walks).
    QList<QWidget*> FocusOrder() const;
    // The copy gesture's menu entry ("Copy Relay 1 To All Relays").
    QString CopyText() const;

    // For the cell columns --------------------------------------------------
    // Position in pixels of a cell of row at offset twips right of the name label.
    QPoint CellPos(int row, int offset) const;
    // Gives a cell its array name ("lblTimerType_3") and index.
    static void NameArrayElement(QWidget* w, const QString& name, int index);
    // Runs fill with the store handlers quiet (showing stored values).
    void Quietly(const std::function<void()>& fill);
    // A shared picker, made on first use with these entries.
    QComboBox* SharedPicker(const QString& name, const Choices& choices);
    // Opens a shared picker over cell for column and row, selecting value;
    // from the keyboard with its list open.
    void OpenPicker(const QString& name, QWidget* cell, int column, int row, int value, bool fromKeyboard = false);
    // The entries of a shared picker.
    const Choices& PickerChoices(const QString& name) const;
    void SetPickerChoices(const QString& name, Choices choices);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct PickerState;

    void StorePicked(PickerState& picker, int index);
    void PickerHidden(PickerState& picker);
    // As a click on the background, then the focus back on the picker's cell.
    void ClosePicker(const PickerState& picker);
    void FocusPickerCell(const PickerState& picker);
    void PressName(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void Copy();
    void ShowCopyMenu();
    // Keys: the cell's place, and the cell a key moves to from it.
    void WatchKeys(QWidget* cell, int column, int row);
    QWidget* CellAt(int column, int row) const;   // column -1: the name
    QWidget* MoveFrom(int column, int row, int key) const;
    void NameCells();

    EditorWindow& window_;
    QWidget* host_;
    GridGeometry geometry_;
    NameSpec names_;
    std::vector<ClickLabel*> nameLabels_;
    std::function<int()> rowsShown_;
    std::function<void(int)> copy_;
    std::vector<std::unique_ptr<CellColumn>> columns_;
    std::map<QString, std::unique_ptr<PickerState>> pickers_;
    struct HeadingSet {
        HeadingSpec desc;
        std::vector<QLabel*> labels;
    };
    std::vector<HeadingSet> headings_;
    std::map<const QObject*, std::pair<int, int>> places_;   // a cell's column and row
    QMenu* copyMenu_ = nullptr;
    bool filling_ = false;
};

}  // namespace t2
