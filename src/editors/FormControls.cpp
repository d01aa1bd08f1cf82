#include "FormControls.h"

#include "Controls.h"
#include "EditorWindow.h"
#include "Twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QScopedValueRollback>

namespace t2 {

namespace {

QWidget* HostOf(EditorWindow& window, QWidget* host) { return host ? host : &window; }

QRect Area(const QWidget* host, int left, int top, int width, int height)
{
    return {Twips(host, left), Twips(host, top), Twips(host, width), Twips(host, height)};
}

}  // namespace

FormControl::FormControl(EditorWindow& window) : QObject(&window), window_(window) {}

// ---------------------------------------------------------------------------

Selector::Selector(EditorWindow& window, SelectorSpec desc)
    : FormControl(window), desc_(std::move(desc)),
      combo_(PlaceList(HostOf(window, desc_.host), desc_.name, desc_.left, desc_.top, desc_.width))
{
    connect(combo_, &QComboBox::activated, this, [this](int index) {
        if (filling_ || index < 0) return;
        if (desc_.chosen) desc_.chosen(index);
        window_.HidePickers();
        window_.Redraw();
    });
}

void Selector::Refill(bool keepSelection)
{
    const QScopedValueRollback quiet(filling_, true);
    const int kept = combo_->currentIndex();
    FillList(combo_, desc_.entries ? desc_.entries() : QStringList());
    const bool keep = keepSelection || desc_.keepSelection;
    const int index = keep && kept >= 0 && kept < combo_->count() ? kept : 0;
    combo_->setCurrentIndex(combo_->count() > 0 ? index : -1);
}

int Selector::Index() const { return combo_->currentIndex(); }

void Selector::Select(int index)
{
    const QScopedValueRollback quiet(filling_, true);
    combo_->setCurrentIndex(index >= 0 && index < combo_->count() ? index : -1);
}

// ---------------------------------------------------------------------------

ValueList::ValueList(EditorWindow& window, ValueListSpec desc)
    : FormControl(window), desc_(std::move(desc)),
      combo_(PlaceList(HostOf(window, desc_.host), desc_.name, desc_.left, desc_.top, desc_.width))
{
    FillList(combo_, desc_.choices.Texts());
    // activated comes from the user only, never from the window's own selection.
    connect(combo_, &QComboBox::activated, this, [this](int index) {
        if (filling_ || index < 0) return;
        const int value = desc_.choices.ValueOf(index);
        if (desc_.set) {
            desc_.set(value);
        } else if (desc_.member) {
            desc_.member() = static_cast<Integer>(value);
        }
        window_.Edited();
    });
}

void ValueList::Show()
{
    const QScopedValueRollback quiet(filling_, true);
    const int value = desc_.get ? desc_.get() : desc_.member ? int(desc_.member()) : -1;
    combo_->setCurrentIndex(desc_.choices.IndexOf(value));
}

void ValueList::SetChoices(Choices choices)
{
    const QScopedValueRollback quiet(filling_, true);
    desc_.choices = std::move(choices);
    FillList(combo_, desc_.choices.Texts());
}

// ---------------------------------------------------------------------------

OptionGroup::OptionGroup(EditorWindow& window, OptionsSpec desc) : FormControl(window), desc_(std::move(desc))
{
    QWidget* host = HostOf(window, desc_.host);
    auto* group = new QButtonGroup(this);
    for (int k = 0; k < desc_.captions.size(); ++k) {
        auto* button = new QRadioButton(desc_.captions[k], host);
        button->setObjectName(desc_.name + QLatin1Char('_') + QString::number(k));
        const int left = desc_.left + (desc_.across ? k * desc_.pitch : 0);
        const int top = desc_.top + (desc_.across ? 0 : k * desc_.pitch);
        button->setGeometry(Area(host, left, top, desc_.width, 300));
        group->addButton(button, k);
        // clicked comes from the user only.
        connect(button, &QRadioButton::clicked, this, [this, k] {
            if (filling_) return;
            if (desc_.set) desc_.set(k);
            if (desc_.choosesView) {
                window_.HidePickers();
                window_.Redraw();
                return;
            }
            window_.Edited();
        });
        buttons_.push_back(button);
    }
}

void OptionGroup::Show()
{
    const QScopedValueRollback quiet(filling_, true);
    const int selected = desc_.get ? desc_.get() : -1;
    if (selected >= 0 && selected < Count()) {
        buttons_[selected]->setChecked(true);
        return;
    }
    if (buttons_.empty()) return;
    QButtonGroup* group = buttons_.front()->group();
    group->setExclusive(false);
    for (QRadioButton* b : buttons_) b->setChecked(false);
    group->setExclusive(true);
}

QRadioButton* OptionGroup::Button(int index) const
{
    return index >= 0 && index < Count() ? buttons_[index] : nullptr;
}

// ---------------------------------------------------------------------------

CheckBox::CheckBox(EditorWindow& window, CheckSpec desc)
    : FormControl(window), desc_(std::move(desc)), box_(new QCheckBox(desc_.caption, HostOf(window, desc_.host)))
{
    box_->setObjectName(desc_.name);
    box_->setGeometry(Area(box_->parentWidget(), desc_.left, desc_.top, desc_.width, 300));
    connect(box_, &QCheckBox::clicked, this, [this](bool checked) {
        if (filling_) return;
        if (desc_.set) desc_.set(checked);
        if (desc_.edit) {
            window_.Edited();
        } else {
            window_.Redraw();
        }
    });
}

void CheckBox::Show()
{
    const QScopedValueRollback quiet(filling_, true);
    box_->setChecked(desc_.get && desc_.get());
}

// ---------------------------------------------------------------------------

BitBoxes::BitBoxes(EditorWindow& window, BitBoxesSpec desc) : FormControl(window), desc_(std::move(desc))
{
    QWidget* host = HostOf(window, desc_.host);
    for (int bit = 0; bit < desc_.captions.size(); ++bit) {
        auto* box = new QCheckBox(desc_.captions[bit], host);
        box->setObjectName(desc_.name + QLatin1Char('_') + QString::number(bit));
        box->setGeometry(Area(host, desc_.left, desc_.top + bit * desc_.pitch, desc_.width, 300));
        connect(box, &QCheckBox::clicked, this, [this, bit](bool checked) {
            if (filling_ || !desc_.mask) return;
            Integer& mask = desc_.mask();
            const bool set = checked != desc_.checkedIsClear;
            mask = static_cast<Integer>(set ? (mask | (1 << bit)) : (mask & ~(1 << bit)));
            window_.Edited();
        });
        boxes_.push_back(box);
    }
}

void BitBoxes::Show()
{
    if (!desc_.mask) return;
    const QScopedValueRollback quiet(filling_, true);
    const int mask = desc_.mask();
    for (int bit = 0; bit < static_cast<int>(boxes_.size()); ++bit) {
        const bool set = (mask >> bit) & 1;
        boxes_[bit]->setChecked(set != desc_.checkedIsClear);
    }
}

QCheckBox* BitBoxes::Box(int bit) const
{
    return bit >= 0 && bit < static_cast<int>(boxes_.size()) ? boxes_[bit] : nullptr;
}

}  // namespace t2
