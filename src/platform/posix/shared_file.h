// A file that several processes read and append to under advisory locks:
// what identifies one state of its content, reading it together with that
// identity, appending to it, and the readers' shared lock (POSIX).
// Failures throw std::system_error naming the file.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel::platform {

// One state of a file: which file it is (device, inode), its size and its
// modification and change times. A file replaced by a rename, appended to or
// rewritten in place gets another stamp.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};
  friend bool operator==(const FileStamp& a, const FileStamp& b) noexcept;
};

// The stamp of `file` (of the file a symbolic link points to); nullopt when
// it does not exist.
[[nodiscard]] std::optional<FileStamp> stamp_of(const std::filesystem::path& file);

struct StampedContent {
  std::string bytes;
  FileStamp stamp;  // taken before the bytes were read
};

// The whole content of `file` and its stamp; nullopt when it does not exist.
// Throws when it exists but cannot be read or is not a regular file.
[[nodiscard]] std::optional<StampedContent> read_stamped(const std::filesystem::path& file);

// Appends `text` to the existing `file` in one write and returns the file's
// stamp after it. The text is not forced to disk: a crash may lose it, or
// leave its beginning only, never touch what the file held before.
FileStamp append_to_file(const std::filesystem::path& file, std::string_view text);

// The advisory lock (flock) of a file that several processes share, kept in
// `lock_file`: readers take it shared, writers exclusively. The lock file
// also counts the writes (a 64-bit number at its start), so that a process
// that remembers the count it read under the lock knows for certain whether
// anyone wrote since, whatever the file's stamp says. The lock file is
// created when missing and never removed (removing it would let two writers
// lock different files).
class FileLock {
 public:
  enum class Mode { kShared, kExclusive };

  // Blocks until the lock is granted. An exclusive lock that cannot be had
  // throws; a shared one is then simply not held (a folder that is not ours
  // to write: reading goes on without it).
  FileLock(const std::filesystem::path& lock_file, Mode mode);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // The count of writes; nullopt when no lock is held.
  [[nodiscard]] std::optional<std::uint64_t> writes() const noexcept;
  // Adds one to the count (exclusive lock only). Throws when it cannot.
  void count_write();

 private:
  std::filesystem::path path_;
  int fd_ = -1;
};

}  // namespace kestrel::platform
