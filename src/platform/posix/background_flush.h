// BackgroundFlush: flushes what has been written to a file to disk on
// another thread while the writer goes on. The final flush before a rename
// then finds little left: on a virtual disk it otherwise waited a quarter of
// a second for a 500 MB output, after all the formatting was done.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace kestrel::platform {

class BackgroundFlush {
 public:
  // Flushes `fd` each time another `chunk` bytes have been reported written.
  // The descriptor must stay open until finish() (or destruction).
  BackgroundFlush(int fd, std::uint64_t chunk);
  ~BackgroundFlush() { finish(); }
  BackgroundFlush(const BackgroundFlush&) = delete;
  BackgroundFlush& operator=(const BackgroundFlush&) = delete;

  // `total` bytes have been written so far.
  void written(std::uint64_t total);
  // Waits for a flush under way and stops the thread.
  void finish() noexcept;
  // The errno of the first flush that failed, 0 if none did. A failed flush
  // consumes the error the kernel keeps for the file, so the writer's own
  // final flush would not see it: the writer must check this after finish().
  [[nodiscard]] int error() const noexcept;

 private:
  void run();

  const int fd_;
  const std::uint64_t chunk_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::uint64_t written_ = 0;
  std::uint64_t flushed_ = 0;
  int error_ = 0;
  bool stopping_ = false;
  std::thread thread_;  // last: starts once the state above exists
};

}  // namespace kestrel::platform
