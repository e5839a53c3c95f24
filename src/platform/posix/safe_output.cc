#include "platform/posix/safe_output.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <random>
#include <system_error>
#include <utility>

#include "core/error.h"

namespace kestrel::platform {
namespace {

namespace fs = std::filesystem;

constexpr int kLinkLimit = 40;  // as the kernel's own limit on a chain of links
constexpr int kNameAttempts = 16;
constexpr std::string_view kTemporaryTag = ".kestrel-";
constexpr std::string_view kTemporaryEnd = ".tmp";

// The file a write to `target` replaces: the end of a chain of links (which
// need not exist yet).
fs::path link_target(fs::path path) {
  for (int i = 0; i < kLinkLimit; ++i) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    fs::path next = fs::read_symlink(path, ec);
    if (ec) return path;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return path;
}

fs::path folder_of(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

// ".plano.dxf.kestrel-" — what every temporary file for `target` starts with.
std::string temporary_prefix(const fs::path& target) {
  std::string prefix = ".";
  prefix += target.filename().string();
  prefix += kTemporaryTag;
  return prefix;
}

// ".plano.dxf.kestrel-<pid>-<random>.tmp": the pid lets a later run tell a
// dead writer's leftovers from a live writer's file.
std::string temporary_name(const fs::path& target, std::uint64_t random) {
  std::string name = temporary_prefix(target);
  name += std::to_string(::getpid());
  name += '-';
  char digits[17];
  const auto end = std::to_chars(digits, digits + sizeof digits - 1, random, 16).ptr;
  name.append(digits, end);
  name += kTemporaryEnd;
  return name;
}

// The writer's pid in a temporary file's name, or 0 when the name is not one of ours.
pid_t writer_of(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix) || !name.ends_with(kTemporaryEnd)) return 0;
  name.remove_prefix(prefix.size());
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
  if (error != std::errc() || end == name.data() || *end != '-' || pid <= 0) return 0;
  return pid;
}

bool process_is_gone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

void sync_folder(const fs::path& folder) noexcept {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);  // best effort: the rename has happened already
  ::close(fd);
}

}  // namespace

SafeFileOutput::SafeFileOutput(const fs::path& target, std::span<const fs::path> inputs, mode_t new_mode)
    : target_(link_target(target)) {
  if (target.empty()) fail("no tiene nombre");
  for (const fs::path& input : inputs) {
    if (same_file(target_, input)) fail("es el archivo de entrada «" + input.string() + "»");
  }
  struct stat info {};
  if (::stat(target_.c_str(), &info) != 0) {
    if (errno != ENOENT) fail_errno("no se puede consultar");
    struct stat folder {};
    if (::stat(folder_of(target_).c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) fail("la carpeta no existe");
    open_temporary(new_mode);
    return;
  }
  if (S_ISDIR(info.st_mode)) fail("es una carpeta");
  if (S_ISBLK(info.st_mode)) fail("es un dispositivo de bloques");
  if (S_ISSOCK(info.st_mode)) fail("es un socket");
  if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)) {
    file_.fd = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (file_.fd < 0) fail_errno("no se puede abrir");
    return;
  }
  open_temporary(new_mode);
  // A replaced file keeps what it was: its permissions, and its owner when we may set it.
  if (::fchmod(file_.fd, info.st_mode & 07777) != 0) fail_errno("no se pueden conservar los permisos");
  (void)!::fchown(file_.fd, info.st_uid, info.st_gid);
}

SafeFileOutput::SafeFileOutput(int fd, fs::path shown) noexcept : target_(std::move(shown)) {
  file_.fd = fd;
  file_.owned = false;
}

SafeFileOutput SafeFileOutput::standard_output() { return SafeFileOutput(STDOUT_FILENO, "-"); }

