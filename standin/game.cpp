#include "standin/game.hpp"

#include <cstdio>
#include <cstring>

#include "standin/routines.hpp"

extern "C" void standin_enter(std::uint32_t site, std::uint32_t ecx, void* out);
extern "C" void standin_site_return();

namespace standin {
namespace {

Game* current_game = nullptr;

// Where the indirect forms of the map-page site keep their routine pointer. Its top byte is 0, so
// the byte after a five-byte CALL written over FF 15 reads as "00 D2" (add dl, dl), see below.
constexpr addr map_site_slot = 0xC17100;

struct SiteRegisters {
  std::uint32_t eax, esp, ebx, esi, edi, ebp, expected_esp;
};

struct Probe {
  addr at;
  std::uint8_t bytes[4];
};

}  // namespace

Game::Game() { current_game = this; }

Game::~Game() {
  if (current_game == this) current_game = nullptr;
}

Game& Game::current() { return *current_game; }

Game* Game::running() { return current_game; }

bool Game::start(std::string& error) {
  if (!image.acquire(error)) return false;
  image.mark_data(var_screen_width, 8);
  image.mark_data(map_site_slot, 4);
  image.mark_data(var_cheat_buffer, cheat_buffer_size);
  image.mark_data(var_camera, 0x100);
  write_code();
  image.seal();
  set_screen(640, 448);
  return true;
}

void Game::write_code() {
  install_routines(*this);
  for (addr site : {site_53C077, site_53E293, site_5BF85B}) {
    const void* routine = site == site_53C077   ? reinterpret_cast<const void*>(&event_routine_53C077)
                          : site == site_53E293 ? reinterpret_cast<const void*>(&event_routine_53E293)
                                                : reinterpret_cast<const void*>(&event_routine_5BF85B);
    image.write_call(site, routine);
    image.write_jump(site + 5, reinterpret_cast<const void*>(&standin_site_return));
  }
  install_world_routines(*this);
  // The object-drawing code: the two-byte instructions at 0x535FC3 and 0x535FC9 are what a
  // plugin turns into NOPs, so they (and the filler between) do nothing the call relies on.
  static const std::uint8_t before_call[10] = {0x8B, 0xC9, 0x8B, 0xC9, 0x8B, 0xC9, 0x8B, 0xC9, 0x8B, 0xC9};
  image.write(collector_nop1, before_call, sizeof before_call);
  image.write_call(collector_call, reinterpret_cast<const void*>(&draw_entity_routine));
  image.write_jump(collector_call + 5, reinterpret_cast<const void*>(&standin_site_return));
  set_map_site_form(SiteForm::call);
}

void Game::set_map_site_form(SiteForm form) {
  const void* routine = reinterpret_cast<const void*>(&map_page_routine);
  const addr s = site_map_page;
  switch (form) {
    case SiteForm::call:
      image.write_call(s, routine);
      image.write_jump(s + 5, reinterpret_cast<const void*>(&standin_site_return));
      return;
    case SiteForm::jump:  // runs sanely only once a plugin has turned it into a CALL
      image.write_jump(s, routine);
      image.write_jump(s + 5, reinterpret_cast<const void*>(&standin_site_return));
      return;
    case SiteForm::call_indirect:
    case SiteForm::jump_indirect: {
      // FF 15|25 slot, then D2 F9, then the way back. Unpatched, the six-byte form is followed
      // by "D2 F9" (sar cl, cl); with a five-byte CALL over it, the slot's top byte 00 and D2
      // make "add dl, dl" and F9 is "stc". Both paths meet at s + 8 and touch no result register.
      const std::uint32_t pointer = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(routine));
      image.write_u32(map_site_slot, pointer);
      const std::uint8_t modrm = form == SiteForm::call_indirect ? 0x15 : 0x25;
      std::uint8_t code[8] = {0xFF, modrm, 0, 0, 0, 0, 0xD2, 0xF9};
      std::memcpy(code + 2, &map_site_slot, 4);
      image.write(s, code, sizeof code);
      image.write_jump(s + 8, reinterpret_cast<const void*>(&standin_site_return));
      return;
    }
    case SiteForm::undecodable: {
      // mov eax, 0x00000101: no branch at all.
      const std::uint8_t code[5] = {0xB8, 0x01, 0x01, 0x00, 0x00};
      image.write(s, code, sizeof code);
      image.write_jump(s + 5, reinterpret_cast<const void*>(&standin_site_return));
      return;
    }
  }
}

