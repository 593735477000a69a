#pragma once
// Heap allocations made by this process, counted by wrappers around the C allocator (operator
// new and the C runtime's own allocations both end there).
#include <cstdint>

namespace bench {

std::uint64_t allocations();

}  // namespace bench
