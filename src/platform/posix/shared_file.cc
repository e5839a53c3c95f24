#include "platform/posix/shared_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

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

 private:
  int fd_;
};

bool same_time(const timespec& a, const timespec& b) noexcept {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

FileStamp stamp_from(const struct stat& info) noexcept {
  return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

FileStamp stamp_of_open(int fd, const fs::path& file) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) throw_errno("no se puede consultar", file);
  if (!S_ISREG(info.st_mode)) {
    throw std::system_error(EINVAL, std::generic_category(), "no es un archivo " + file.string());
  }
  return stamp_from(info);
}

}  // namespace

bool operator==(const FileStamp& a, const FileStamp& b) noexcept {
  return a.device == b.device && a.inode == b.inode && a.size == b.size && same_time(a.modified, b.modified) &&
         same_time(a.changed, b.changed);
}

std::optional<FileStamp> stamp_of(const fs::path& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) == 0) return stamp_from(info);
  if (errno == ENOENT) return std::nullopt;
  throw_errno("no se puede consultar", file);
}

std::optional<StampedContent> read_stamped(const fs::path& file) {
  Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0 && errno == ENOENT) return std::nullopt;
  if (fd.get() < 0) throw_errno("no se puede abrir", file);
  StampedContent content{{}, stamp_of_open(fd.get(), file)};
  std::string& bytes = content.bytes;
  bytes.resize(static_cast<std::size_t>(content.stamp.size));
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.size()) bytes.resize(bytes.size() * 2 + 4096);
    const ssize_t n = ::read(fd.get(), bytes.data() + used, bytes.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw_errno("no se puede leer", file);
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
  }
  bytes.resize(used);
  return content;
}

FileStamp append_to_file(const fs::path& file, std::string_view text) {
  Fd fd(::open(file.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
  if (fd.get() < 0) throw_errno("no se puede abrir para añadir", file);
  while (!text.empty()) {
    const ssize_t n = ::write(fd.get(), text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw_errno("no se puede escribir", file);
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return stamp_of_open(fd.get(), file);
}

FileLock::FileLock(const fs::path& lock_file, Mode mode) : path_(lock_file) {
  const bool exclusive = mode == Mode::kExclusive;
  fd_ = ::open(lock_file.c_str(), (exclusive ? O_RDWR : O_RDONLY) | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) {
    if (exclusive) throw_errno("no se puede abrir el cerrojo", lock_file);
    return;
  }
  while (::flock(fd_, exclusive ? LOCK_EX : LOCK_SH) != 0) {
    if (errno == EINTR) continue;
    const int error = errno;
    ::close(std::exchange(fd_, -1));
    if (exclusive) throw std::system_error(error, std::generic_category(), "no se puede bloquear " + lock_file.string());
    return;
  }
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

std::optional<std::uint64_t> FileLock::writes() const noexcept {
  if (fd_ < 0) return std::nullopt;
  unsigned char bytes[8] = {};
  if (::pread(fd_, bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) return 0;  // a new lock file
  std::uint64_t count = 0;
  for (int i = 7; i >= 0; --i) count = (count << 8) | bytes[i];
  return count;
}

void FileLock::count_write() {
  std::uint64_t count = writes().value_or(0) + 1;
  unsigned char bytes[8];
  for (unsigned char& b : bytes) {
    b = static_cast<unsigned char>(count & 0xFF);
    count >>= 8;
  }
  if (::pwrite(fd_, bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
    throw_errno("no se puede escribir en el cerrojo", path_);
  }
}

}  // namespace kestrel::platform
