#include "hostlink/os/os.hpp"

#include <windows.h>

namespace hostlink::os {

bool lift_protection(std::uintptr_t address, std::size_t size, std::uint32_t& previous) {
  DWORD old = 0;
  const BOOL ok = VirtualProtect(reinterpret_cast<LPVOID>(address), size, PAGE_EXECUTE_READWRITE, &old);
  previous = old;
  return ok != 0;
}

void put_back_protection(std::uintptr_t address, std::size_t size, std::uint32_t previous) {
  DWORD scratch = 0;
  VirtualProtect(reinterpret_cast<LPVOID>(address), size, previous, &scratch);
}

bool is_readable(std::uintptr_t address, std::size_t size) {
  const std::uintptr_t end = address + size;
  while (address < end) {
    MEMORY_BASIC_INFORMATION info{};
    if (VirtualQuery(reinterpret_cast<LPCVOID>(address), &info, sizeof info) == 0) return false;
    if (info.State != MEM_COMMIT) return false;
    const DWORD access = info.Protect & 0xFF;
    if (access == PAGE_NOACCESS || access == 0 || (info.Protect & PAGE_GUARD)) return false;
    address = reinterpret_cast<std::uintptr_t>(info.BaseAddress) + info.RegionSize;
  }
  return true;
}

std::uintptr_t main_module_base() { return reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr)); }

std::int16_t key_state(int virtual_key) { return GetKeyState(virtual_key); }

}  // namespace hostlink::os
