// Descriptors from /proc/self/fd; heap bytes from the allocator in use (ASan's own when built
// with it, since it replaces malloc).
#include <dirent.h>
#include <malloc.h>

#include "standin/resources.hpp"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/allocator_interface.h>
#endif

namespace standin {

Resources measure_resources() {
  Resources r;
  if (DIR* dir = opendir("/proc/self/fd")) {
    long count = 0;
    while (const dirent* entry = readdir(dir))
      if (entry->d_name[0] != '.') ++count;
    closedir(dir);
    r.handles = count - 1;  // the directory stream's own
  }
#if defined(__SANITIZE_ADDRESS__)
  r.heap_bytes = static_cast<std::int64_t>(__sanitizer_get_current_allocated_bytes());
#else
  const struct mallinfo2 info = mallinfo2();
  r.heap_bytes = static_cast<std::int64_t>(info.uordblks + info.hblkhd);
#endif
  return r;
}

}  // namespace standin