void SafeFileOutput::open_temporary(mode_t new_mode) {
  (void)remove_stale_temporaries(target_);
  const fs::path folder = folder_of(target_);
  std::mt19937_64 random(std::random_device{}());
  for (int attempt = 0; attempt < kNameAttempts && file_.fd < 0; ++attempt) {
    std::string candidate = (folder / temporary_name(target_, random())).string();
    int open_error = 0;
    {
      // The file and its registration come together: an interrupt between
      // the two would leave the file behind.
      const InterruptsDeferred deferred;
      file_.fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, new_mode);
      open_error = errno;
      if (file_.fd >= 0) registration_.emplace(candidate);
    }
    errno = open_error;
    if (file_.fd >= 0) {
      file_.temporary = std::move(candidate);
    } else if (errno != EEXIST) {
      fail_errno("no se puede crear un archivo temporal en su carpeta");
    }
  }
  if (file_.fd < 0) fail("no se puede crear un archivo temporal en su carpeta");
}

SafeFileOutput::OpenFile::~OpenFile() {
  if (fd >= 0 && owned) ::close(fd);
  if (!committed && !temporary.empty()) ::unlink(temporary.c_str());
}

void SafeFileOutput::write(std::string_view bytes) {
  written_ += bytes.size();
  while (!bytes.empty()) {
    const ssize_t n = ::write(file_.fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fail_errno("error de escritura");
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  if (written_ - sent_to_disk_ >= kWriteBackChunk) start_write_back();
}

// The disk starts on what is written while the rest is formatted, so that
// commit()'s flush finds little left: a 500 MB output otherwise waited half a
// second there. Only a start: a failure here shows in commit()'s flush. A
// large output is also flushed in the background, as the flush waits for
// the disk's own cache too.
void SafeFileOutput::start_write_back() {
  const std::uint64_t from = std::exchange(sent_to_disk_, written_);
  if (file_.temporary.empty()) return;
#ifdef __linux__
  (void)::sync_file_range(file_.fd, static_cast<off_t>(from), static_cast<off_t>(written_ - from),
                          SYNC_FILE_RANGE_WRITE);
#endif
  if (from < kBackgroundFlushChunk && written_ >= kBackgroundFlushChunk) {
    try {
      flusher_ = std::make_unique<BackgroundFlush>(file_.fd, kBackgroundFlushChunk);
    } catch (const std::system_error&) {
      // No thread to spare: commit() flushes it all, as for a small output.
    }
  }
  if (flusher_) flusher_->written(written_);
}

void SafeFileOutput::commit() {
  if (file_.temporary.empty()) {  // a device, a pipe: written in place
    file_.committed = true;
    return;
  }
  if (flusher_) {
    flusher_->finish();
    if (flusher_->error() != 0) {
      errno = flusher_->error();
      fail_errno("no se puede llevar al disco");
    }
  }
  if (::fsync(file_.fd) != 0) fail_errno("no se puede llevar al disco");
  if (::close(std::exchange(file_.fd, -1)) != 0) fail_errno("error de escritura al cerrar");
  {
    // The rename and forgetting the temporary go together: an interrupt in
    // between would find nothing to remove yet report the run as aborted.
    const InterruptsDeferred deferred;
    if (::rename(file_.temporary.c_str(), target_.c_str()) != 0) fail_errno("no se puede reemplazar");
    file_.committed = true;
    registration_.reset();
  }
  sync_folder(folder_of(target_));
}

void SafeFileOutput::fail(std::string_view reason) const {
  std::string description = "No se puede escribir «";
  description += target_.string();
  description += "»: ";
  description += reason;
  throw core::Error(core::kPathFileAccess, core::kRuntimeSource, std::move(description));
}

void SafeFileOutput::fail_errno(std::string_view what) const {
  std::string reason(what);
  reason += " (";
  reason += std::strerror(errno);
  reason += ')';
  fail(reason);
}

bool same_file(const fs::path& a, const fs::path& b) noexcept {
  struct stat x {}, y {};
  if (::stat(a.c_str(), &x) != 0 || ::stat(b.c_str(), &y) != 0) return false;
  return x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

std::size_t remove_stale_temporaries(const fs::path& target) noexcept {
  const std::string prefix = temporary_prefix(target);
  std::size_t removed = 0;
  std::error_code ec;
  for (fs::directory_iterator it(folder_of(target), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const pid_t writer = writer_of(name, prefix);
    if (writer == 0 || !process_is_gone(writer)) continue;
    struct stat info {};
    if (::lstat(it->path().c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) continue;
    if (::unlink(it->path().c_str()) == 0) ++removed;
  }
  return removed;
}

}  // namespace kestrel::platform
