// The subcommands of the kestrel tool. Each returns the process exit code.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kestrel::cli {

struct CommonOptions {
  std::optional<std::filesystem::path> settings_file;
};

struct SessionOptions {
  std::string cad_label = "ZWCAD 2021(x64)";
};

// Installs the embedded CAD under the label's class, connects with
// IniciaAutocad and prints what the session answered.
int run_session(const CommonOptions& common, const SessionOptions& options);

}  // namespace kestrel::cli
