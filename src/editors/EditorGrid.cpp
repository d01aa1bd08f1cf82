#include "EditorGrid.h"

#include "AccessibleNames.h"
#include "ClickLabel.h"
#include "Controls.h"
#include "EditorWindow.h"
#include "GridCells.h"
#include "NameBox.h"
#include "NameTips.h"
#include "ScreenText.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>

namespace t2 {

namespace {

// The shared picker: tells when its list closes, chosen from or not.
class PickerBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> listHidden;

    void hidePopup() override
    {
        QComboBox::hidePopup();
        if (listHidden) listHidden();
    }
};

bool TakesTab(const QWidget* w) { return w && (w->focusPolicy() & Qt::TabFocus); }

}  // namespace

struct EditorGrid::PickerState {
    PickerBox* combo = nullptr;
    Choices choices;
    int column = -1;        // cell column that opened it last
    int row = -1;           // row it was opened on
    bool keyboard = false;  // opened from the keyboard: the focus goes back to the cell
};

EditorGrid::EditorGrid(EditorWindow& window, QWidget* host, const GridGeometry& geometry)
    : QObject(&window), window_(window), host_(host ? host : &window), geometry_(geometry)
{
}

EditorGrid::~EditorGrid()
{
    // The pickers belong to the host and may outlive the grid for a moment.
    for (auto& [name, picker] : pickers_) picker->combo->listHidden = nullptr;
}

void EditorGrid::NameArrayElement(QWidget* w, const QString& name, int index)
{
    // Array controls are named "name_index" and also carry their index.
    w->setObjectName(name + QLatin1Char('_') + QString::number(index));
    w->setProperty("array", name);
    w->setProperty("index", index);
}

QPoint EditorGrid::CellPos(int row, int offset) const
{
    const int column = row / geometry_.rowsPerColumn;
    const int line = row % geometry_.rowsPerColumn;
    return {window_.Px(geometry_.left + column * geometry_.columnPitch + offset),
            window_.Px(geometry_.top + line * geometry_.rowPitch)};
}

void EditorGrid::Quietly(const std::function<void()>& fill)
{
    const QScopedValueRollback quiet(filling_, true);
    fill();
}

EditorGrid& EditorGrid::Names(NameSpec desc)
{
    names_ = std::move(desc);
    for (int r = 0; r < geometry_.rows; ++r) {
        auto* label = new ClickLabel(host_);
        NameArrayElement(label, names_.label, r);
        label->setGeometry(QRect(CellPos(r, 0), QSize(window_.Px(names_.width), window_.Px(geometry_.height))));
        label->setIndent(window_.Px(15));
        ShowWholeNameInToolTip(label);   // a name too long for its label shows whole in the tip
        connect(label, &ClickLabel::pressed, this,
                [this, r](Qt::MouseButton b, Qt::KeyboardModifiers m) { PressName(r, b, m); });
        nameLabels_.push_back(label);
    }
    return *this;
}

EditorGrid& EditorGrid::RowsShown(std::function<int()> count)
{
    rowsShown_ = std::move(count);
    return *this;
}

int EditorGrid::AddColumn(std::unique_ptr<CellColumn> column)
{
    const int c = static_cast<int>(columns_.size());
    columns_.push_back(std::move(column));
    columns_.back()->Build(*this, c);
    for (int r = 0; r < geometry_.rows; ++r)
        if (auto* cell = qobject_cast<ClickLabel*>(columns_.back()->Cell(r))) WatchKeys(cell, c, r);
    return c;
}

int EditorGrid::AddPicker(PickerSpec desc) { return AddColumn(std::make_unique<PickerColumn>(std::move(desc))); }
int EditorGrid::AddState(StateSpec desc) { return AddColumn(std::make_unique<StateColumn>(std::move(desc))); }
int EditorGrid::AddText(TextSpec desc) { return AddColumn(std::make_unique<TextColumn>(std::move(desc))); }
int EditorGrid::AddList(RowListSpec desc) { return AddColumn(std::make_unique<RowListColumn>(std::move(desc))); }
int EditorGrid::AddScroll(ScrollSpec desc) { return AddColumn(std::make_unique<ScrollColumn>(std::move(desc))); }

EditorGrid& EditorGrid::AddHeading(HeadingSpec desc)
{
    HeadingSet set;
    const int columns = (geometry_.rows + geometry_.rowsPerColumn - 1) / geometry_.rowsPerColumn;
    for (int c = 0; c < columns; ++c) {
        auto* label = new QLabel(desc.text, host_);
        // A grid of one column has one heading, a control of its own, not an array.
        if (columns == 1) label->setObjectName(desc.label);
        else NameArrayElement(label, desc.label, c);
        label->setGeometry(window_.Px(geometry_.left + c * geometry_.columnPitch + desc.offset), window_.Px(desc.top),
                           window_.Px(desc.width), window_.Px(geometry_.height));
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
        set.labels.push_back(label);
    }
    set.desc = std::move(desc);
    headings_.push_back(std::move(set));
    return *this;
}

