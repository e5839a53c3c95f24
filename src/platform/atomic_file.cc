#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

#include "platform/safe_output.h"

namespace kestrel::platform {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void throw_errno(const std::string& what, const fs::path& path) {
  throw std::system_error(errno, std::generic_category(), what + " " + path.string());
}

// Owns a file descriptor.
class Fd {
 public:
  explicit Fd(int fd) noexcept : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  [[nodiscard]] int get() const noexcept { return fd_; }
  [[nodiscard]] int release() noexcept { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

}  // namespace

std::optional<std::string> read_file_if_exists(const fs::path& file) {
  Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0 && errno == ENOENT) return std::nullopt;
  if (fd.get() < 0) throw_errno("no se puede abrir", file);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) throw_errno("no se puede consultar", file);
  if (!S_ISREG(info.st_mode)) throw std::system_error(EINVAL, std::generic_category(), "no es un archivo " + file.string());
  std::string content;
  content.resize(static_cast<std::size_t>(info.st_size));
  std::size_t used = 0;
  for (;;) {
    if (used == content.size()) content.resize(content.size() * 2 + 4096);
    const ssize_t n = ::read(fd.get(), content.data() + used, content.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw_errno("no se puede leer", file);
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
  }
  content.resize(used);
  return content;
}

ExclusiveFileLock::ExclusiveFileLock(const fs::path& lock_file)
    : fd_(::open(lock_file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
  if (fd_ < 0) throw_errno("no se puede abrir el cerrojo", lock_file);
  Fd owner(fd_);
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno != EINTR) throw_errno("no se puede bloquear", lock_file);
  }
  (void)owner.release();
}

ExclusiveFileLock::~ExclusiveFileLock() { ::close(fd_); }  // closing releases the lock

void replace_file_atomically(const fs::path& file, std::string_view contents) {
  SafeFileOutput output(file, {}, 0600);
  output.write(contents);
  output.commit();
}

}  // namespace kestrel::platform
