#pragma once
// Named records of the game addresses this plugin has redirected, and the install that makes them.
#include <cstdint>
#include <map>
#include <string>

#include "hostlink/injector/hooking.hpp"

namespace mapcoords {

struct named_hook {
  std::string name;
  std::uint32_t previous;     // where the address led before the install
  std::uint32_t replacement;  // the plugin routine it leads to now
  bool pointer_slot;          // the address held a routine pointer, not a CALL
};

// Keyed by game address; an entry is never replaced by a later install.
using named_hook_registry = std::map<std::uint32_t, named_hook>;

named_hook_registry& registry();

// The record of exactly `address`, or null.
const named_hook* find_named_hook(std::uint32_t address);

// One redirected game address. Installing decodes where the address led, points it at the
// replacement and records both; destroying the install (at unload) puts the game's bytes back,
// so no call leads into a plugin that is gone.
class named_hook_install {
 public:
  named_hook_install(std::uint32_t address, std::uintptr_t replacement, const char* name, bool pointer_slot);
  ~named_hook_install();
  named_hook_install(const named_hook_install&) = delete;
  named_hook_install& operator=(const named_hook_install&) = delete;

 private:
  std::uint32_t address_;
  bool pointer_slot_;
  bool patched_ = false;
  std::uint32_t old_slot_value_ = 0;
  injector::scoped_basic<5> saved_call_;
};

}  // namespace mapcoords
