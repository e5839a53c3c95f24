// Whole-file reads, advisory locks and atomic replacement of small files
// (POSIX). Read and lock failures throw std::system_error naming the file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel::platform {

// The whole content of `file`; nullopt when it does not exist. Throws when it
// exists but cannot be read or is not a regular file.
[[nodiscard]] std::optional<std::string> read_file_if_exists(const std::filesystem::path& file);

// An exclusive advisory lock (flock) on `lock_file`, created when missing and
// never removed (removing it would let two writers lock different files).
// Blocks until the lock is granted; released on destruction. Locks taken
// through different objects exclude each other, in one process or several.
class ExclusiveFileLock {
 public:
  explicit ExclusiveFileLock(const std::filesystem::path& lock_file);
  ~ExclusiveFileLock();
  ExclusiveFileLock(const ExclusiveFileLock&) = delete;
  ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

 private:
  int fd_;
};

// Replaces `file` (or, when it is a symbolic link, the file it points to)
// with `contents` through a SafeFileOutput (safe_output.h): readers see the
// old or the new file, never a part. A replaced file keeps its permission
// bits; a new one is private (0600). Throws core::Error 75 naming the file.
void replace_file_atomically(const std::filesystem::path& file, std::string_view contents);

}  // namespace kestrel::platform
