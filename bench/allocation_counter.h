// Counts the program's heap allocations: linking allocation_counter.cc
// replaces the global operator new. For benchmarks that check a path makes
// no allocation per item.
#pragma once

#include <cstddef>

namespace kestrel::bench {

// Calls of the global operator new since the program started.
[[nodiscard]] std::size_t allocation_count() noexcept;

}  // namespace kestrel::bench
