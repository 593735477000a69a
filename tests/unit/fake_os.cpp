#include "tests/unit/fake_os.hpp"

#include "hostlink/os/os.hpp"

namespace fake_os {

State& state() {
  static State s;
  return s;
}

void reset() { state() = State{}; }

}  // namespace fake_os

namespace hostlink::os {

bool lift_protection(std::uintptr_t address, std::size_t size, std::uint32_t& previous) {
  auto& s = fake_os::state();
  s.calls.push_back({address, size, 0x40});
  previous = s.current_protection;
  return !s.fail_lifts;
}

void put_back_protection(std::uintptr_t address, std::size_t size, std::uint32_t previous) {
  fake_os::state().calls.push_back({address, size, previous});
}

bool is_readable(std::uintptr_t address, std::size_t size) {
  auto& s = fake_os::state();
  return address >= s.readable_begin && address + size <= s.readable_end;
}

std::uintptr_t main_module_base() { return fake_os::state().module_base; }

std::int16_t key_state(int virtual_key) { return fake_os::state().keys[virtual_key & 0xFF]; }

}  // namespace hostlink::os
