#pragma once
// A platform layer for unit tests: ordinary memory, every protection call recorded, failures on demand.
#include <cstdint>
#include <string>
#include <vector>

namespace fake_os {

struct ProtectCall {
  std::uintptr_t address;
  std::size_t size;
  std::uint32_t protection;  // 0x40 for a lift, else the protection put back
};

struct State {
  std::vector<ProtectCall> calls;
  bool fail_lifts = false;
  std::uint32_t current_protection = 0x20;  // PAGE_EXECUTE_READ
  std::uintptr_t module_base = 0x400000;
  std::int16_t keys[256] = {};
  std::uintptr_t readable_begin = 0, readable_end = ~std::uintptr_t{0};
};

State& state();
void reset();

}  // namespace fake_os
