#pragma once
// Reading and writing game memory under temporarily lifted page protection, and the few x86
// encodings the plugins decode or write.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "hostlink/os/os.hpp"

namespace injector {

// Lifts a range to read-write-execute for one access; puts the old protection back only if the
// lift succeeded. A failed lift is not reported: the access goes ahead.
class unprotect_scope {
 public:
  unprotect_scope(std::uintptr_t address, std::size_t size) : address_(address), size_(size) {
    changed_ = hostlink::os::lift_protection(address, size, previous_);
  }
  ~unprotect_scope() {
    if (changed_) hostlink::os::put_back_protection(address_, size_, previous_);
  }
  unprotect_scope(const unprotect_scope&) = delete;
  unprotect_scope& operator=(const unprotect_scope&) = delete;

  bool changed() const { return changed_; }

 private:
  std::uintptr_t address_;
  std::size_t size_;
  std::uint32_t previous_ = 0;
  bool changed_ = false;
};

// A plain read of T at an address, no protection change.
template <typename T>
T peek(std::uintptr_t address) {
  T value;
  std::memcpy(&value, reinterpret_cast<const void*>(address), sizeof value);
  return value;
}

template <typename T>
T read_memory(std::uintptr_t address) {
  unprotect_scope scope(address, sizeof(T));
  return peek<T>(address);
}

template <typename T>
void write_memory(std::uintptr_t address, T value) {
  unprotect_scope scope(address, sizeof(T));
  std::memcpy(reinterpret_cast<void*>(address), &value, sizeof value);
}

void copy_from_host(void* buffer, std::uintptr_t address, std::size_t size, bool use_protection);
void copy_into_host(std::uintptr_t address, const void* buffer, std::size_t size, bool use_protection);

namespace opcode {
constexpr std::uint8_t call_rel32 = 0xE8;
constexpr std::uint8_t jmp_rel32 = 0xE9;
constexpr std::uint8_t group_ff = 0xFF;
constexpr std::uint8_t modrm_call_abs = 0x15;  // FF 15 abs32: CALL [abs32]
constexpr std::uint8_t modrm_jmp_abs = 0x25;   // FF 25 abs32: JMP [abs32]
constexpr std::uint8_t nop = 0x90;
}  // namespace opcode

// Where the CALL or JMP at `address` leads (E8, E9, FF 15, FF 25), or 0 for any other instruction.
// Each read of the instruction lifts the protection around it.
std::uintptr_t read_call_target(std::uintptr_t address);

// The same decode with plain reads: for code whose protection must not be touched.
std::uintptr_t peek_call_target(std::uintptr_t address);

// Turns the five bytes at `address` into CALL target; returns where the instruction led before.
std::uintptr_t make_call(std::uintptr_t address, std::uintptr_t target);

// Writes `count` NOPs at `address` under one protection lift.
void make_nop(std::uintptr_t address, std::size_t count);

}  // namespace injector
