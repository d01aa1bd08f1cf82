// "Edit Presets": what each of the 48 presets does to every relay, one preset
// at a time.
#pragma once

#include "EditorWindow.h"

namespace t2 {

class frmT2EditPresets : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2EditPresets(ProgramState& state, QWidget* parent = nullptr);

    EditorGrid& Grid() const { return grid_; }
    QComboBox* PresetList() const { return cboPresetNumber_.List(); }
    // Redraws every state label of the selected preset.
    void ShowRelayControl() { Redraw(); }

private:
    Selector& cboPresetNumber_;
    EditorGrid& grid_;
};

}  // namespace t2
