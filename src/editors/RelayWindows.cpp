#include "RelayWindows.h"

#include "CodeTexts.h"

namespace t2 {

const WindowInfo frmT2RelayOutputOptions::Info{"frmT2RelayOutputOptions", "Relay Output Options"};

frmT2RelayOutputOptions::frmT2RelayOutputOptions(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent), grid_(AddGrid({.left = 120, .top = 420}))
{
    grid_.Names(ItemNames("lblRelayName", &PanelConfig::RelayNames, "Relay "));
    grid_.RowsShown([this] { return IoCount(); });
    grid_.AddPicker({.label = "lblTimerType", .picker = "cboNewTimerType", .offset = 1335, .width = 1050,
                     .choices = Choices::Of(RelayTimerTypeTexts),
                     .member = [this](int r) -> Integer& { return Config().RelayTimerType[r]; }});
    grid_.AddPicker({.label = "lblPowerOnType", .picker = "cboNewPowerOnType", .offset = 2420, .width = 1080,
                     .choices = Choices::Of(RelayPowerOnTypeTexts),
                     .member = [this](int r) -> Integer& { return Config().RelayPowerOnType[r]; }});
    grid_.AddHeading({.label = "lblTimerTypeHeater", .text = "Timers", .offset = 1335, .top = 90});
    grid_.AddHeading({.label = "lblPowerUpHeader", .text = "PowerOn", .offset = 2420, .top = 90});
    grid_.CopyGesture([this](int shown) {
        PanelConfig& c = Config();
        for (int r = 1; r < shown; ++r) {
            c.RelayTimerType[r] = c.RelayTimerType[0];
            c.RelayPowerOnType[r] = c.RelayPowerOnType[0];
        }
    });
    SetClientSize(grid_.RightTwips() + 120, grid_.BottomTwips() + 180);
}

// ---------------------------------------------------------------------------

const WindowInfo frmT2RelayGrouping::Info{"frmT2RelayGrouping", "Relay Grouping"};

frmT2RelayGrouping::frmT2RelayGrouping(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent),
      cboGroup_(AddSelector({.name = "cboGroup", .entries = [this] { return NameList(&PanelConfig::GroupNames); }})),
      grid_(AddGrid({.left = 480, .top = 960}))
{
    // The selected group; -1 while the list is empty.
    auto group = [this] { return cboGroup_.Index(); };
    grid_.Names(ItemNames("lblRelayName", &PanelConfig::RelayNames, "Relay "));
    grid_.RowsShown([this] { return IoCount(); });
    grid_.AddState({.label = "lblInclude", .offset = 1335, .width = 600,
                    .looks = {{"No", QColor(128, 128, 128)}, {"Yes", QColor(255, 255, 255)}},
                    .look = [this, group](int r) {
                        const int g = group();
                        return g < 0 ? -1 : (Config().GroupRelays(g, r) != 0 ? 1 : 0);
                    },
                    .click = [this, group](int r) {
                        const int g = group();
                        if (g < 0) return;
                        // As a flag: 0 and -1 swap, and any other non-zero
                        // value (from a file) counts as true and becomes 0.
                        Integer& v = Config().GroupRelays(g, r);
                        v = v != 0 ? False : True;
                    }});
    grid_.CopyGesture([this, group](int shown) {
        const int g = group();
        if (g < 0) return;
        PanelConfig& c = Config();
        for (int r = 1; r < shown; ++r) c.GroupRelays(g, r) = c.GroupRelays(g, 0);
    });
    SetClientSize(grid_.RightTwips() + 480, grid_.BottomTwips() + 300);
}

}  // namespace t2
