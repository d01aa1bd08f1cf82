// Live states of the simulated panel for trying the status windows by hand:
// a demonstration state, a step of animation (run every second by
// tamberline-panelsim --animate) and one-line control commands (typed on the
// standard input of tamberline-panelsim --control):
//
//     relay N 0|1          group N 0|1          input N 0..3
//     device D IN RESP LEVEL (numbers may be 0x..)
//     display TEXT         lamps BITS           help
//
// Relays, groups and inputs are numbered 0..47, devices 0..32.
#pragma once

#include "SimulatedPanel.h"

#include <string>

namespace t2::sim {

// Some relays on, groups 0..5 and presets 0..5 in use, inputs in all four
// states, six answering network devices, a display with custom characters
// and two key lamps lit.
void ApplyDemoState(SimulatedPanel& panel);

// One step of the animation: a relay, an input, the device inputs and the
// light level move on, so that a watcher sees changes.
void AnimateStep(SimulatedPanel& panel, int step);

// Runs one control command. Returns "" when done, else the reason it was not
// (or the help text for "help").
std::string ControlCommand(SimulatedPanel& panel, const std::string& line);

}  // namespace t2::sim
