// i386 Linux flavour: real mprotect with Windows' semantics; the previous protection is read from
// /proc/self/maps, since mprotect cannot report it. Module base and key state come from the
// stand-in game, which plays the part of the game and of Windows' input state.
#include "hostlink/os/os.hpp"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>

extern "C" std::uint32_t standin_module_base();
extern "C" std::int16_t standin_key_state(int virtual_key);

namespace hostlink::os {
namespace {

// Windows page protection values, so that callers see the same numbers in both flavours.
constexpr std::uint32_t page_noaccess = 0x01, page_readonly = 0x02, page_readwrite = 0x04,
                        page_execute = 0x10, page_execute_read = 0x20, page_execute_readwrite = 0x40;

std::uint32_t to_windows(int prot) {
  const bool r = prot & PROT_READ, w = prot & PROT_WRITE, x = prot & PROT_EXEC;
  if (x) return w ? page_execute_readwrite : (r ? page_execute_read : page_execute);
  if (w) return page_readwrite;
  return r ? page_readonly : page_noaccess;
}

int to_posix(std::uint32_t protection) {
  switch (protection) {
    case page_readonly: return PROT_READ;
    case page_readwrite: return PROT_READ | PROT_WRITE;
    case page_execute: return PROT_EXEC;
    case page_execute_read: return PROT_READ | PROT_EXEC;
    case page_execute_readwrite: return PROT_READ | PROT_WRITE | PROT_EXEC;
    default: return PROT_NONE;
  }
}

struct Mapping {
  std::uintptr_t begin = 0, end = 0;
  int prot = PROT_NONE;
};

// The mapping that holds `address`, or an empty one when none does.
Mapping find_mapping(std::uintptr_t address) {
  Mapping found;
  FILE* maps = std::fopen("/proc/self/maps", "r");
  if (!maps) return found;
  char line[512];
  while (std::fgets(line, sizeof line, maps)) {
    unsigned long long begin = 0, end = 0;
    char perms[5] = {};
    if (std::sscanf(line, "%llx-%llx %4s", &begin, &end, perms) != 3) continue;
    if (address < begin || address >= end) continue;
    found.begin = static_cast<std::uintptr_t>(begin);
    found.end = static_cast<std::uintptr_t>(end);
    found.prot = (perms[0] == 'r' ? PROT_READ : 0) | (perms[1] == 'w' ? PROT_WRITE : 0) |
                 (perms[2] == 'x' ? PROT_EXEC : 0);
    break;
  }
  std::fclose(maps);
  return found;
}

void page_span(std::uintptr_t address, std::size_t size, std::uintptr_t& begin, std::size_t& length) {
  const std::uintptr_t page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  begin = address & ~(page - 1);
  const std::uintptr_t end = (address + (size ? size : 1) + page - 1) & ~(page - 1);
  length = end - begin;
}

}  // namespace

bool lift_protection(std::uintptr_t address, std::size_t size, std::uint32_t& previous) {
  const Mapping mapping = find_mapping(address);
  if (mapping.end == 0) return false;
  previous = to_windows(mapping.prot);
  std::uintptr_t begin;
  std::size_t length;
  page_span(address, size, begin, length);
  return mprotect(reinterpret_cast<void*>(begin), length, PROT_READ | PROT_WRITE | PROT_EXEC) == 0;
}

void put_back_protection(std::uintptr_t address, std::size_t size, std::uint32_t previous) {
  std::uintptr_t begin;
  std::size_t length;
  page_span(address, size, begin, length);
  mprotect(reinterpret_cast<void*>(begin), length, to_posix(previous));
}

bool is_readable(std::uintptr_t address, std::size_t size) {
  const std::uintptr_t end = address + size;
  while (address < end) {
    const Mapping mapping = find_mapping(address);
    if (mapping.end == 0 || !(mapping.prot & PROT_READ)) return false;
    address = mapping.end;
  }
  return true;
}

std::uintptr_t main_module_base() { return standin_module_base(); }

std::int16_t key_state(int virtual_key) { return standin_key_state(virtual_key); }

}  // namespace hostlink::os