EditorGrid& EditorGrid::CopyGesture(std::function<void(int)> copy)
{
    copy_ = std::move(copy);
    // The first row's name carries the gesture: it takes the focus, and its menu.
    if (ClickLabel* first = nameLabels_.empty() ? nullptr : nameLabels_.front()) {
        connect(first, &ClickLabel::menuRequested, this, [this] { ShowCopyMenu(); });
        first->setAccessibleDescription(CopyText() + " (Shift+F10)");
        WatchKeys(first, -1, 0);
    }
    return *this;
}

int EditorGrid::Shown() const
{
    if (!rowsShown_) return geometry_.rows;
    return std::clamp(rowsShown_(), 0, geometry_.rows);
}

void EditorGrid::Refill()
{
    HidePickers();
    // Every row gets its name, so that a row the window shows later (another
    // month, more I/O) has it too.
    for (int r = 0; r < static_cast<int>(nameLabels_.size()); ++r) {
        ClickLabel* label = nameLabels_[r];
        if (names_.text) SetTextKeepingEnd(label, names_.text(r), names_.keepEnd);
        if (names_.toolTipOf) label->setToolTip(names_.toolTipOf(r));
        else if (!names_.toolTip.isEmpty()) label->setToolTip(ItemToolTip(names_.toolTip, r));
    }
    NameCells();
    Show();
}

void EditorGrid::NameCells()
{
    for (int r = 0; r < static_cast<int>(nameLabels_.size()); ++r) {
        const QString row = RowTitle(nameLabels_[r]);
        SetAccessibleNameOnce(nameLabels_[r], row);
        for (auto& column : columns_) {
            QWidget* cell = column->Cell(r);
            if (!cell) continue;
            SetAccessibleNameOnce(cell, CellTitle(row, ControlWords(cell->property("array").toString())));
            if (QLabel* caption = column->Caption(r))
                SetAccessibleNameOnce(caption, CellTitle(row, ControlWords(caption->property("array").toString())));
        }
    }
}

void EditorGrid::Show()
{
    // The rows shown may change between activations (the days of a month).
    const int shown = Shown();
    for (int r = 0; r < static_cast<int>(nameLabels_.size()); ++r) nameLabels_[r]->setVisible(r < shown);
    for (auto& set : headings_) {
        for (std::size_t c = 0; c < set.labels.size(); ++c)
            set.labels[c]->setVisible(c == 0 || shown > static_cast<int>(c) * geometry_.rowsPerColumn);
    }
    for (int r = 0; r < geometry_.rows; ++r)
        for (auto& column : columns_) column->Show(*this, r, r < shown);
}

void EditorGrid::HidePickers()
{
    for (auto& [name, picker] : pickers_) picker->combo->hide();
}

QComboBox* EditorGrid::SharedPicker(const QString& name, const Choices& choices)
{
    auto& picker = pickers_[name];
    if (!picker) {
        picker = std::make_unique<PickerState>();
        picker->combo = new PickerBox(host_);
        picker->combo->setObjectName(name);
        picker->combo->setMaxVisibleItems(16);
        picker->choices = choices;
        FillList(picker->combo, choices.Texts());
        picker->combo->hide();
        PickerState* p = picker.get();
        connect(picker->combo, &QComboBox::activated, this, [this, p](int index) { StorePicked(*p, index); });
        // The list closes before the entry chosen (if any) is reported:
        // whether it closed without a choice is known once that has run.
        picker->combo->listHidden = [this, p] {
            QTimer::singleShot(0, this, [this, p] { PickerHidden(*p); });
        };
        picker->combo->installEventFilter(this);
    }
    return picker->combo;
}

void EditorGrid::OpenPicker(const QString& name, QWidget* cell, int column, int row, int value, bool fromKeyboard)
{
    PickerState& picker = *pickers_.at(name);
    picker.column = column;
    picker.row = row;
    picker.keyboard = fromKeyboard;
    QComboBox* combo = picker.combo;
    combo->setCurrentIndex(picker.choices.IndexOf(value));
    combo->setGeometry(cell->x(), cell->y(), std::max(cell->width(), combo->minimumSizeHint().width()),
                       std::max(cell->height(), combo->sizeHint().height()));
    SetAccessibleNameOnce(combo, cell->accessibleName());
    combo->show();
    combo->raise();
    combo->setFocus();
    if (fromKeyboard) combo->showPopup();
}

