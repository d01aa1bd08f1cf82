// The grid most editor windows are made of: one row per relay, input, group,
// timer, preset or device, laid out in columns of 16 rows (row i at column
// i / 16, line i % 16), each row a name label followed by value cells.
//
// A window states its geometry, where each cell's value lives and the texts it
// shows; the grid builds the widgets, shows and hides rows, draws the captions
// and runs the clicks:
//
//   EditorGrid& g = AddGrid({.left = 120, .top = 420});
//   g.Names({.label = "lblRelayName",
//            .text = [this](int r) { return ToScreen(Config().RelayNames[r]); },
//            .toolTip = "Relay "});
//   g.RowsShown([this] { return IoCount(); });
//   g.AddPicker({.label = "lblTimerType", .picker = "cboNewTimerType", .offset = 1335,
//                .entries = {"No Blink", "Blink", ...},
//                .member = [this](int r) -> Integer& { return Config().RelayTimerType[r]; }});
//
// Value cells:
//  - picker cells: a label showing " " + the list text of the stored index; a
//    click moves the (hidden) picker onto the label with the stored entry
//    selected; choosing an entry stores its index, hides the picker, redraws
//    and marks the configuration changed. Selections the grid makes to show
//    stored values run no store handler. A stored value outside the list
//    selects no entry and shows just the leading space. Cells naming the same
//    picker share one drop-down list.
//  - state cells: a label whose text and colour follow a small state table; a
//    click (and each double click) runs the window's action, then redraws and
//    marks the configuration changed.
//  - text cells: a name box (key filter of the panel's names); an edit stores
//    the text and marks the configuration changed; filling the boxes stores
//    nothing.
#pragma once

#include "PanelConfig.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace t2 {

class EditorWindow;
class ClickLabel;
class NameBox;

// Positions and sizes in twips.
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
};

struct PickerSpec {
    QString label{};                          // "lblTimerType"
    QString picker{};                         // "cboNewTimerType"
    int offset = 1335;                      // label left, right of the name label's left
    int width = 1020;
    QStringList entries{};                    // the list, value order
    // Where the value lives: either member (the stored value is the list
    // index) or get and set.
    std::function<Integer&(int row)> member{};
    std::function<int(int row)> get{};                // index to show and select
    std::function<void(int row, int index)> set{};    // store a chosen index
    std::function<QString(int row)> caption{};        // instead of " " + entry
    std::function<bool(int row)> visible{};           // cell shown in a shown row (default: yes)
    std::function<int(int row)> widthOf{};            // instead of width, when it varies
    std::function<bool(int row)> open{};              // runs on a click before the picker opens; false: stays shut
    bool changedOnOpen = false;                     // a click on the label marks the configuration changed
    bool changedOnStore = true;
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
    bool doubleClickRepeats = true;         // a double click does it again
};

struct TextSpec {
    QString box{};                            // "txtRelayName"
    int offset = 735;
    int width = 2400;
    std::function<QString(int row)> text{};
    std::function<void(int row, const QString& text)> edited{};   // the user changed the text
    std::function<void(int row)> touched{};   // clicked or focused
};

// A heading over a value column, one per column of rows: element c is shown
// when column c holds a shown row (element 0 always).
struct HeadingSpec {
    QString label{};                          // "lblPowerUpHeader"
    QString text{};
    int offset = 1335;                      // right of the name label's left
    int top = 60;
    int width = 1020;
};

class EditorGrid : public QObject {
    Q_OBJECT
public:
    EditorGrid(EditorWindow& window, const GridGeometry& geometry);
    ~EditorGrid() override;

    EditorGrid& Names(NameSpec desc);
    EditorGrid& RowsShown(std::function<int()> count);   // rows 0..count-1; default all
    int AddPicker(PickerSpec desc);                      // returns the cell column number
    int AddState(StateSpec desc);
    int AddText(TextSpec desc);
    EditorGrid& AddHeading(HeadingSpec desc);
    // Shift (alone) + right press on the first row's name: copy(shown rows).
    // Any press on a name then hides the pickers, redraws and marks the
    // configuration changed.
    EditorGrid& CopyGesture(std::function<void(int shown)> copy);

    // Activation: names, tool tips, which rows and headings show; pickers
    // hidden; then Show.
    void Refill();
    // Redraws every value cell from the configuration.
    void Show();
    void HidePickers();

    int Rows() const { return geometry_.rows; }
    // Right and bottom edge of the grid's cells and headings, in twips.
    int RightTwips() const;
    int BottomTwips() const;
    int Shown() const;          // rows shown now (0..Rows)
    const GridGeometry& Geometry() const { return geometry_; }

    QLabel* NameLabel(int row) const;
    ClickLabel* Cell(int column, int row) const;     // picker or state cell
    NameBox* Box(int column, int row) const;        // text cell
    QComboBox* Picker(const QString& name) const;
    QComboBox* PickerOf(int column) const;
    QLabel* Heading(const QString& label, int element) const;
    // Replaces a picker's list (the picker closes).
    void SetEntries(int column, const QStringList& entries);
    // Row whose cell opened the picker last (-1 before any).
    int EditRow(int column) const;

private:
    struct Column;
    struct PickerState;

    QPoint CellPos(int row, int offset) const;
    void OpenPicker(int column, int row);
    void StorePicked(PickerState& picker, int index);
    void ClickState(int column, int row);
    void PressName(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void ShowRowCells(int row, bool shown);

    EditorWindow& window_;
    GridGeometry geometry_;
    NameSpec names_;
    std::vector<ClickLabel*> nameLabels_;
    std::function<int()> rowsShown_;
    std::function<void(int)> copy_;
    std::vector<std::unique_ptr<Column>> columns_;
    std::map<QString, std::unique_ptr<PickerState>> pickers_;
    struct HeadingSet {
        HeadingSpec desc;
        std::vector<QLabel*> labels;
    };
    std::vector<HeadingSet> headings_;
    bool filling_ = false;
};

}  // namespace t2
