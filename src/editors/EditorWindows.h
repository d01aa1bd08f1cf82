// Every window of the editors library, for the one place that registers them.
#pragma once

#include "NameEditors.h"
#include "RelayWindows.h"
#include "AddOnModuleWindows.h"
#include "PresetWindows.h"
#include "SpecialFunctionWindows.h"
#include "frmT2Document.h"
