#pragma once
// The overlay's switch: the cheat word typed in the game, and the mouse-button latches.
namespace kestrow {

// Whether the zero-terminated, newest-first buffer `typed` ends the player's typing with
// "MODELSINFO" (any letter case). Reads at most ten bytes, none past the zero byte.
bool cheatWordTyped(const char* typed);

// Flips the overlay when the game's cheat buffer ends with "MODELSINFO" (any letter case).
void checkToggle();

// While the overlay is on: a latch is cleared while its button is up.
void resetLatches();

}  // namespace kestrow
