// The local input editors: input options (type and timed-on time), what an
// input does to relays and to groups, the daily active times and the pilot
// lamps of the inputs.
#pragma once

#include "EditorWindow.h"
#include "InputControl.h"

class QLabel;

namespace t2 {

// "Input Options".
class frmT2InputOptions : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2InputOptions(ProgramState& state, QWidget* parent = nullptr);

    EditorGrid& Grid() const { return grid_; }
    // Redraws every type and time label from the configuration.
    void ShowInputConfiguration() { Redraw(); }

private:
    EditorGrid& grid_;
};

// The input control windows: for one selected input, the action on every
// relay (or input or timer, by the input's type) or on every group. The
// input's type chooses the actions offered, and a stored code above the
// type's highest code is cut back to it whenever the input is shown.
class InputControlWindow : public EditorWindow {
    Q_OBJECT
public:
    enum class Targets { Relays, Groups };

    EditorGrid& Grid() const { return grid_; }
    QComboBox* InputList() const { return cboInput_.List(); }
    QLabel* TypeLabel() const { return lblInputType_; }
    QComboBox* ControlPicker() const;
    // The preset list of "Set Preset" inputs (relay window only, else null).
    QComboBox* PresetList() const;
    // The selected input (-1 when there is none).
    int Input() const { return cboInput_.Index(); }
    // The highest code of the type shown last (-1 before any known type).
    int MaxControlCode() const { return maxControlCode_; }

    // Cuts the selected input's codes back to its type's highest code and
    // redraws every action label (and the preset list).
    void ShowControl() { Redraw(); }
    void Redraw() override;

protected:
    InputControlWindow(ProgramState& state, const WindowInfo& info, Targets targets, QWidget* parent);
    void Refill() override;

private:
    // The input selection: type caption, action list, highest code and rows
    // from the selected input's type. A type the panel does not define keeps
    // the caption, rows and preset list of the type shown before and offers no
    // actions.
    void SelectInput();
    Integer& Code(int input, int row) const;
    void Clamp(int row);
    int RowCount() const;
    QString RowName(int row) const;
    QString RowToolTip(int row) const;

    Targets targets_;
    Selector& cboInput_;
    QLabel* lblInputType_;
    EditorGrid& grid_;
    int controlColumn_ = -1;
    ValueList* cboPreset_ = nullptr;
    // What the type shown last made of the window.
    bool known_ = false;                 // the selected input's type is one the panel defines
    int maxControlCode_ = -1;
    ControlRows relayRows_ = ControlRows::Relays;
    bool groupRows_ = true;
    bool presetShown_ = false;
};

// "Input To Relay Control".
class frmT2InputToRelayControl : public InputControlWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2InputToRelayControl(ProgramState& state, QWidget* parent = nullptr);
};

// "Input To Group Control".
class frmT2InputToGroupControl : public InputControlWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2InputToGroupControl(ProgramState& state, QWidget* parent = nullptr);
};

// "Input Active Times".
class frmT2InputActiveTimes : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2InputActiveTimes(ProgramState& state, QWidget* parent = nullptr);

    EditorGrid& Grid() const { return grid_; }
    // Redraws every enable and disable time label.
    void ShowEnableTimes() { Redraw(); }

private:
    EditorGrid& grid_;
};

// "Local Input Pilots".
class frmT2LocalInputPilots : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2LocalInputPilots(ProgramState& state, QWidget* parent = nullptr);

    EditorGrid& Grid() const { return grid_; }
    // Redraws every source and number label.
    void ShowPilotConfiguration() { Redraw(); }

private:
    EditorGrid& grid_;
};

}  // namespace t2
