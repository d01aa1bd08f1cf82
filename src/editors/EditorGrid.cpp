#include "EditorGrid.h"

#include "EditorWindow.h"
#include "ClickLabel.h"
#include "NameBox.h"
#include "ScreenText.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QStyle>
#include <QPalette>

namespace t2 {

namespace {

// Array controls are named "name_index" and also carry their index.
void NameArrayElement(QWidget* w, const QString& name, int index)
{
    w->setObjectName(name + QLatin1Char('_') + QString::number(index));
    w->setProperty("array", name);
    w->setProperty("index", index);
}

// The list opens at least as wide as its longest entry, even over a narrow label.
void FillList(QComboBox* combo, const QStringList& entries)
{
    combo->clear();
    combo->addItems(entries);
    QAbstractItemView* view = combo->view();
    view->setMinimumWidth(view->sizeHintForColumn(0) + view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8);
}

void SetBackground(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

}  // namespace

struct EditorGrid::Column {
    enum Kind { PickerCell, StateCell, TextCell } kind;
    PickerSpec picker;
    StateSpec state;
    TextSpec text;
    std::vector<ClickLabel*> labels;
    std::vector<NameBox*> boxes;
};

struct EditorGrid::PickerState {
    QComboBox* combo = nullptr;
    int column = -1;   // cell column that opened it last
    int row = -1;      // row it was opened on
};

EditorGrid::EditorGrid(EditorWindow& window, const GridGeometry& geometry)
    : QObject(&window), window_(window), geometry_(geometry)
{
}

EditorGrid::~EditorGrid() = default;

QPoint EditorGrid::CellPos(int row, int offset) const
{
    const int column = row / geometry_.rowsPerColumn;
    const int line = row % geometry_.rowsPerColumn;
    return {window_.Px(geometry_.left + column * geometry_.columnPitch + offset),
            window_.Px(geometry_.top + line * geometry_.rowPitch)};
}

EditorGrid& EditorGrid::Names(NameSpec desc)
{
    names_ = std::move(desc);
    for (int r = 0; r < geometry_.rows; ++r) {
        auto* label = new ClickLabel(&window_);
        NameArrayElement(label, names_.label, r);
        label->setGeometry(QRect(CellPos(r, 0), QSize(window_.Px(names_.width), window_.Px(geometry_.height))));
        label->setIndent(window_.Px(15));
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

int EditorGrid::AddPicker(PickerSpec desc)
{
    const int c = static_cast<int>(columns_.size());
    auto column = std::make_unique<Column>();
    column->kind = Column::PickerCell;
    if (desc.member) {
        auto member = desc.member;
        if (!desc.get) desc.get = [member](int r) { return int(member(r)); };
        if (!desc.set) desc.set = [member](int r, int i) { member(r) = static_cast<Integer>(i); };
    }
    for (int r = 0; r < geometry_.rows; ++r) {
        auto* label = new ClickLabel(&window_);
        NameArrayElement(label, desc.label, r);
        label->setGeometry(QRect(CellPos(r, desc.offset), QSize(window_.Px(desc.width), window_.Px(geometry_.height))));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setIndent(window_.Px(15));
        SetBackground(label, Qt::white);
        connect(label, &ClickLabel::clicked, this, [this, c, r] { OpenPicker(c, r); });
        column->labels.push_back(label);
    }
    auto& picker = pickers_[desc.picker];
    if (!picker) {
        picker = std::make_unique<PickerState>();
        picker->combo = new QComboBox(&window_);
        picker->combo->setObjectName(desc.picker);
        picker->combo->setMaxVisibleItems(16);
        FillList(picker->combo, desc.entries);
        picker->combo->hide();
        PickerState* p = picker.get();
        connect(picker->combo, &QComboBox::activated, this, [this, p](int index) { StorePicked(*p, index); });
    }
    column->picker = std::move(desc);
    columns_.push_back(std::move(column));
    return c;
}

int EditorGrid::AddState(StateSpec desc)
{
    const int c = static_cast<int>(columns_.size());
    auto column = std::make_unique<Column>();
    column->kind = Column::StateCell;
    for (int r = 0; r < geometry_.rows; ++r) {
        auto* label = new ClickLabel(&window_);
        NameArrayElement(label, desc.label, r);
        label->setGeometry(QRect(CellPos(r, desc.offset), QSize(window_.Px(desc.width), window_.Px(geometry_.height))));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        connect(label, &ClickLabel::clicked, this, [this, c, r] { ClickState(c, r); });
        connect(label, &ClickLabel::doubleClicked, this, [this, c, r] {
            if (columns_[c]->state.doubleClickRepeats) ClickState(c, r);
        });
        column->labels.push_back(label);
    }
    column->state = std::move(desc);
    columns_.push_back(std::move(column));
    return c;
}

int EditorGrid::AddText(TextSpec desc)
{
    const int c = static_cast<int>(columns_.size());
    auto column = std::make_unique<Column>();
    column->kind = Column::TextCell;
    for (int r = 0; r < geometry_.rows; ++r) {
        auto* box = new NameBox(&window_);
        NameArrayElement(box, desc.box, r);
        box->setGeometry(QRect(CellPos(r, desc.offset), QSize(window_.Px(desc.width), window_.Px(geometry_.height))));
        connect(box, &QLineEdit::textChanged, this, [this, c, r](const QString& text) {
            if (filling_) return;
            if (columns_[c]->text.edited) columns_[c]->text.edited(r, text);
        });
        connect(box, &NameBox::touched, this, [this, c, r] {
            if (columns_[c]->text.touched) columns_[c]->text.touched(r);
        });
        column->boxes.push_back(box);
    }
    column->text = std::move(desc);
    columns_.push_back(std::move(column));
    return c;
}

EditorGrid& EditorGrid::AddHeading(HeadingSpec desc)
{
    HeadingSet set;
    const int columns = (geometry_.rows + geometry_.rowsPerColumn - 1) / geometry_.rowsPerColumn;
    for (int c = 0; c < columns; ++c) {
        auto* label = new QLabel(desc.text, &window_);
        NameArrayElement(label, desc.label, c);
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
    const int shown = Shown();
    for (int r = 0; r < geometry_.rows; ++r) {
        if (r < static_cast<int>(nameLabels_.size())) {
            ClickLabel* label = nameLabels_[r];
            if (r < shown) {
                if (names_.text) label->setText(names_.text(r));
                if (names_.toolTipOf) label->setToolTip(names_.toolTipOf(r));
                else if (!names_.toolTip.isEmpty()) label->setToolTip(ItemToolTip(names_.toolTip, r));
            }
            label->setVisible(r < shown);
        }
    }
    for (auto& set : headings_) {
        for (std::size_t c = 0; c < set.labels.size(); ++c)
            set.labels[c]->setVisible(c == 0 || shown > static_cast<int>(c) * geometry_.rowsPerColumn);
    }
    Show();
}

void EditorGrid::ShowRowCells(int row, bool shown)
{
    for (auto& column : columns_) {
        switch (column->kind) {
        case Column::PickerCell: {
            const PickerSpec& desc = column->picker;
            ClickLabel* label = column->labels[row];
            const bool visible = shown && (!desc.visible || desc.visible(row));
            if (visible) {
                if (desc.caption) {
                    label->setText(desc.caption(row));
                } else {
                    const int index = desc.get ? desc.get(row) : -1;
                    QComboBox* combo = pickers_.at(desc.picker)->combo;
                    label->setText(QLatin1Char(' ') +
                                   (index >= 0 && index < combo->count() ? combo->itemText(index) : QString()));
                }
                if (desc.widthOf) label->resize(window_.Px(desc.widthOf(row)), label->height());
            }
            label->setVisible(visible);
            break;
        }
        case Column::StateCell: {
            const StateSpec& desc = column->state;
            ClickLabel* label = column->labels[row];
            if (shown && desc.look) {
                const int look = desc.look(row);
                if (look >= 0 && look < static_cast<int>(desc.looks.size())) {
                    label->setText(desc.looks[look].text);
                    SetBackground(label, desc.looks[look].background);
                }
            }
            label->setVisible(shown);
            break;
        }
        case Column::TextCell: {
            NameBox* box = column->boxes[row];
            if (shown && column->text.text) {
                const QString text = column->text.text(row);
                if (box->text() != text) {   // leaves the cursor alone while typing
                    filling_ = true;
                    box->setText(text);
                    filling_ = false;
                }
            }
            box->setVisible(shown);
            break;
        }
        }
    }
}

void EditorGrid::Show()
{
    const int shown = Shown();
    for (int r = 0; r < geometry_.rows; ++r) ShowRowCells(r, r < shown);
}

void EditorGrid::HidePickers()
{
    for (auto& [name, picker] : pickers_) picker->combo->hide();
}

void EditorGrid::OpenPicker(int column, int row)
{
    HidePickers();
    const PickerSpec& desc = columns_[column]->picker;
    if (desc.open && !desc.open(row)) return;
    PickerState& picker = *pickers_.at(desc.picker);
    picker.column = column;
    picker.row = row;
    ClickLabel* label = columns_[column]->labels[row];
    QComboBox* combo = picker.combo;
    const int index = desc.get ? desc.get(row) : -1;
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    combo->setGeometry(label->x(), label->y(), std::max(label->width(), combo->minimumSizeHint().width()),
                       std::max(label->height(), combo->sizeHint().height()));
    combo->show();
    combo->raise();
    combo->setFocus();
    if (desc.changedOnOpen) window_.MarkChanged();
}

void EditorGrid::StorePicked(PickerState& picker, int index)
{
    if (picker.column < 0 || picker.row < 0 || index < 0) return;
    const PickerSpec& desc = columns_[picker.column]->picker;
    if (desc.set) desc.set(picker.row, index);
    picker.combo->hide();
    Show();
    if (desc.changedOnStore) window_.MarkChanged();
}

void EditorGrid::ClickState(int column, int row)
{
    const StateSpec& desc = columns_[column]->state;
    if (desc.click) desc.click(row);
    Show();
    window_.MarkChanged();
}

void EditorGrid::PressName(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    if (!copy_) return;
    HidePickers();
    if (row == 0 && button == Qt::RightButton && ShiftOnly(modifiers)) copy_(Shown());
    Show();
    window_.MarkChanged();
}

int EditorGrid::RightTwips() const
{
    const int columns = (geometry_.rows + geometry_.rowsPerColumn - 1) / geometry_.rowsPerColumn;
    int width = names_.width;
    for (const auto& column : columns_) {
        switch (column->kind) {
        case Column::PickerCell: width = std::max(width, column->picker.offset + column->picker.width); break;
        case Column::StateCell: width = std::max(width, column->state.offset + column->state.width); break;
        case Column::TextCell: width = std::max(width, column->text.offset + column->text.width); break;
        }
    }
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

ClickLabel* EditorGrid::Cell(int column, int row) const
{
    if (column < 0 || column >= static_cast<int>(columns_.size()) || row < 0 || row >= geometry_.rows) return nullptr;
    const auto& labels = columns_[column]->labels;
    return row < static_cast<int>(labels.size()) ? labels[row] : nullptr;
}

NameBox* EditorGrid::Box(int column, int row) const
{
    if (column < 0 || column >= static_cast<int>(columns_.size()) || row < 0 || row >= geometry_.rows) return nullptr;
    const auto& boxes = columns_[column]->boxes;
    return row < static_cast<int>(boxes.size()) ? boxes[row] : nullptr;
}

QComboBox* EditorGrid::Picker(const QString& name) const
{
    auto it = pickers_.find(name);
    return it == pickers_.end() ? nullptr : it->second->combo;
}

QComboBox* EditorGrid::PickerOf(int column) const
{
    if (column < 0 || column >= static_cast<int>(columns_.size())) return nullptr;
    return Picker(columns_[column]->picker.picker);
}

QLabel* EditorGrid::Heading(const QString& label, int element) const
{
    for (const auto& set : headings_)
        if (set.desc.label == label && element >= 0 && element < static_cast<int>(set.labels.size()))
            return set.labels[element];
    return nullptr;
}

void EditorGrid::SetEntries(int column, const QStringList& entries)
{
    QComboBox* combo = PickerOf(column);
    if (!combo) return;
    combo->hide();
    FillList(combo, entries);
}

int EditorGrid::EditRow(int column) const
{
    if (column < 0 || column >= static_cast<int>(columns_.size())) return -1;
    auto it = pickers_.find(columns_[column]->picker.picker);
    return it == pickers_.end() || it->second->column != column ? -1 : it->second->row;
}

}  // namespace t2
