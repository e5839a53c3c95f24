#include "allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Only ever incremented; the replaced operator new has nowhere else to keep it.
std::atomic<std::size_t> allocations{0};

}  // namespace

// In a file of their own, so that no caller sees malloc/free through inlining.
void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace kestrel::bench {

std::size_t allocation_count() noexcept { return allocations.load(std::memory_order_relaxed); }

}  // namespace kestrel::bench
