#pragma once
// The game's two calling forms, spelled the same way in both flavours.
//   cdecl:    arguments on the stack, the caller removes them.
//   thiscall: the object in ECX, the routine removes its stack arguments.
// A plugin routine that the game reaches through a patched call is declared with exactly the form
// of the routine it displaces, and realigns its stack: the game gives no 16-byte guarantee.
#include <cstdint>

#define HOST_CDECL __attribute__((cdecl))
#define HOST_THISCALL __attribute__((thiscall))
#define HOST_ENTRY __attribute__((force_align_arg_pointer))

namespace host {

using address_t = std::uint32_t;

template <typename R, typename... A>
using cdecl_fn = R(HOST_CDECL*)(A...);

template <typename R, typename... A>
using thiscall_fn = R(HOST_THISCALL*)(void* self, A...);

// Calls the game routine at a fixed address in its own calling form.
template <address_t Address, typename R, typename... A>
inline R call_cdecl(A... args) {
  return reinterpret_cast<cdecl_fn<R, A...>>(static_cast<std::uintptr_t>(Address))(args...);
}

template <address_t Address, typename R, typename... A>
inline R call_thiscall(const void* self, A... args) {
  return reinterpret_cast<thiscall_fn<R, A...>>(static_cast<std::uintptr_t>(Address))(
      const_cast<void*>(self), args...);
}

// A game variable at a fixed address.
template <typename T, address_t Address>
inline T& variable() {
  return *reinterpret_cast<T*>(static_cast<std::uintptr_t>(Address));
}

}  // namespace host
