#include "hostlink/plugin/host_version.hpp"

#include "hostlink/host/game.hpp"
#include "hostlink/injector/memory.hpp"
#include "hostlink/os/os.hpp"

namespace plugin {
namespace {

struct Probe {
  std::uint32_t at;
  std::uint32_t value;  // little-endian word read from the game
  std::int32_t code;
};

// In this order; the first match wins. 0x401000 is read twice on purpose.
constexpr Probe probes[] = {
    {host::probe::codeStart, 0x53EC8B55, 1001}, {host::probe::codeStart, 0x16197BE9, 1002},
    {host::probe::at8245BC, 0x000094BF, 1011},  {host::probe::at8252FC, 0x000094BF, 1101},
    {host::probe::at82533C, 0x000094BF, 1111},  {host::probe::at858D51, 0x3539F633, 3200},
    {host::probe::at858C61, 0x3539F633, 3210},
};

}  // namespace

namespace detail {

std::int32_t probe_host_version() {
  for (const Probe& probe : probes) {
    const std::uint32_t at = rebase(probe.at);
    // A smaller, unknown executable may not reach the address: that is no match, not a fault.
    if (!hostlink::os::is_readable(at, sizeof(std::uint32_t))) continue;
    if (injector::read_memory<std::uint32_t>(at) == probe.value) return probe.code;
  }
  return 0;
}

}  // namespace detail

std::int32_t host_version_code() {
  static const std::int32_t code = detail::probe_host_version();
  return code;
}

std::uint32_t module_base() {
  static const std::uint32_t base = static_cast<std::uint32_t>(hostlink::os::main_module_base());
  return base;
}

std::uint32_t select_host_address(std::initializer_list<host_address> list) {
  const std::int32_t running = host_version_code();
  std::uint32_t address = 0;
  for (const host_address& entry : list) {
    if (entry.code == running) {
      address = entry.address;
      break;
    }
  }
  return rebase(address);
}

}  // namespace plugin
