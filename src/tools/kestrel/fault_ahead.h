// Reading a big drawing touches about three times its size in fresh memory,
// and the kernel zeroes every page on its first touch: on the machines we
// measure on that was a third of a 10^6-entity import. FaultAhead moves that
// work to the other core.
#pragma once

#include <atomic>
#include <cstddef>
#include <thread>

namespace kestrel::cli {

// From construction on, every allocation comes from the heap and the heap
// grows in steps of kStep bytes; while the object lives, a thread faults each
// step in as soon as the heap reaches it, ahead of the program. glibc gives
// big blocks mappings of their own by default and returns them on free, so a
// list that grows by doubling has fresh pages zeroed at every step and never
// reuses the ones it frees; from the heap, freed blocks are reused. The cost
// is more peak memory (a 10^6-entity import: 920 MB against 870), which is
// why only the import, whose limit is time, asks for it. Where the kernel
// cannot fault pages in ahead, the thread stops and the program runs on.
class FaultAhead {
 public:
  static constexpr std::size_t kStep = std::size_t{16} << 20;

  FaultAhead();
  ~FaultAhead();
  FaultAhead(const FaultAhead&) = delete;
  FaultAhead& operator=(const FaultAhead&) = delete;

 private:
  void run() noexcept;

  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace kestrel::cli
