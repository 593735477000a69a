#pragma once
// A page of memory followed by an inaccessible one: bytes placed at the page's end can be read,
// and any read past them faults at once.
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

class GuardedPage {
 public:
  static constexpr std::size_t size = 4096;

  GuardedPage() {
    void* p = mmap(nullptr, 2 * size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED || mprotect(static_cast<char*>(p) + size, size, PROT_NONE) != 0) std::abort();
    base_ = static_cast<std::uint8_t*>(p);
  }
  GuardedPage(const GuardedPage&) = delete;
  GuardedPage& operator=(const GuardedPage&) = delete;

  // Copies n bytes so that the last one is the page's last; returns where they start.
  std::uint8_t* place_at_end(const void* bytes, std::size_t n, std::uint8_t filler = 0xCC) {
    std::memset(base_, filler, size);
    std::uint8_t* at = base_ + size - n;
    if (n) std::memcpy(at, bytes, n);
    return at;
  }
  std::uint8_t* begin() const { return base_; }

 private:
  std::uint8_t* base_;
};
