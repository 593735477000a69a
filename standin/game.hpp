#pragma once
// The stand-in game: the game's image with its code, routines and variables, the state the
// routines read, and the means to run its call sites the way the game does.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "standin/image.hpp"
#include "standin/trace.hpp"
#include "standin/world.hpp"

namespace standin {

// The forms the map-page call site can be given before a plugin loads.
enum class SiteForm { call, jump, call_indirect, jump_indirect, undecodable };

// What the code reached through a call site left in the registers.
struct SiteResult {
  std::uint32_t eax = 0;
  std::vector<std::string> violations;  // broken calling rules, empty when all held
};

// The game's records as the stand-in lays them out.
struct MenuObject {
  std::uint8_t unknown[0x70];
  float map_x;  // +0x70
  float map_y;  // +0x74
};

class Game {
 public:
  Game();
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  static Game& current();  // the game of this process; routines reach it here
  static Game* running();  // the same, or null before a game starts

  bool start(std::string& error);

  // Build identity: writes the probe bytes of a build (1001, 1002, 1011, 1101, 1111, 3200, 3210, 0).
  void set_build(int code);
  void set_screen(std::int32_t width, std::int32_t height);
  void set_map_site_form(SiteForm form);
  void type(const std::string& text);
  void set_button(int virtual_key, bool down);
  std::int16_t key_state(int virtual_key) const;

  // Runs the code at a call site with ECX = `ecx`, as the game does, and checks the rules.
  SiteResult run_site(addr site, std::uint32_t ecx);
  SiteResult run_map_page();
  // Runs the object-drawing code at 0x535FC3 for one object, as the game does for each it draws.
  SiteResult run_collector(const EntityRecord* entity);

  std::string name_of(const void* pointer) const;
  std::uint32_t module_base() const { return module_base_; }
  // i386 only: maps a copy of the image at `base` (the game loaded elsewhere) and reports that base
  // as the executable's from now on. The copy's call sites still reach the stand-in's routines.
  bool place_copy_at(addr base, std::string& error);

  GameImage image;
  Trace trace;
  MenuObject menu{};
  World world;
  std::uint32_t map_routine_result = 0x5A5A5A01;  // junk in the upper bits on purpose
  std::uint32_t event_routine_result = 0xC0DE0000;

 private:
  void write_code();
  std::array<std::int16_t, 256> keys_{};
  std::uint32_t module_base_ = image_base;
};

}  // namespace standin
