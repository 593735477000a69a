#pragma once
#include <cstdint>

#include "hostlink/host/game.hpp"

namespace mapcoords {

// Takes the place of the game's call at the map page: runs the game's routine first, then prints
// the menu's map coordinates. Same calling form and 8-bit result as the routine it displaces.
std::uint8_t HOST_THISCALL HOST_ENTRY map_readout(host::HostMenu* menu);

// The readout text: "X: %5.0f  Y: %5.0f", cut to 48 characters.
void format_readout(char (&text)[50], float x, float y);

}  // namespace mapcoords
