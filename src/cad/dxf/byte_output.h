// A file that replaces its target only once it is complete.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/byte_sink.h"

namespace kestrel::dxf {

// Writes to a new temporary file in the target's folder; commit() renames
// it over the target, keeping the permission bits of a file it replaces.
// Destroyed without commit() (an error on the way), it removes the
// temporary file and leaves the target as it was.
class AtomicFileOutput final : public core::ByteSink {
 public:
  explicit AtomicFileOutput(std::filesystem::path target);
  ~AtomicFileOutput() override;
  AtomicFileOutput(const AtomicFileOutput&) = delete;
  AtomicFileOutput& operator=(const AtomicFileOutput&) = delete;

  void write(std::string_view bytes) override;
  void commit();

  [[nodiscard]] const std::filesystem::path& temporary() const noexcept { return temporary_; }

 private:
  [[noreturn]] void fail(std::string_view what) const;

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::ofstream file_;
  bool committed_ = false;
};

}  // namespace kestrel::dxf
