// Every window of the editors library, for the one place that registers them.
#pragma once

#include "AddOnModuleWindows.h"
#include "CalendarWindows.h"
#include "LocalInputWindows.h"
#include "NameEditors.h"
#include "PresetWindows.h"
#include "RelayWindows.h"
#include "SpecialFunctionWindows.h"
#include "TimerScheduleWindow.h"
#include "TimerWindows.h"
#include "VantelWindows.h"
#include "frmT2Document.h"
