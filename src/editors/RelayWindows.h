// The relay editors: output options (timer type and power-on state of every
// relay) and relay grouping (which relays belong to a group).
#pragma once

#include "EditorWindow.h"

#include <QStringList>

class QComboBox;

namespace t2 {

class EditorGrid;

// "Relay Output Options".
class frmT2RelayOutputOptions : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2RelayOutputOptions(ProgramState& state, QWidget* parent = nullptr);

    EditorGrid& Grid() const { return grid_; }
    // Redraws every option label from the configuration.
    void ShowRelayConfiguration();

protected:
    void Refill() override;

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
    QComboBox* GroupList() const { return cboGroup_; }
    // Redraws every membership mark of the selected group.
    void ShowGroupConfiguration();

protected:
    void Refill() override;

private:
    int SelectedGroup() const;

    QComboBox* cboGroup_;
    EditorGrid& grid_;
};

}  // namespace t2
