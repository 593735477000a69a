#pragma once
// What the process holds: open descriptors (handles under Windows) and heap bytes in use, so that
// a session can show that loading and unloading plugins leaks neither.
#include <cstdint>

namespace standin {

struct Resources {
  long handles = -1;           // -1: could not be counted
  std::int64_t heap_bytes = -1;
};

Resources measure_resources();

}  // namespace standin
