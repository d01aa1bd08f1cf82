#include "GridCells.h"

#include "ClickLabel.h"
#include "Controls.h"
#include "EditorWindow.h"
#include "NameBox.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>

namespace t2 {

namespace {

RowValue ValueOf(std::function<Integer&(int)> member, std::function<int(int)> get, std::function<void(int, int)> set)
{
    return {std::move(member), std::move(get), std::move(set)};
}

// A bar's keys as on every scroll bar of the panel's system: Left and Up a
// small step down, Right and Down a small step up, Page Up and Page Down a
// large one, Home and End to the ends. The steps a bar takes while it has
// the focus are one edit, which ends when it loses the focus. The bar may
// lose the focus while its window is being taken down, after the grid has
// gone: the filter then has no edit left to end.
class BarKeys : public QObject {
public:
    BarKeys(EditorGrid& grid, QScrollBar* bar) : QObject(bar), grid_(&grid), bar_(bar)
    {
        bar->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (!grid_) return false;
        if (event->type() == QEvent::FocusOut) grid_->Window().EndTyping(bar_);
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        QAbstractSlider::SliderAction action = QAbstractSlider::SliderNoAction;
        switch (key->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up: action = QAbstractSlider::SliderSingleStepSub; break;
        case Qt::Key_Right:
        case Qt::Key_Down: action = QAbstractSlider::SliderSingleStepAdd; break;
        case Qt::Key_PageUp: action = QAbstractSlider::SliderPageStepSub; break;
        case Qt::Key_PageDown: action = QAbstractSlider::SliderPageStepAdd; break;
        case Qt::Key_Home: action = QAbstractSlider::SliderToMinimum; break;
        case Qt::Key_End: action = QAbstractSlider::SliderToMaximum; break;
        default: return false;
        }
        bar_->triggerAction(action);
        return true;
    }

private:
    QPointer<EditorGrid> grid_;
    QScrollBar* bar_;
};

void UseBarKeys(EditorGrid& grid, QScrollBar* bar) { new BarKeys(grid, bar); }

ClickLabel* MakeCellLabel(EditorGrid& grid, const QString& name, int row, int offset, int width)
{
    EditorWindow& w = grid.Window();
    auto* label = new ClickLabel(grid.Host());
    EditorGrid::NameArrayElement(label, name, row);
    label->setGeometry(QRect(grid.CellPos(row, offset), QSize(w.Px(width), w.Px(grid.Geometry().height))));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    return label;
}

}  // namespace

int RowValue::Get(int row) const
{
    if (get) return get(row);
    return member ? int(member(row)) : -1;
}

void RowValue::Set(int row, int value) const
{
    if (set) {
        set(row, value);
    } else if (member) {
        member(row) = static_cast<Integer>(value);
    }
}

// ---------------------------------------------------------------------------

PickerColumn::PickerColumn(PickerSpec desc) : desc_(std::move(desc)), value_(ValueOf(desc_.member, desc_.get, desc_.set))
{
}

void PickerColumn::Build(EditorGrid& grid, int column)
{
    for (int r = 0; r < grid.Rows(); ++r) {
        ClickLabel* label = MakeCellLabel(grid, desc_.label, r, desc_.offset, desc_.width);
        label->setIndent(grid.Window().Px(15));
        label->SetOpensList(true);
        SetBackground(label, Qt::white);
        QObject::connect(label, &ClickLabel::clicked, &grid, [this, &grid, column, r] { Open(grid, column, r); });
        labels_.push_back(label);
    }
    grid.SharedPicker(desc_.picker, desc_.choices);
}

void PickerColumn::Show(EditorGrid& grid, int row, bool shown)
{
    ClickLabel* label = labels_[row];
    const bool visible = shown && (!desc_.visible || desc_.visible(row));
    if (visible) {
        label->setText(desc_.caption ? desc_.caption(row)
                                     : QLatin1Char(' ') + grid.PickerChoices(desc_.picker).TextOf(value_.Get(row)));
        if (desc_.widthOf) label->resize(grid.Window().Px(desc_.widthOf(row)), label->height());
    }
    label->setVisible(visible);
}

QWidget* PickerColumn::Cell(int row) const { return row >= 0 && row < int(labels_.size()) ? labels_[row] : nullptr; }

void PickerColumn::SetChoices(EditorGrid& grid, Choices choices)
{
    grid.SetPickerChoices(desc_.picker, std::move(choices));
}

void PickerColumn::Picked(EditorGrid& grid, int row, int index)
{
    value_.Set(row, grid.PickerChoices(desc_.picker).ValueOf(index));
    grid.Window().Edited();
}

void PickerColumn::Open(EditorGrid& grid, int column, int row)
{
    grid.HidePickers();
    if (desc_.open && !desc_.open(row)) return;
    grid.OpenPicker(desc_.picker, labels_[row], column, row, value_.Get(row), labels_[row]->ByKeyboard());
    if (desc_.changedOnOpen) grid.Window().MarkChanged();
}

// ---------------------------------------------------------------------------

void StateColumn::Build(EditorGrid& grid, int /*column*/)
{
    for (int r = 0; r < grid.Rows(); ++r) {
        ClickLabel* label = MakeCellLabel(grid, desc_.label, r, desc_.offset, desc_.width);
        label->setAlignment(Qt::AlignCenter);
        QObject::connect(label, &ClickLabel::clicked, &grid, [this, &grid, r] { Click(grid, r); });
        QObject::connect(label, &ClickLabel::doubleClicked, &grid, [this, &grid, r] {
            if (desc_.doubleClickRepeats) Click(grid, r);
        });
        labels_.push_back(label);
    }
}

void StateColumn::Show(EditorGrid& /*grid*/, int row, bool shown)
{
    ClickLabel* label = labels_[row];
    if (shown && desc_.look) {
        const int look = desc_.look(row);
        if (look >= 0 && look < static_cast<int>(desc_.looks.size())) {
            label->setText(desc_.looks[look].text);
            SetBackground(label, desc_.looks[look].background);
        }
    }
    label->setVisible(shown);
}

QWidget* StateColumn::Cell(int row) const { return row >= 0 && row < int(labels_.size()) ? labels_[row] : nullptr; }

void StateColumn::Click(EditorGrid& grid, int row)
{
    if (desc_.click) desc_.click(row);
    grid.Window().Edited();
}

// ---------------------------------------------------------------------------

void TextColumn::Build(EditorGrid& grid, int /*column*/)
{
    EditorWindow& w = grid.Window();
    for (int r = 0; r < grid.Rows(); ++r) {
        auto* box = new NameBox(grid.Host());
        EditorGrid::NameArrayElement(box, desc_.box, r);
        box->setGeometry(QRect(grid.CellPos(r, desc_.offset), QSize(w.Px(desc_.width), w.Px(grid.Geometry().height))));
        QObject::connect(box, &QLineEdit::textChanged, &grid, [this, &grid, box, r](const QString& text) {
            if (grid.Filling()) return;
            if (desc_.edited) desc_.edited(r, text);
            grid.Window().MarkChanged(box);   // typing in one box is one step
        });
        QObject::connect(box, &NameBox::touched, &grid, [this, r] {
            if (desc_.touched) desc_.touched(r);
        });
        QObject::connect(box, &QLineEdit::editingFinished, &grid, [&grid, box] { grid.Window().EndTyping(box); });
        boxes_.push_back(box);
    }
}

void TextColumn::Show(EditorGrid& grid, int row, bool shown)
{
    NameBox* box = boxes_[row];
    if (shown && desc_.text) {
        const QString text = desc_.text(row);
        if (box->text() != text) grid.Quietly([&] { box->setText(text); });   // leaves the cursor alone while typing
    }
    box->setVisible(shown);
}

QWidget* TextColumn::Cell(int row) const { return row >= 0 && row < int(boxes_.size()) ? boxes_[row] : nullptr; }

// ---------------------------------------------------------------------------

RowListColumn::RowListColumn(RowListSpec desc)
    : desc_(std::move(desc)), value_(ValueOf(desc_.member, desc_.get, desc_.set))
{
}

void RowListColumn::Build(EditorGrid& grid, int /*column*/)
{
    EditorWindow& w = grid.Window();
    for (int r = 0; r < grid.Rows(); ++r) {
        auto* list = new QComboBox(grid.Host());
        EditorGrid::NameArrayElement(list, desc_.list, r);
        list->setMaxVisibleItems(16);
        FillList(list, desc_.choices.Texts());
        const QPoint at = grid.CellPos(r, desc_.offset);
        list->setGeometry(at.x(), at.y(), w.Px(desc_.width), list->sizeHint().height());
        // activated comes from the user only, never from the window's own selection.
        QObject::connect(list, &QComboBox::activated, &grid, [this, &grid, r](int index) {
            if (index < 0) return;
            value_.Set(r, desc_.choices.ValueOf(index));
            grid.Window().Edited();
        });
        lists_.push_back(list);
    }
}

void RowListColumn::Show(EditorGrid& grid, int row, bool shown)
{
    QComboBox* list = lists_[row];
    const bool visible = shown && (!desc_.visible || desc_.visible(row));
    if (visible) grid.Quietly([&] { list->setCurrentIndex(desc_.choices.IndexOf(value_.Get(row))); });
    list->setVisible(visible);
}

QWidget* RowListColumn::Cell(int row) const { return row >= 0 && row < int(lists_.size()) ? lists_[row] : nullptr; }

void RowListColumn::SetChoices(EditorGrid& /*grid*/, Choices choices)
{
    desc_.choices = std::move(choices);
    for (QComboBox* list : lists_) FillList(list, desc_.choices.Texts());
}

// ---------------------------------------------------------------------------

ScrollColumn::ScrollColumn(ScrollSpec desc) : desc_(std::move(desc)), value_(ValueOf(desc_.member, desc_.get, desc_.set))
{
}

void ScrollColumn::Build(EditorGrid& grid, int /*column*/)
{
    EditorWindow& w = grid.Window();
    const int height = w.Px(grid.Geometry().height);
    for (int r = 0; r < grid.Rows(); ++r) {
        auto* bar = new QScrollBar(Qt::Horizontal, grid.Host());
        EditorGrid::NameArrayElement(bar, desc_.bar, r);
        bar->setGeometry(QRect(grid.CellPos(r, desc_.offset), QSize(w.Px(desc_.width), height)));
        bar->setRange(desc_.minimum, desc_.maximum);
        bar->setSingleStep(desc_.singleStep);
        bar->setPageStep(desc_.pageStep ? desc_.pageStep(r) : 10);
        bar->setTracking(true);   // the value and its caption follow the bar while it is dragged
        bar->setFocusPolicy(Qt::StrongFocus);   // the arrows (small steps) and Page Up/Down (large ones), BarKeys
        auto* caption = new QLabel(grid.Host());
        EditorGrid::NameArrayElement(caption, desc_.label, r);
        caption->setGeometry(QRect(grid.CellPos(r, desc_.labelOffset), QSize(w.Px(desc_.labelWidth), height)));
        QObject::connect(bar, &QScrollBar::valueChanged, &grid, [this, &grid, bar, r](int value) {
            if (grid.Filling()) return;
            value_.Set(r, value);
            // One drag is one step, and so are the keys pressed while the bar has the focus.
            grid.Window().Edited(bar->isSliderDown() || bar->hasFocus() ? bar : nullptr);
        });
        QObject::connect(bar, &QScrollBar::sliderReleased, &grid, [&grid, bar] {
            if (!bar->hasFocus()) grid.Window().EndTyping(bar);
        });
        UseBarKeys(grid, bar);
        bars_.push_back(bar);
        captions_.push_back(caption);
    }
}

void ScrollColumn::Show(EditorGrid& grid, int row, bool shown)
{
    QScrollBar* bar = bars_[row];
    QLabel* caption = captions_[row];
    if (shown) {
        const int value = value_.Get(row);
        if (bar->value() != value) grid.Quietly([&] { bar->setValue(value); });
        if (desc_.caption) caption->setText(desc_.caption(row));
    }
    bar->setVisible(shown);
    caption->setVisible(shown);
}

QWidget* ScrollColumn::Cell(int row) const { return row >= 0 && row < int(bars_.size()) ? bars_[row] : nullptr; }

QLabel* ScrollColumn::Caption(int row) const
{
    return row >= 0 && row < int(captions_.size()) ? captions_[row] : nullptr;
}

}  // namespace t2
