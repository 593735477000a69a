// The i386 stand-in maps the game's range itself.
#include <sys/mman.h>

#include <cerrno>
#include <cstring>

#include "standin/image.hpp"

#ifndef MAP_FIXED_NOREPLACE
#define MAP_FIXED_NOREPLACE 0x100000
#endif

namespace standin {

bool acquire_image_range(std::string& error) {
  void* want = reinterpret_cast<void*>(image_base);
  void* got = mmap(want, image_end - image_base, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
  if (got == want) return true;
  error = std::string("cannot map the game range at 0x400000: ") + std::strerror(errno);
  if (got != MAP_FAILED) munmap(got, image_end - image_base);
  return false;
}

void release_image_range() { munmap(reinterpret_cast<void*>(image_base), image_end - image_base); }

bool release_image_tail(addr from, std::string& error) {
  if (munmap(reinterpret_cast<void*>(from), image_end - from) == 0) return true;
  error = std::string("cannot unmap the image's tail: ") + std::strerror(errno);
  return false;
}

void set_protection(addr begin, std::size_t size, Protection p) {
  const int prot = p == Protection::read_execute ? PROT_READ | PROT_EXEC
                   : p == Protection::read_write ? PROT_READ | PROT_WRITE
                                                 : PROT_READ | PROT_WRITE | PROT_EXEC;
  mprotect(reinterpret_cast<void*>(begin), size, prot);
}

}  // namespace standin
