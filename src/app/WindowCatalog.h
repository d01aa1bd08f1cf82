// The window catalog: every window of the program, once, in window-list order.
#pragma once

namespace t2 {

// Registers the catalog (WindowRegistry.h). Safe to call more than once.
void RegisterAllWindows();

}  // namespace t2
