#include "tests/unit/game_sites.hpp"

#include <gtest/gtest.h>

#include <cstring>

extern "C" void standin_site_return();

namespace game_sites {
namespace {

std::uint32_t __attribute__((cdecl, force_align_arg_pointer)) test_routine() {
  log().push_back("routine");
  return routine_result;
}

std::uint32_t __attribute__((cdecl, force_align_arg_pointer)) test_other_routine() {
  log().push_back("other routine");
  return other_result;
}

}  // namespace

standin::Game& game() {
  static standin::Game* const running = [] {
    auto* g = new standin::Game;  // never destroyed: see the header
    std::string error;
    if (!g->start(error)) {
      ADD_FAILURE() << error;
      std::abort();
    }
    g->set_build(1001);
    return g;
  }();
  return *running;
}

std::vector<std::string>& log() {
  static std::vector<std::string> entries;
  return entries;
}

std::uintptr_t routine() { return reinterpret_cast<std::uintptr_t>(&test_routine); }
std::uintptr_t other_routine() { return reinterpret_cast<std::uintptr_t>(&test_other_routine); }

void write_call_site(std::uint32_t site, std::uintptr_t target) {
  game().image.write_call(site, reinterpret_cast<const void*>(target));
  game().image.write_jump(site + 5, reinterpret_cast<const void*>(&standin_site_return));
}

void write_indirect_call_site(std::uint32_t site, std::uint32_t slot, std::uintptr_t target) {
  game().image.mark_data(slot, 4);
  game().image.write_u32(slot, static_cast<std::uint32_t>(target));
  std::uint8_t code[6] = {0xFF, 0x15};
  std::memcpy(code + 2, &slot, 4);
  game().image.write(site, code, sizeof code);
  game().image.write_jump(site + 6, reinterpret_cast<const void*>(&standin_site_return));
}

std::vector<std::uint8_t> bytes(std::uint32_t site, std::size_t n) { return game().image.read(site, n); }

std::uint32_t run(std::uint32_t site) {
  const standin::SiteResult result = game().run_site(site, 0);
  for (const std::string& violation : result.violations) ADD_FAILURE() << violation;
  return result.eax;
}

}  // namespace game_sites
