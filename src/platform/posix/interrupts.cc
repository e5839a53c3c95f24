#include "platform/posix/interrupts.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace kestrel::platform {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// One registered temporary file. A slot is claimed (kFree -> kFilling), its
// path written, then published (kReady); only ready slots are read by the
// handler, so it never sees half a path.
enum SlotState : int { kFree, kFilling, kReady };
struct Slot {
  std::atomic<int> state{kFree};
  char path[1024];
};
static_assert(std::atomic<int>::is_always_lock_free);
static_assert(std::atomic<std::atomic<bool>*>::is_always_lock_free);

std::array<Slot, 16> registered;
std::atomic<std::atomic<bool>*> abort_key{nullptr};
std::atomic<bool> handlers_installed{false};
char interrupt_message[201];
std::size_t interrupt_message_size = 0;

void remove_registered_files() noexcept {
  for (Slot& slot : registered) {
    if (slot.state.load() == kReady) (void)::unlink(slot.path);
  }
}

void on_interrupt(int signal) {
  if (signal == SIGINT) {
    std::atomic<bool>* pressed = abort_key.load();
    if (pressed && !pressed->exchange(true)) return;  // the abort key's first press
  }
  remove_registered_files();
  if (interrupt_message_size > 0) (void)!::write(STDERR_FILENO, interrupt_message, interrupt_message_size);
  ::_exit(kInterruptedExitCode);
}

sigset_t interrupt_set() noexcept {
  sigset_t set;
  sigemptyset(&set);
  for (const int s : kSignals) sigaddset(&set, s);
  return set;
}

}  // namespace

struct InterruptHandlers::Saved {
  struct sigaction actions[std::size(kSignals)];
};

InterruptHandlers::InterruptHandlers(std::string_view message) : saved_(new Saved{}) {
  if (handlers_installed.exchange(true)) {
    delete saved_;
    throw std::logic_error("the interrupt handlers are already installed");
  }
  interrupt_message_size = std::min(message.size(), sizeof interrupt_message - 1);
  std::memcpy(interrupt_message, message.data(), interrupt_message_size);
  struct sigaction action {};
  action.sa_handler = on_interrupt;
  action.sa_mask = interrupt_set();  // one handler at a time
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    if (::sigaction(kSignals[i], &action, &saved_->actions[i]) != 0) {
      const int error = errno;
      while (i-- > 0) ::sigaction(kSignals[i], &saved_->actions[i], nullptr);
      delete saved_;
      handlers_installed.store(false);
      throw std::system_error(error, std::generic_category(), "sigaction");
    }
  }
}

InterruptHandlers::~InterruptHandlers() {
  for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &saved_->actions[i], nullptr);
  delete saved_;
  interrupt_message_size = 0;
  handlers_installed.store(false);
}

TemporaryRegistration::TemporaryRegistration(std::string_view path) noexcept : slot_(-1) {
  if (path.size() >= sizeof(Slot::path)) return;
  for (std::size_t i = 0; i < registered.size(); ++i) {
    int expected = kFree;
    if (!registered[i].state.compare_exchange_strong(expected, kFilling)) continue;
    std::memcpy(registered[i].path, path.data(), path.size());
    registered[i].path[path.size()] = '\0';
    registered[i].state.store(kReady);
    slot_ = static_cast<int>(i);
    return;
  }
}

void TemporaryRegistration::release() noexcept {
  if (slot_ < 0) return;
  registered[static_cast<std::size_t>(slot_)].state.store(kFree);
  slot_ = -1;
}

void arm_abort_key(std::atomic<bool>* pressed) {
  if (pressed == nullptr) return disarm_abort_key();
  std::atomic<bool>* none = nullptr;
  if (!abort_key.compare_exchange_strong(none, pressed) && none != pressed) {
    throw std::logic_error("another abort key is armed");
  }
}

void disarm_abort_key() noexcept { abort_key.store(nullptr); }

InterruptsDeferred::InterruptsDeferred() noexcept {
  const sigset_t set = interrupt_set();
  ::pthread_sigmask(SIG_BLOCK, &set, &saved_mask_);
}

InterruptsDeferred::~InterruptsDeferred() { ::pthread_sigmask(SIG_SETMASK, &saved_mask_, nullptr); }

}  // namespace kestrel::platform
