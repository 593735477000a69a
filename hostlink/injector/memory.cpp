#include "hostlink/injector/memory.hpp"

namespace injector {

void copy_from_host(void* buffer, std::uintptr_t address, std::size_t size, bool use_protection) {
  if (use_protection && size != 0) {
    unprotect_scope scope(address, size);
    std::memcpy(buffer, reinterpret_cast<const void*>(address), size);
  } else if (size != 0) {
    std::memcpy(buffer, reinterpret_cast<const void*>(address), size);
  }
}

void copy_into_host(std::uintptr_t address, const void* buffer, std::size_t size, bool use_protection) {
  if (use_protection && size != 0) {
    unprotect_scope scope(address, size);
    std::memcpy(reinterpret_cast<void*>(address), buffer, size);
  } else if (size != 0) {
    std::memcpy(reinterpret_cast<void*>(address), buffer, size);
  }
}

namespace {

template <std::uint8_t (*read8)(std::uintptr_t), std::uint32_t (*read32)(std::uintptr_t)>
std::uintptr_t decode_call_target(std::uintptr_t address) {
  const std::uint8_t op = read8(address);
  if (op == opcode::call_rel32 || op == opcode::jmp_rel32) {
    const std::uint32_t rel = read32(address + 1);
    return static_cast<std::uint32_t>(address + 5 + rel);  // wraps in 32 bits
  }
  if (op == opcode::group_ff) {
    const std::uint8_t modrm = read8(address + 1);
    if (modrm == opcode::modrm_call_abs || modrm == opcode::modrm_jmp_abs) {
      const std::uint32_t slot = read32(address + 2);
      return peek<std::uint32_t>(slot);  // the routine held in the slot, read once
    }
  }
  return 0;
}

}  // namespace

std::uintptr_t read_call_target(std::uintptr_t address) {
  return decode_call_target<read_memory<std::uint8_t>, read_memory<std::uint32_t>>(address);
}

std::uintptr_t peek_call_target(std::uintptr_t address) {
  return decode_call_target<peek<std::uint8_t>, peek<std::uint32_t>>(address);
}

std::uintptr_t make_call(std::uintptr_t address, std::uintptr_t target) {
  const std::uintptr_t previous = read_call_target(address);
  write_memory<std::uint8_t>(address, opcode::call_rel32);
  write_memory<std::uint32_t>(address + 1, static_cast<std::uint32_t>(target - (address + 5)));
  return previous;
}

void make_nop(std::uintptr_t address, std::size_t count) {
  unprotect_scope scope(address, count);
  if (count == 2) {
    const std::uint16_t nops = 0x9090;  // one 16-bit store, as the collector patch expects
    std::memcpy(reinterpret_cast<void*>(address), &nops, sizeof nops);
  } else {
    std::memset(reinterpret_cast<void*>(address), opcode::nop, count);
  }
}

}  // namespace injector
