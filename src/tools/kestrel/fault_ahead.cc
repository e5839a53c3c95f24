#include "tools/kestrel/fault_ahead.h"

#include <malloc.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>

namespace kestrel::cli {

namespace {

// The program break as the kernel has it; glibc's own copy is not this
// thread's to read.
std::uintptr_t program_break() noexcept { return static_cast<std::uintptr_t>(::syscall(SYS_brk, 0)); }

}  // namespace

FaultAhead::FaultAhead() {
  // Each call may be refused; the program then allocates as glibc sets it.
  (void)::mallopt(M_MMAP_MAX, 0);
  (void)::mallopt(M_TRIM_THRESHOLD, 1 << 30);
  (void)::mallopt(M_TOP_PAD, static_cast<int>(kStep));
  thread_ = std::thread([this] { run(); });
}

FaultAhead::~FaultAhead() {
  stop_ = true;
  thread_.join();
}

void FaultAhead::run() noexcept {
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  std::uintptr_t done = program_break() & ~(page - 1);
  while (!stop_.load(std::memory_order_relaxed)) {
    const std::uintptr_t end = program_break() & ~(page - 1);
    if (end <= done) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
      continue;
    }
    // Only the last step of a growth is the heap's free top, which the
    // program fills next; what lies before it is the block that made the
    // heap grow, maybe a list reserved and never filled: whether that is
    // touched is the program's business.
    const std::uintptr_t from = end - done > kStep ? end - kStep : done;
    auto* at = reinterpret_cast<void*>(from);
    // Huge pages first (glibc asks for them too, but maybe only after us);
    // populating writes no byte, so racing the program's own writes is safe.
    (void)::madvise(at, end - from, MADV_HUGEPAGE);
    if (::madvise(at, end - from, MADV_POPULATE_WRITE) != 0) return;
    done = end;
  }
}

}  // namespace kestrel::cli
