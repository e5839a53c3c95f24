// SafeFileOutput: the one way Kestrel writes a file (drawings, record files,
// settings).
//
// For a regular target the bytes go to a new temporary file in the target's
// folder (unique name, exclusive creation, links never followed), which
// commit() flushes to disk and renames over the target; the folder is then
// flushed too. Readers see the old file or the new one, never a part; a run
// that fails, is interrupted (see interrupts.h) or is destroyed without
// commit() leaves the target as it was and no temporary file behind. A
// replaced file keeps its permission bits (and its owner where allowed); a
// symbolic link stays a link and the file it points to is replaced.
//
// A character device or a FIFO (the null device, a terminal, a pipe) is
// written into directly: there is nothing to rename over. Standard output
// is one such target.
//
// Refused, with core::Error 75 naming the target and the reason, before
// anything is written: a folder, a block device, a socket, a missing folder,
// and a target that is the same file as one of the given inputs (by any
// name: a link, a hard link, another path).
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/byte_sink.h"
#include "platform/posix/background_flush.h"
#include "platform/posix/interrupts.h"

namespace kestrel::platform {

class SafeFileOutput final : public core::ByteSink {
 public:
  // `new_mode`: permission bits of a new file, before the umask.
  explicit SafeFileOutput(const std::filesystem::path& target,
                          std::span<const std::filesystem::path> inputs = {}, mode_t new_mode = 0666);
  // Standard output.
  static SafeFileOutput standard_output();
  ~SafeFileOutput() override = default;
  SafeFileOutput(const SafeFileOutput&) = delete;
  SafeFileOutput& operator=(const SafeFileOutput&) = delete;

  void write(std::string_view bytes) override;
  // Makes the output final: flushed to disk and renamed over the target.
  void commit();

  // The temporary file being written ("" when writing into the target directly).
  [[nodiscard]] const std::string& temporary() const noexcept { return file_.temporary; }
  // The file the output replaces (a link resolved), as given in messages.
  [[nodiscard]] const std::filesystem::path& target() const noexcept { return target_; }

 private:
  SafeFileOutput(int fd, std::filesystem::path shown) noexcept;
  void open_temporary(mode_t new_mode);
  void start_write_back();
  [[noreturn]] void fail(std::string_view reason) const;
  [[noreturn]] void fail_errno(std::string_view what) const;

  // Closes the descriptor and, unless committed, removes the temporary
  // file — also when a constructor step after its creation fails.
  struct OpenFile {
    int fd = -1;
    bool owned = true;
    bool committed = false;
    std::string temporary;  // "" when writing into the target directly
    OpenFile() = default;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile();
  };

  static constexpr std::uint64_t kWriteBackChunk = std::uint64_t{8} << 20;
  // Outputs larger than this are flushed to disk as they are written.
  static constexpr std::uint64_t kBackgroundFlushChunk = std::uint64_t{64} << 20;

  std::filesystem::path target_;
  std::uint64_t written_ = 0;
  std::uint64_t sent_to_disk_ = 0;  // bytes whose write-back was started
  std::optional<TemporaryRegistration> registration_;  // outlives file_: removed before released
  OpenFile file_;
  std::unique_ptr<BackgroundFlush> flusher_;  // after file_: stopped before the descriptor closes
};

// True when `a` and `b` name the same existing file (links followed).
[[nodiscard]] bool same_file(const std::filesystem::path& a, const std::filesystem::path& b) noexcept;

// Removes temporary files that earlier runs writing to `target` left behind
// when they were killed (their process is gone). Returns how many.
std::size_t remove_stale_temporaries(const std::filesystem::path& target) noexcept;

}  // namespace kestrel::platform
