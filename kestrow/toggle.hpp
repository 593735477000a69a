#pragma once
// The overlay's switch: the cheat word typed in the game, and the mouse-button latches.
namespace kestrow {

// Flips the overlay when the game's cheat buffer ends with "MODELSINFO" (any letter case).
void checkToggle();

// While the overlay is on: a latch is cleared while its button is up.
void resetLatches();

}  // namespace kestrow
