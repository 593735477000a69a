#pragma once
// The thin platform layer: everything hostlink needs of the operating system.
// One implementation per system: os_windows.cpp (the deliverable), os_linux.cpp (i386 test flavour).
#include <cstddef>
#include <cstdint>

namespace hostlink::os {

// Lifts [address, address + size) to read-write-execute and reports the protection it had before.
// Returns false when the change failed; `previous` is then meaningless and must not be put back.
bool lift_protection(std::uintptr_t address, std::size_t size, std::uint32_t& previous);

// Puts back a protection reported by lift_protection. Failures are ignored.
void put_back_protection(std::uintptr_t address, std::size_t size, std::uint32_t previous);

// True when every byte of [address, address + size) is committed, readable memory.
bool is_readable(std::uintptr_t address, std::size_t size);

// Base address of the process's main executable (the game), not of the plugin.
std::uintptr_t main_module_base();

// The game thread's key state, as GetKeyState reports it: bit 15 set while the key is down.
std::int16_t key_state(int virtual_key);

constexpr int vk_lbutton = 0x01;
constexpr int vk_mbutton = 0x04;

inline bool key_down(int virtual_key) { return (key_state(virtual_key) & 0x8000) != 0; }

}  // namespace hostlink::os
