#pragma once
// Which build of the game is running, where its executable lies, and how its link-time addresses
// (image base 0x400000) become run-time addresses.
#include <cstdint>
#include <initializer_list>

namespace plugin {

constexpr std::uint32_t host_image_base = 0x400000;

// The running build: 1001, 1002, 1011, 1101, 1111, 3200, 3210, or 0 when no probe matched.
// Probed once; later calls read the cached value and touch no game memory.
std::int32_t host_version_code();

// Base of the process's main executable (the game, not this plugin), asked once.
std::uint32_t module_base();

// Wrapping 32-bit arithmetic: any value is accepted, rebase(0) is module_base() - 0x400000.
constexpr std::uint32_t rebase_from(std::uint32_t base, std::uint32_t address) {
  return static_cast<std::uint32_t>(address - host_image_base + base);
}

inline std::uint32_t rebase(std::uint32_t address) { return rebase_from(module_base(), address); }

// One link-time address of a game item in one build.
struct host_address {
  std::int32_t code;
  std::uint32_t address;
};

// The rebased address listed for the running build, or rebase(0) when the build is not listed.
std::uint32_t select_host_address(std::initializer_list<host_address> list);

namespace detail {
// The probe sequence itself, uncached; host_version_code() runs it once.
std::int32_t probe_host_version();
}  // namespace detail

}  // namespace plugin
