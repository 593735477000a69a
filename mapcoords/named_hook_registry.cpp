#include "mapcoords/named_hook_registry.hpp"

#include <cstring>

namespace mapcoords {

named_hook_registry& registry() {
  static named_hook_registry hooks;
  return hooks;
}

const named_hook* find_named_hook(std::uint32_t address) {
  const named_hook_registry& hooks = registry();
  const auto it = hooks.lower_bound(address);
  return it != hooks.end() && it->first == address ? &it->second : nullptr;
}

named_hook_install::named_hook_install(std::uint32_t address, std::uintptr_t replacement, const char* name,
                                       bool pointer_slot)
    : address_(address), pointer_slot_(pointer_slot) {
  const std::uint32_t target = static_cast<std::uint32_t>(replacement);
  std::uint32_t previous;
  if (pointer_slot) {
    // The slot must already be writable: a plain read and a plain write.
    previous = injector::peek<std::uint32_t>(address);
    old_slot_value_ = previous;
    std::memcpy(reinterpret_cast<void*>(static_cast<std::uintptr_t>(address)), &target, sizeof target);
  } else {
    previous = static_cast<std::uint32_t>(injector::peek_call_target(address));
    // An instruction of no known form is left alone: the game's own code keeps working, and
    // without a record the replacement would have nothing to call.
    if (previous == 0) return;
    saved_call_.save(address, 5, true);
    injector::write_memory<std::uint8_t>(address, injector::opcode::call_rel32);
    injector::write_memory<std::uint32_t>(address + 1, target - (address + 5));
  }
  patched_ = true;
  registry().try_emplace(address, named_hook{name, previous, target, pointer_slot});
}

named_hook_install::~named_hook_install() {
  if (!patched_) return;
  if (pointer_slot_)
    std::memcpy(reinterpret_cast<void*>(static_cast<std::uintptr_t>(address_)), &old_slot_value_,
                sizeof old_slot_value_);
  // the saved CALL bytes go back as saved_call_ is destroyed
}

}  // namespace mapcoords