const Choices& EditorGrid::PickerChoices(const QString& name) const { return pickers_.at(name)->choices; }

void EditorGrid::SetPickerChoices(const QString& name, Choices choices)
{
    PickerState& state = *pickers_.at(name);
    state.combo->hide();
    FillList(state.combo, choices.Texts());
    state.choices = std::move(choices);
}

void EditorGrid::StorePicked(PickerState& picker, int index)
{
    if (picker.column < 0 || picker.row < 0 || index < 0) return;
    picker.combo->hide();
    columns_[picker.column]->Picked(*this, picker.row, index);
    if (picker.keyboard) {
        picker.keyboard = false;
        FocusPickerCell(picker);
    }
}

void EditorGrid::PickerHidden(PickerState& picker)
{
    // A list opened from the keyboard and closed without a choice (Escape,
    // a click outside it): the picker closes as on a background click.
    if (!picker.keyboard || !picker.combo->isVisible()) return;
    picker.keyboard = false;
    ClosePicker(picker);
}

void EditorGrid::ClosePicker(const PickerState& picker)
{
    window_.BackgroundClick();
    FocusPickerCell(picker);
}

void EditorGrid::FocusPickerCell(const PickerState& picker)
{
    if (picker.column < 0 || picker.column >= static_cast<int>(columns_.size())) return;
    if (QWidget* cell = columns_[picker.column]->Cell(picker.row)) cell->setFocus(Qt::OtherFocusReason);
}

void EditorGrid::PressName(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    if (!copy_) return;
    if (row == 0 && button == Qt::RightButton && ShiftOnly(modifiers)) {
        Copy();
        return;
    }
    HidePickers();
    window_.Edited();
}

void EditorGrid::Copy()
{
    HidePickers();
    copy_(Shown());
    window_.Edited();
}

QString EditorGrid::CopyText() const
{
    const QString kind = names_.toolTip.trimmed();
    if (kind.isEmpty()) return "Copy Row 1 To All Rows";
    return "Copy " + kind + " 1 To All " + kind + "s";
}

void EditorGrid::ShowCopyMenu()
{
    QLabel* first = NameLabel(0);
    if (!copy_ || !first) return;
    if (!copyMenu_) {
        copyMenu_ = new QMenu(first);
        copyMenu_->setObjectName("mnuCopyGesture");
        QAction* copy = copyMenu_->addAction(CopyText());
        connect(copy, &QAction::triggered, this, [this] { Copy(); });
    }
    copyMenu_->popup(first->mapToGlobal(QPoint(0, first->height())));
}

int EditorGrid::RightTwips() const
{
    const int columns = (geometry_.rows + geometry_.rowsPerColumn - 1) / geometry_.rowsPerColumn;
    int width = names_.width;
    for (const auto& column : columns_) width = std::max(width, column->RightTwips());
    return geometry_.left + (columns - 1) * geometry_.columnPitch + width;
}

int EditorGrid::BottomTwips() const
{
    const int lines = std::min(geometry_.rows, geometry_.rowsPerColumn);
    return geometry_.top + (lines - 1) * geometry_.rowPitch + geometry_.height;
}

QLabel* EditorGrid::NameLabel(int row) const
{
    return row >= 0 && row < static_cast<int>(nameLabels_.size()) ? nameLabels_[row] : nullptr;
}

namespace {

template <typename W>
W* CellOf(const std::vector<std::unique_ptr<CellColumn>>& columns, int column, int row)
{
    if (column < 0 || column >= static_cast<int>(columns.size())) return nullptr;
    return qobject_cast<W*>(columns[column]->Cell(row));
}

}  // namespace

ClickLabel* EditorGrid::Cell(int column, int row) const { return CellOf<ClickLabel>(columns_, column, row); }
NameBox* EditorGrid::Box(int column, int row) const { return CellOf<NameBox>(columns_, column, row); }
QComboBox* EditorGrid::List(int column, int row) const { return CellOf<QComboBox>(columns_, column, row); }
QScrollBar* EditorGrid::Bar(int column, int row) const { return CellOf<QScrollBar>(columns_, column, row); }

QLabel* EditorGrid::BarCaption(int column, int row) const
{
    if (column < 0 || column >= static_cast<int>(columns_.size())) return nullptr;
    return columns_[column]->Caption(row);
}

QComboBox* EditorGrid::Picker(const QString& name) const
{
    auto it = pickers_.find(name);
    return it == pickers_.end() ? nullptr : it->second->combo;
}

QComboBox* EditorGrid::PickerOf(int column) const
{
    if (column < 0 || column >= static_cast<int>(columns_.size())) return nullptr;
    return Picker(columns_[column]->PickerName());
}

