// read_call_target and make_call over arbitrary instruction bytes. The instruction ends where
// its page ends, the pointer slot of the indirect forms likewise, so a read beyond either faults.
// Input: 6 instruction bytes, 4 slot bytes, 4 target bytes (missing ones are 0).
#include <cstdint>
#include <cstring>

#include "hostlink/injector/memory.hpp"
#include "tests/fuzz/guarded_page.hpp"
#include "tests/unit/fake_os.hpp"

namespace {

std::uint32_t u32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// How many bytes of the instruction the decoder may read.
std::size_t decoded_length(const std::uint8_t* code) {
  if (code[0] == 0xE8 || code[0] == 0xE9) return 5;
  if (code[0] == 0xFF) return code[1] == 0x15 || code[1] == 0x25 ? 6 : 2;
  return 1;
}

void check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static GuardedPage code_page, slot_page;
  std::uint8_t input[14] = {};
  std::memcpy(input, data, size < sizeof input ? size : sizeof input);
  std::uint8_t code[6];
  std::memcpy(code, input, 6);
  const std::uint32_t slot_value = u32(input + 6);
  const std::uint32_t target = u32(input + 10);
  fake_os::reset();

  // The indirect forms' pointer leads into the slot page, its four bytes the page's last.
  const std::uint8_t* slot = slot_page.place_at_end(&slot_value, 4);
  const bool indirect = code[0] == 0xFF && (code[1] == 0x15 || code[1] == 0x25);
  if (indirect) {
    const std::uint32_t at = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(slot));
    std::memcpy(code + 2, &at, 4);
  }

  // Decode: only the instruction's own bytes are mapped before the guard.
  const std::size_t length = decoded_length(code);
  const std::uint8_t* at = code_page.place_at_end(code, length);
  const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(at);
  std::uint32_t expected = 0;
  if (code[0] == 0xE8 || code[0] == 0xE9) expected = static_cast<std::uint32_t>(address + 5 + u32(code + 1));
  if (indirect) expected = slot_value;
  check(injector::read_call_target(address) == expected);
  check(injector::peek_call_target(address) == expected);

  // make_call writes five bytes: the instruction (and what follows it) fills them.
  const std::size_t room = length > 5 ? length : 5;
  std::uint8_t* site = code_page.place_at_end(code, room);
  std::uint8_t before[GuardedPage::size];
  std::memcpy(before, code_page.begin(), sizeof before);
  const std::uintptr_t s = reinterpret_cast<std::uintptr_t>(site);
  const std::uint32_t previous_expected = code[0] == 0xE8 || code[0] == 0xE9
                                              ? static_cast<std::uint32_t>(s + 5 + u32(code + 1))
                                              : expected;
  check(injector::make_call(s, target) == previous_expected);
  check(site[0] == 0xE8);
  check(u32(site + 1) == static_cast<std::uint32_t>(target - (s + 5)));
  // Nothing else changed: not the bytes before, not a sixth byte.
  const std::size_t offset = static_cast<std::size_t>(site - code_page.begin());
  check(std::memcmp(before, code_page.begin(), offset) == 0);
  check(std::memcmp(before + offset + 5, site + 5, GuardedPage::size - offset - 5) == 0);
  return 0;
}
