#include "bench/allocation_counter.hpp"

#include <cstddef>

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void __libc_free(void*);
}

namespace {

// Plain, not atomic: everything measured runs on one thread.
std::uint64_t count = 0;

}  // namespace

namespace bench {

std::uint64_t allocations() { return count; }

}  // namespace bench

// The executable's definitions take the place of the C library's for every module of the process.
extern "C" {

void* malloc(std::size_t size) {
  ++count;
  return __libc_malloc(size);
}

void* calloc(std::size_t n, std::size_t size) {
  ++count;
  return __libc_calloc(n, size);
}

void* realloc(void* p, std::size_t size) {
  ++count;
  return __libc_realloc(p, size);
}

void* memalign(std::size_t alignment, std::size_t size) {
  ++count;
  return __libc_memalign(alignment, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) {
  ++count;
  return __libc_memalign(alignment, size);
}

int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
  ++count;
  void* p = __libc_memalign(alignment, size);
  if (!p) return 12;  // ENOMEM
  *out = p;
  return 0;
}

void free(void* p) { __libc_free(p); }

}  // extern "C"