void Game::set_build(int code) {
  static const Probe probes[] = {
      {0x401000, {0x55, 0x8B, 0xEC, 0x53}},  // 1001
      {0x401000, {0xE9, 0x7B, 0x19, 0x16}},  // 1002
      {0x8245BC, {0xBF, 0x94, 0x00, 0x00}},  // 1011
      {0x8252FC, {0xBF, 0x94, 0x00, 0x00}},  // 1101
      {0x82533C, {0xBF, 0x94, 0x00, 0x00}},  // 1111
      {0x858D51, {0x33, 0xF6, 0x39, 0x35}},  // 3200
      {0x858C61, {0x33, 0xF6, 0x39, 0x35}},  // 3210
  };
  static const int codes[] = {1001, 1002, 1011, 1101, 1111, 3200, 3210};
  const std::uint8_t filler[4] = {0xCC, 0xCC, 0xCC, 0xCC};
  // A smaller executable has no bytes at the later probes.
  for (const Probe& p : probes)
    if (image.holds(p.at, 4)) image.write(p.at, filler, 4);
  for (int i = 0; i < 7; ++i)
    if (codes[i] == code && image.holds(probes[i].at, 4)) image.write(probes[i].at, probes[i].bytes, 4);
}

void Game::set_screen(std::int32_t width, std::int32_t height) {
  if (!image.holds(var_screen_width, 8)) return;
  image.write_u32(var_screen_width, static_cast<std::uint32_t>(width));
  image.write_u32(var_screen_height, static_cast<std::uint32_t>(height));
}

void Game::type(const std::string& text) {
  if (!image.holds(var_cheat_buffer, cheat_buffer_size)) return;
  // The game keeps the newest key first.
  char* buffer = reinterpret_cast<char*>(var_cheat_buffer);
  for (char c : text) {
    std::memmove(buffer + 1, buffer, cheat_buffer_size - 2);
    buffer[0] = c;
    buffer[cheat_buffer_size - 1] = 0;
  }
}

SiteResult Game::run_site(addr site, std::uint32_t ecx) {
  SiteRegisters regs{};
  standin_enter(site, ecx, &regs);
  SiteResult result;
  result.eax = regs.eax;
  auto check = [&](const char* name, std::uint32_t got, std::uint32_t want) {
    if (got == want) return;
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s is 0x%08X after the call, was 0x%08X", name, got, want);
    result.violations.push_back(buf);
  };
  check("ESP", regs.esp, regs.expected_esp);
  check("EBX", regs.ebx, 0xB0B0B0B0);
  check("ESI", regs.esi, 0x51515151);
  check("EDI", regs.edi, 0xD1D1D1D1);
  check("EBP", regs.ebp, 0xBEBEBEBE);
  return result;
}

SiteResult Game::run_map_page() {
  return run_site(site_map_page, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&menu)));
}

SiteResult Game::run_collector(const EntityRecord* entity) {
  return run_site(collector_nop1, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(entity)));
}

std::string Game::name_of(const void* pointer) const {
  if (pointer == &menu) return "menu";
  if (pointer == nullptr) return "null";
  if (pointer == reinterpret_cast<const void*>(var_camera)) return "camera";
  const std::string name = world.name_of(pointer);
  if (!name.empty()) return name;
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(pointer)));
  return buf;
}

}  // namespace standin
