// Under Windows the range is the exe's own image: fill_windows.S makes .text cover it.
#include <windows.h>

#include "standin/image.hpp"

namespace standin {

bool acquire_image_range(std::string& error) {
  MEMORY_BASIC_INFORMATION info{};
  if (reinterpret_cast<addr>(GetModuleHandleA(nullptr)) != image_base ||
      VirtualQuery(reinterpret_cast<void*>(image_begin), &info, sizeof info) == 0 ||
      reinterpret_cast<addr>(info.AllocationBase) != image_base) {
    error = "the stand-in's image does not lie at 0x400000";
    return false;
  }
  DWORD old = 0;
  if (!VirtualProtect(reinterpret_cast<void*>(image_begin), image_end - image_begin, PAGE_EXECUTE_READWRITE, &old)) {
    error = "cannot unprotect the game range";
    return false;
  }
  return true;
}

void release_image_range() {}

// The range is the exe's own image, which cannot lose its tail.
bool release_image_tail(addr, std::string& error) {
  error = "the Windows stand-in's image is its own and keeps its size";
  return false;
}

void set_protection(addr begin, std::size_t size, Protection p) {
  const DWORD prot = p == Protection::read_execute ? PAGE_EXECUTE_READ
                     : p == Protection::read_write ? PAGE_READWRITE
                                                   : PAGE_EXECUTE_READWRITE;
  DWORD old = 0;
  VirtualProtect(reinterpret_cast<void*>(begin), size, prot, &old);
}

}  // namespace standin
