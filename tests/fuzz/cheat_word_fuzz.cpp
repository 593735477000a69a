// The cheat-word match over arbitrary buffers: only the bytes up to the first zero (at most ten)
// are mapped before the guard page, and the answer must be the plain comparison's.
#include <cstdint>
#include <cstring>

#include "kestrow/toggle.hpp"
#include "tests/fuzz/guarded_page.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static GuardedPage page;
  // What the game's buffer would hold: the input, zero-terminated within the ten bytes the
  // match may look at.
  std::uint8_t buffer[10];
  std::size_t readable = 0;
  while (readable < 10) {
    const std::uint8_t c = readable < size ? data[readable] : 0;
    buffer[readable++] = c;
    if (c == 0) break;
  }
  const char* typed = reinterpret_cast<const char*>(page.place_at_end(buffer, readable));

  static const char reversed[] = "OFNISLEDOM";
  bool expected = readable == 10;
  for (std::size_t i = 0; expected && i < 10; ++i) {
    const char c = static_cast<char>(buffer[i]);
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    expected = c != 0 && lower == static_cast<char>(reversed[i] - 'A' + 'a');
  }
  if (kestrow::cheatWordTyped(typed) != expected) __builtin_trap();
  return 0;
}
