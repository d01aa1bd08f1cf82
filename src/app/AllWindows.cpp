// Every built window, registered under its name. A window that is not listed
// here opens as a placeholder. Add one line (and its header) per window.
#include "WindowRegistry.h"

#include "frmT2About.h"
#include "frmT2Setup.h"

// Configuration editors (src/editors):

// Status windows (src/status):

namespace t2 {

void RegisterAllWindows()
{
    RegisterWindow("frmT2Setup", [](ProgramState& s) { return new frmT2Setup(s); });
    RegisterWindow("frmT2About", [](ProgramState& s) { return new frmT2About(s); });

    // Configuration editors (src/editors):

    // Status windows (src/status):
}

}  // namespace t2
