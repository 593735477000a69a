// The game loaded at another base: a copy of the image's bytes at that base, so that the probes,
// references and call sites a plugin rebases are found there, while the image at 0x400000 shows
// that nothing was read or patched at the link-time addresses.
#include <sys/mman.h>

#include <cerrno>
#include <cstring>
#include <set>

#include "standin/game.hpp"

#ifndef MAP_FIXED_NOREPLACE
#define MAP_FIXED_NOREPLACE 0x100000
#endif

namespace standin {
namespace {

// Bases mapped earlier in this process (an earlier session may have used the same one).
std::set<addr>& placed() {
  static std::set<addr> bases;
  return bases;
}

// A relative CALL or JMP copied elsewhere must still reach the same code.
void fix_branch(addr original, std::uint8_t* copy) {
  if (copy[0] != 0xE8 && copy[0] != 0xE9) return;
  std::uint32_t rel;
  std::memcpy(&rel, copy + 1, 4);
  const std::uint32_t target = original + 5 + rel;
  const std::uint32_t at = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(copy));
  rel = target - (at + 5);
  std::memcpy(copy + 1, &rel, 4);
}

}  // namespace

bool Game::place_copy_at(addr base, std::string& error) {
  const std::size_t size = image_end - image_base;
  void* const want = reinterpret_cast<void*>(base);
  const int flags = MAP_PRIVATE | MAP_ANONYMOUS | (placed().count(base) ? MAP_FIXED : MAP_FIXED_NOREPLACE);
  void* const got = mmap(want, size, PROT_READ | PROT_WRITE, flags, -1, 0);
  if (got != want) {
    error = std::string("cannot map a copy of the game at that base: ") +
            (got == MAP_FAILED ? std::strerror(errno) : "the range is in use");
    if (got != MAP_FAILED) munmap(got, size);
    return false;
  }
  placed().insert(base);
  std::uint8_t* const copy = static_cast<std::uint8_t*>(got);
  std::memcpy(copy + (image_begin - image_base), reinterpret_cast<const void*>(image_begin), image_end - image_begin);
  for (addr site : {site_53C077, site_53E293, site_5BF85B}) {
    fix_branch(site, copy + (site - image_base));
    fix_branch(site + 5, copy + (site + 5 - image_base));
  }
  mprotect(got, size, PROT_READ | PROT_EXEC);
  module_base_ = base;
  return true;
}

}  // namespace standin
