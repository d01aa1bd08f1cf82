// Every window of the editors library, for the one place that registers them.
#pragma once

#include "NameEditors.h"
#include "RelayWindows.h"
#include "TimerWindows.h"
#include "CalendarWindows.h"
