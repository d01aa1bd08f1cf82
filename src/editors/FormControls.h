// The controls of the form windows and the lists above the grids, each bound
// to what it shows. Filling them from the configuration never goes down the
// edit path; a user's choice does, and then the window redraws.
//
//   AddSelector({.name = "cboGroup", .left = 480, .top = 360,
//                .entries = [this] { return Names(Config().GroupNames); }});
//   AddValueList({.name = "cboDSTStartWeek", .left = 1200, .top = 600,
//                 .choices = Choices::Of(DstWeekTexts, 1),
//                 .member = [this]() -> Integer& { return Config().DstStartWeek; }});
//   AddOptions({.name = "optPCFilter", .captions = Texts(PhotocellFilterTexts), ...,
//               .get = [this] { return Config().PhotocellFilterShort ? 1 : 0; },
//               .set = [this](int k) { Config().PhotocellFilterShort = k == 1 ? True : False; }});
//   AddBitBoxes({.name = "chkDays", .captions = Texts(TimerDayBoxTexts), ...,
//                .mask = [this]() -> Integer& { return Config().TimerDays[Timer()]; },
//                .checkedIsClear = true});
#pragma once

#include "Choices.h"
#include "PanelConfig.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QWidget;

namespace t2 {

class EditorWindow;

// A control of a form window, or a selector.
class FormControl : public QObject {
    Q_OBJECT
public:
    explicit FormControl(EditorWindow& window);
    // Activation: lists whose entries come from the configuration refill;
    // keepSelection keeps a selector's choice (else it returns to its first
    // entry unless it always keeps it).
    virtual void Refill(bool /*keepSelection*/) {}
    // Shows the stored value.
    virtual void Show() = 0;

protected:
    EditorWindow& window_;
    bool filling_ = false;
};

// A list above a grid that chooses what the grid shows (device, group, input,
// timer, preset). Its entries are refilled on every activation.
struct SelectorSpec {
    QString name{};                           // "cboInput"
    int left = 480;
    int top = 360;
    int width = 2400;
    QWidget* host = nullptr;                  // default: the window
    std::function<QStringList()> entries{};
    bool keepSelection = false;               // true: the choice survives activation (else entry 0)
    std::function<void(int index)> chosen{};  // runs when the user picks, before the window redraws
};

class Selector : public FormControl {
    Q_OBJECT
public:
    Selector(EditorWindow& window, SelectorSpec desc);
    void Refill(bool keepSelection) override;
    void Show() override {}
    // The chosen entry (-1 when the list is empty).
    int Index() const;
    // Chooses an entry as the window would (no handler runs).
    void Select(int index);
    QComboBox* List() const { return combo_; }

private:
    SelectorSpec desc_;
    QComboBox* combo_;
};

// A drop-down list bound to a stored value.
struct ValueListSpec {
    QString name{};
    int left = 0;
    int top = 0;
    int width = 1800;
    QWidget* host = nullptr;
    Choices choices{};
    std::function<Integer&()> member{};       // where the value lives: member, or get and set
    std::function<int()> get{};
    std::function<void(int value)> set{};
};

class ValueList : public FormControl {
    Q_OBJECT
public:
    ValueList(EditorWindow& window, ValueListSpec desc);
    void Show() override;
    void SetChoices(Choices choices);
    QComboBox* List() const { return combo_; }

private:
    ValueListSpec desc_;
    QComboBox* combo_;
};

// Option buttons; the stored value decides which one is selected (none for
// an index outside them).
struct OptionsSpec {
    QString name{};                           // "optTimeType": buttons optTimeType_0 ..
    QStringList captions{};
    int left = 240;
    int top = 360;
    int width = 3000;
    int pitch = 300;                          // from one button to the next
    bool across = false;                      // side by side instead of one under the other
    QWidget* host = nullptr;
    std::function<int()> get{};               // the selected button's index
    std::function<void(int index)> set{};     // the user clicked a button
    bool choosesView = false;                 // true: the buttons choose what the window shows (a month,
                                              // a page), like a selector: no edit, pickers hidden, redrawn
};

class OptionGroup : public FormControl {
    Q_OBJECT
public:
    OptionGroup(EditorWindow& window, OptionsSpec desc);
    void Show() override;
    QRadioButton* Button(int index) const;
    int Count() const { return static_cast<int>(buttons_.size()); }

private:
    OptionsSpec desc_;
    std::vector<QRadioButton*> buttons_;
};

// A check box bound to a flag.
struct CheckSpec {
    QString name{};
    QString caption{};
    int left = 240;
    int top = 240;
    int width = 3600;
    QWidget* host = nullptr;
    std::function<bool()> get{};
    std::function<void(bool checked)> set{};
    // false: the box holds a setting of the program, not of the configuration
    // (the report's sections): a click only redraws, it is no edit.
    bool edit = true;
};

class CheckBox : public FormControl {
    Q_OBJECT
public:
    CheckBox(EditorWindow& window, CheckSpec desc);
    void Show() override;
    QCheckBox* Box() const { return box_; }

private:
    CheckSpec desc_;
    QCheckBox* box_;
};

// Check boxes over the bits of one stored value: box i is bit i.
struct BitBoxesSpec {
    QString name{};                           // "chkDays": boxes chkDays_0 ..
    QStringList captions{};
    int left = 240;
    int top = 360;
    int width = 1800;
    int pitch = 300;
    QWidget* host = nullptr;
    std::function<Integer&()> mask{};
    bool checkedIsClear = false;              // a checked box is a 0 bit
};

class BitBoxes : public FormControl {
    Q_OBJECT
public:
    BitBoxes(EditorWindow& window, BitBoxesSpec desc);
    void Show() override;
    QCheckBox* Box(int bit) const;

private:
    BitBoxesSpec desc_;
    std::vector<QCheckBox*> boxes_;
};

}  // namespace t2
