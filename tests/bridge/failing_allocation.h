// Running out of memory on purpose: while a FailingAllocation lives, the
// first allocation of at least `size` bytes made through the global operator
// new throws std::bad_alloc. Linking failing_allocation.cc replaces the
// global operator new of the test program.
#pragma once

#include <cstddef>

namespace kestrel::bridge::testing {

class FailingAllocation {
 public:
  explicit FailingAllocation(std::size_t size) noexcept;
  ~FailingAllocation();
  FailingAllocation(const FailingAllocation&) = delete;
  FailingAllocation& operator=(const FailingAllocation&) = delete;
};

}  // namespace kestrel::bridge::testing
