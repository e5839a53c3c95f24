// The files a command reads and writes. "-" stands for standard input (as
// INPUT) or standard output (as OUTPUT).
#pragma once

#include <filesystem>
#include <string>

#include "platform/posix/safe_output.h"

namespace kestrel::cli {

[[nodiscard]] inline bool is_standard_stream(const std::filesystem::path& path) { return path == "-"; }

// How INPUT is named in messages: the path, or "standard input".
[[nodiscard]] std::string input_name(const std::filesystem::path& input);

// Throws std::runtime_error naming INPUT when it is missing, a folder or
// otherwise not a file that can be read. Standard input always passes.
void check_input(const std::filesystem::path& input);

// The whole of INPUT. Throws std::runtime_error naming it when it cannot be read.
[[nodiscard]] std::string read_input(const std::filesystem::path& input);

// Opens OUTPUT before any work is done, so that an output that cannot be
// written (a missing folder, a folder, the input itself under any name) is
// refused at once. Throws core::Error 75 naming it.
[[nodiscard]] platform::SafeFileOutput open_output(const std::filesystem::path& output,
                                                   const std::filesystem::path& input);

}  // namespace kestrel::cli
