// Every window of the editors library, for the one place that registers them.
#pragma once

#include "LocalInputWindows.h"
#include "NameEditors.h"
#include "RelayWindows.h"
#include "VantelWindows.h"
