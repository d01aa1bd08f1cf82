#include "PresetWindows.h"

namespace t2 {

const WindowInfo frmT2EditPresets::Info{"frmT2EditPresets", "Edit Presets"};

frmT2EditPresets::frmT2EditPresets(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent),
      cboPresetNumber_(AddSelector({.name = "cboPresetNumber", .left = 240, .top = 300,
                                    .entries = [this] { return NameList(&PanelConfig::PresetNames); }})),
      grid_(AddGrid({.left = 240, .top = 840}))
{
    // The selected preset; -1 while the list is empty.
    auto preset = [this] { return cboPresetNumber_.Index(); };
    grid_.Names(ItemNames("lblRelayName", &PanelConfig::RelayNames, "Relay "));
    grid_.RowsShown([this] { return IoCount(); });
    // 0 leaves the relay as it is, 1 switches it on, 2 off; a click steps
    // "-" -> "On" -> "Off" -> "-" (a double click steps twice).
    grid_.AddState({.label = "lblRelayControl", .offset = 1680, .width = 720,
                    .looks = {{"-", QColor(0xC0, 0xC0, 0xC0)}, {"On", QColor(0xFF, 0xFF, 0xFF)},
                              {"Off", QColor(0x80, 0x80, 0x80)}},
                    .look = [this, preset](int r) {
                        const int p = preset();
                        return p < 0 ? -1 : int(Config().PresetRelayControl(p, r));
                    },
                    .click = [this, preset](int r) {
                        const int p = preset();
                        if (p < 0) return;
                        Integer& v = Config().PresetRelayControl(p, r);
                        v = static_cast<Integer>((v + 1) % 3);
                    }});
    grid_.CopyGesture([this, preset](int shown) {
        const int p = preset();
        if (p < 0) return;
        PanelConfig& c = Config();
        for (int r = 1; r < shown; ++r) c.PresetRelayControl(p, r) = c.PresetRelayControl(p, 0);
    });
    SetClientSize(grid_.RightTwips() + 240, grid_.BottomTwips() + 300);
}

}  // namespace t2
