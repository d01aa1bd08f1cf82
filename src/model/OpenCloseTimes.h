// The site's open and close times: quarter hours after midnight (0 is
// 12:00 AM, 95 is 11:45 PM) for each weekday and, optionally, for single
// dates. A single date holds 100 in place of a time when it has no hours of
// its own; any value above 99 shows as unset ("--:--"), but only exactly 100
// counts as unset when the other time of the date is set.
#pragma once

#include "PanelConfig.h"

namespace t2 {

constexpr Integer UnsetDateTime = 100;

inline bool ShownAsUnset(int value) { return value > 99; }

// Stores a single date's open (or close) time as a user picks it: the value
// UnsetDateTime unsets both times of the date; a time set while the other
// time is unset sets the other one to 12:00 AM, so the date has both.
// month 0..11, day index 0..30; nothing happens outside them.
void StoreSingleDateTime(PanelConfig& c, int month, int day, bool open, int value);

}  // namespace t2
