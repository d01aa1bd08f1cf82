// How the panel keeps names, and names compared as the panel holds them.
//
// The panel keeps the panel name as 18 bytes and every relay, group, input,
// timer, preset and Vantel device name as 10: a shorter name padded with
// spaces, a longer one cut. An empty panel name goes to the panel as
// "VEL TAMBERLINE II ". A name read back from the panel therefore always has
// its full length, trailing spaces included.
#pragma once

#include "PanelConfig.h"

#include <cstddef>

namespace t2 {

constexpr std::size_t PanelNameBytes = 18;
constexpr std::size_t ItemNameBytes = 10;
// What the panel shows as its name while the configuration has none.
inline constexpr char DefaultPanelName[] = "VEL TAMBERLINE II ";

// The name as the panel holds it: cut or padded with spaces to length.
Bytes NameAsPanelHolds(const Bytes& name, std::size_t length);
// The panel name as the panel holds it (an empty one is the default).
Bytes PanelNameAsPanelHolds(const Bytes& name);

// A name in the form a comparison with what the panel holds sees it: the
// spaces the panel pads with are no part of it (trailing spaces dropped), an
// empty panel name is the default the panel is given. What the panel cuts off
// a longer name stays: a name the panel cannot hold whole differs from the
// one it gives back ("PARKING LOT EAST" from "PARKING LO"), which is a loss.
Bytes NameAsPanelCompares(const Bytes& name);
// Every name of the configuration (panel, items, devices) in that form.
void NamesAsPanelCompares(PanelConfig& config, VantelDevices& devices);

}  // namespace t2
