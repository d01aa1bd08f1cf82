// Every built window, registered under its name. A window that is not listed
// here opens as a placeholder. Add one line (and its header) per window.
#include "WindowRegistry.h"

#include "frmT2About.h"
#include "frmT2Connect.h"
#include "frmT2Setup.h"

// Configuration editors (src/editors):
#include "EditorWindows.h"

// Status windows (src/status):
#include "StatusWindows.h"

namespace t2 {

void RegisterAllWindows()
{
    RegisterWindow("frmT2Setup", [](ProgramState& s) { return new frmT2Setup(s); });
    RegisterWindow("frmT2About", [](ProgramState& s) { return new frmT2About(s); });
    RegisterWindow("frmT2Connect", [](ProgramState& s) { return new frmT2Connect(s); });

    // Configuration editors (src/editors):
    RegisterWindow("frmT2RelayOutputOptions", [](ProgramState& s) { return new frmT2RelayOutputOptions(s); });
    RegisterWindow("frmT2RelayGrouping", [](ProgramState& s) { return new frmT2RelayGrouping(s); });
    RegisterWindow("frmT2EditPanelName", [](ProgramState& s) { return new frmT2EditPanelName(s); });
    RegisterWindow("frmT2EditRelayNames", [](ProgramState& s) { return new frmT2EditRelayNames(s); });
    RegisterWindow("frmT2EditGroupNames", [](ProgramState& s) { return new frmT2EditGroupNames(s); });
    RegisterWindow("frmT2EditInputNames", [](ProgramState& s) { return new frmT2EditInputNames(s); });
    RegisterWindow("frmT2EditTimerNames", [](ProgramState& s) { return new frmT2EditTimerNames(s); });
    RegisterWindow("frmT2EditPresetNames", [](ProgramState& s) { return new frmT2EditPresetNames(s); });
    RegisterWindow("frmT2EditVantelNames", [](ProgramState& s) { return new frmT2EditVantelNames(s); });

    // Status windows (src/status):
    RegisterWindow("frmT2RelayStatus", [](ProgramState& s) { return new frmT2RelayStatus(s); });
    RegisterWindow("frmT2RelayGroupStatus", [](ProgramState& s) { return new frmT2RelayGroupStatus(s); });
    RegisterWindow("frmT2InputStatus", [](ProgramState& s) { return new frmT2InputStatus(s); });
    RegisterWindow("frmT2VantelStatus", [](ProgramState& s) { return new frmT2VantelStatus(s); });
    RegisterWindow("frmT2CapturePresets", [](ProgramState& s) { return new frmT2CapturePresets(s); });
    RegisterWindow("frmT2VirtualKeypad", [](ProgramState& s) { return new frmT2VirtualKeypad(s); });
    RegisterWindow("frmT2SystemDiagnostic", [](ProgramState& s) { return new frmT2SystemDiagnostic(s); });
    RegisterWindow("frmT2ForceTimers", [](ProgramState& s) { return new frmT2ForceTimers(s); });
}

}  // namespace t2
