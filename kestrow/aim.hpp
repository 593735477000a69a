#pragma once
namespace kestrow {

// After the game's routine at 0x53C077: the switch, then, while the overlay is on, the pick of the
// aimed object with its glow, label and click line.
void processAim();

}  // namespace kestrow
