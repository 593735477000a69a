#pragma once
// Call sites of our own in the stand-in's game image, for hook and event tests that must run
// patched game code. The game lives for the whole test program (build 1001, base 0x400000):
// hooks kept until exit write their bytes back into its image.
#include <cstdint>
#include <string>
#include <vector>

#include "standin/game.hpp"

namespace game_sites {

standin::Game& game();

// What the routines called from the test sites did, in order ("routine", or what tests add).
std::vector<std::string>& log();

// The routine a test site calls before any hook: logs "routine" and returns routine_result.
constexpr std::uint32_t routine_result = 0x89ABCDEF;
std::uintptr_t routine();
// A second routine ("other routine", returning other_result) to repoint a site.
constexpr std::uint32_t other_result = 0x13572468;
std::uintptr_t other_routine();

// Writes "CALL target; JMP back to the runner" at `site`.
void write_call_site(std::uint32_t site, std::uintptr_t target);
// Writes "CALL [slot]; JMP back", six bytes, with the slot holding `target`.
void write_indirect_call_site(std::uint32_t site, std::uint32_t slot, std::uintptr_t target);

std::vector<std::uint8_t> bytes(std::uint32_t site, std::size_t n = 5);

// Runs the site as the game does; fails the test on a broken calling rule.
std::uint32_t run(std::uint32_t site);

}  // namespace game_sites
