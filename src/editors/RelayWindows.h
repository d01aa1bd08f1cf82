// The relay editors: output options (timer type and power-on state of every
// relay) and relay grouping (which relays belong to a group).
#pragma once

#include "EditorWindow.h"

namespace t2 {

// "Relay Output Options".
class frmT2RelayOutputOptions : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2RelayOutputOptions(ProgramState& state, QWidget* parent = nullptr);

    EditorGrid& Grid() const { return grid_; }
    // Redraws every option label from the configuration.
    void ShowRelayConfiguration() { Redraw(); }

private:
    EditorGrid& grid_;
};

// "Relay Grouping".
class frmT2RelayGrouping : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2RelayGrouping(ProgramState& state, QWidget* parent = nullptr);

    EditorGrid& Grid() const { return grid_; }
    QComboBox* GroupList() const { return cboGroup_.List(); }
    // Redraws every membership mark of the selected group.
    void ShowGroupConfiguration() { Redraw(); }

private:
    Selector& cboGroup_;
    EditorGrid& grid_;
};

}  // namespace t2
