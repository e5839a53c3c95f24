// For the Windows test programs only: the DXF and record-file code they
// build with names the Linux safe output for its whole-file writes, which
// these programs never use (they write DXF and record text themselves).
// Such a write fails with error 75.
#pragma once

#include <filesystem>
#include <string_view>

#include "core/byte_sink.h"
#include "core/error.h"

namespace kestrel::platform {

class SafeFileOutput final : public core::ByteSink {
 public:
  explicit SafeFileOutput(const std::filesystem::path&) { core::raise(core::kPathFileAccess); }
  void write(std::string_view) override {}
  void commit() {}
};

}  // namespace kestrel::platform
