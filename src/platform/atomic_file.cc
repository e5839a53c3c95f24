#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>
#include <vector>

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

void write_all(int fd, std::string_view data, const fs::path& path) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw_errno("no se puede escribir", path);
    data.remove_prefix(static_cast<std::size_t>(n));
  }
}

// Makes a rename durable. Best effort: the rename has already happened, so a
// failure here must not report the update as lost.
void sync_folder(const fs::path& folder) noexcept {
  Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) (void)::fsync(dir.get());
}

// The file a write to `file` must replace: the target of a symbolic link.
fs::path write_target(const fs::path& file) {
  std::error_code ec;
  if (!fs::is_symlink(file, ec)) return file;
  fs::path target = fs::read_symlink(file, ec);
  if (ec) throw std::system_error(ec, "no se puede seguir el enlace " + file.string());
  return target.is_absolute() ? target : file.parent_path() / target;
}

// Removes the temporary file unless the rename has consumed it.
class TemporaryFile {
 public:
  explicit TemporaryFile(const fs::path& target) : path_(target.string() + ".XXXXXX") {
    std::vector<char> name(path_.begin(), path_.end());
    name.push_back('\0');
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) throw_errno("no se puede crear un archivo temporal junto a", target);
    path_.assign(name.data());
  }
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  [[nodiscard]] int fd() const noexcept { return fd_; }
  [[nodiscard]] const std::string& path() const noexcept { return path_; }
  void close() {
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0) throw_errno("no se puede cerrar", path_);
  }
  void renamed() noexcept { path_.clear(); }

 private:
  std::string path_;
  int fd_ = -1;
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
  const fs::path target = write_target(file);
  TemporaryFile temp(target);
  struct stat old_info {};
  if (::stat(target.c_str(), &old_info) == 0 && ::fchmod(temp.fd(), old_info.st_mode & 07777) != 0) {
    throw_errno("no se pueden copiar los permisos a", temp.path());
  }
  write_all(temp.fd(), contents, temp.path());
  if (::fsync(temp.fd()) != 0) throw_errno("no se puede sincronizar", temp.path());
  temp.close();
  if (::rename(temp.path().c_str(), target.c_str()) != 0) throw_errno("no se puede reemplazar", target);
  temp.renamed();
  sync_folder(target.has_parent_path() ? target.parent_path() : fs::path("."));
}

}  // namespace kestrel::platform
