#include "failing_allocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// The size from which the next allocation fails; 0: none fails. The replaced
// operator new has nowhere else to keep it.
std::atomic<std::size_t> fail_from{0};

void* allocate(std::size_t size) {
  std::size_t limit = fail_from.load(std::memory_order_relaxed);
  if (limit != 0 && size >= limit && fail_from.compare_exchange_strong(limit, 0)) throw std::bad_alloc();
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

void* allocate_nothrow(std::size_t size) noexcept {
  try {
    return allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace

// Every form that is not over-aligned goes through malloc and free, so that
// whichever form the library pairs with which, they match.
void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate_nothrow(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate_nothrow(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace kestrel::bridge::testing {

FailingAllocation::FailingAllocation(std::size_t size) noexcept { fail_from.store(size); }
FailingAllocation::~FailingAllocation() { fail_from.store(0); }

}  // namespace kestrel::bridge::testing