QLabel* EditorGrid::Heading(const QString& label, int element) const
{
    for (const auto& set : headings_)
        if (set.desc.label == label && element >= 0 && element < static_cast<int>(set.labels.size()))
            return set.labels[element];
    return nullptr;
}

void EditorGrid::SetChoices(int column, Choices choices)
{
    if (column >= 0 && column < static_cast<int>(columns_.size())) columns_[column]->SetChoices(*this, std::move(choices));
}

int EditorGrid::EditRow(int column) const
{
    if (column < 0 || column >= static_cast<int>(columns_.size())) return -1;
    auto it = pickers_.find(columns_[column]->PickerName());
    return it == pickers_.end() || it->second->column != column ? -1 : it->second->row;
}

// ---------------------------------------------------------------------------
// Keys

void EditorGrid::WatchKeys(QWidget* cell, int column, int row)
{
    places_[cell] = {column, row};
    cell->installEventFilter(this);
}

QWidget* EditorGrid::CellAt(int column, int row) const
{
    if (row < 0 || row >= geometry_.rows) return nullptr;
    QWidget* w = column < 0 ? static_cast<QWidget*>(NameLabel(row))
                            : column < static_cast<int>(columns_.size()) ? columns_[column]->Cell(row) : nullptr;
    return w && TakesTab(w) && w->isVisibleTo(&window_) && w->isEnabled() ? w : nullptr;
}

QWidget* EditorGrid::MoveFrom(int column, int row, int key) const
{
    const int perColumn = geometry_.rowsPerColumn;
    const int shown = Shown();
    const int last = static_cast<int>(columns_.size()) - 1;
    auto sameColumnOfRows = [perColumn](int a, int b) { return a / perColumn == b / perColumn; };
    switch (key) {
    case Qt::Key_Up:
        for (int r = row - 1; r >= 0 && sameColumnOfRows(r, row); --r)
            if (QWidget* w = CellAt(column, r)) return w;
        return nullptr;
    case Qt::Key_Down:
        for (int r = row + 1; r < shown && sameColumnOfRows(r, row); ++r)
            if (QWidget* w = CellAt(column, r)) return w;
        return nullptr;
    case Qt::Key_Home:
        for (int r = 0; r < shown; ++r)
            if (QWidget* w = CellAt(column, r)) return w;
        return nullptr;
    case Qt::Key_End:
        for (int r = shown - 1; r >= 0; --r)
            if (QWidget* w = CellAt(column, r)) return w;
        return nullptr;
    case Qt::Key_PageUp:
        for (int r = row - perColumn; r >= 0; r -= perColumn)
            if (QWidget* w = CellAt(column, r)) return w;
        return nullptr;
    case Qt::Key_PageDown: {
        // The same line of the next column of rows, or its last row shown.
        for (int start = (row / perColumn + 1) * perColumn; start < shown; start += perColumn) {
            for (int r = std::min(row % perColumn + start, shown - 1); r >= start; --r)
                if (QWidget* w = CellAt(column, r)) return w;
        }
        return nullptr;
    }
    case Qt::Key_Left:
        for (int r = row; r >= 0; r -= perColumn)
            for (int c = r == row ? column - 1 : last; c >= -1; --c)
                if (QWidget* w = CellAt(c, r)) return w;
        return nullptr;
    case Qt::Key_Right:
        for (int r = row; r < shown; r += perColumn)
            for (int c = r == row ? column + 1 : -1; c <= last; ++c)
                if (QWidget* w = CellAt(c, r)) return w;
        return nullptr;
    default:
        return nullptr;
    }
}

bool EditorGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;

    // Escape in a picker whose list is shut (opened by a click): as a click on the background.
    for (auto& [name, picker] : pickers_) {
        if (picker->combo != watched) continue;
        if (key->key() != Qt::Key_Escape || mods != Qt::NoModifier) return false;
        ClosePicker(*picker);
        return true;
    }

    auto place = places_.find(watched);
    if (place == places_.end() || mods != Qt::NoModifier) return false;
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (QWidget* to = MoveFrom(place->second.first, place->second.second, key->key())) {
            HidePickers();
            to->setFocus(Qt::OtherFocusReason);
        }
        return true;   // at the edge the focus stays
    default:
        return false;
    }
}

QList<QWidget*> EditorGrid::FocusOrder() const
{
    QList<QWidget*> order;
    const int perColumn = geometry_.rowsPerColumn;
    for (int start = 0; start < geometry_.rows; start += perColumn) {
        for (int r = start; r < std::min(start + perColumn, geometry_.rows); ++r) {
            if (TakesTab(NameLabel(r))) order << NameLabel(r);
            for (const auto& column : columns_)
                if (TakesTab(column->Cell(r))) order << column->Cell(r);
        }
    }
    return order;
}

}  // namespace t2
