#include "platform/posix/background_flush.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace kestrel::platform {

BackgroundFlush::BackgroundFlush(int fd, std::uint64_t chunk) : fd_(fd), chunk_(chunk), thread_([this] { run(); }) {}

void BackgroundFlush::written(std::uint64_t total) {
  {
    const std::lock_guard lock(mutex_);
    written_ = total;
    if (written_ - flushed_ < chunk_) return;
  }
  wake_.notify_one();
}

void BackgroundFlush::finish() noexcept {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

int BackgroundFlush::error() const noexcept {
  const std::lock_guard lock(mutex_);
  return error_;
}

void BackgroundFlush::run() {
  // Interrupts are the writer's business: they never land on this thread.
  sigset_t all;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, nullptr);
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || written_ - flushed_ >= chunk_; });
    // A chunk due is flushed even when stopping: the final flush would wait for it anyway.
    if (written_ - flushed_ < chunk_) return;
    const std::uint64_t target = written_;
    lock.unlock();
    const int result = ::fdatasync(fd_);
    const int error = result != 0 ? errno : 0;
    lock.lock();
    flushed_ = target;
    if (error != 0 && error_ == 0) error_ = error;
  }
}

}  // namespace kestrel::platform
