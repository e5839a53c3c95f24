#include "tools/kestrel/cli_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace kestrel::cli {

namespace fs = std::filesystem;

namespace {
constexpr std::size_t kReadChunk = std::size_t{1} << 20;
}

std::string input_name(const fs::path& input) {
  return is_standard_stream(input) ? std::string("standard input") : input.string();
}

void check_input(const fs::path& input) {
  if (is_standard_stream(input)) return;
  std::error_code ec;
  const fs::file_status status = fs::status(input, ec);
  if (!fs::exists(status)) throw std::runtime_error(input.string() + ": no such file");
  if (fs::is_directory(status)) throw std::runtime_error(input.string() + ": is a folder, not a file");
  if (::access(input.c_str(), R_OK) != 0) {
    throw std::runtime_error(input.string() + ": cannot be read (" + std::strerror(errno) + ")");
  }
}

std::string read_input(const fs::path& input) {
  check_input(input);
  const bool standard = is_standard_stream(input);
  const int fd = standard ? STDIN_FILENO : ::open(input.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error(input.string() + ": cannot be read (" + std::strerror(errno) + ")");
  // A regular file is read into one allocation (one byte more shows its end).
  struct stat info {};
  const bool sized = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  std::string text(sized ? static_cast<std::size_t>(info.st_size) + 1 : kReadChunk, '\0');
  std::size_t used = 0;
  for (;;) {
    if (used == text.size()) text.resize(used + std::max(kReadChunk, used / 2));
    const ssize_t n = ::read(fd, text.data() + used, text.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = errno;
      if (!standard) ::close(fd);
      if (n < 0) throw std::runtime_error(input_name(input) + ": cannot be read (" + std::strerror(error) + ")");
      break;
    }
    used += static_cast<std::size_t>(n);
  }
  text.resize(used);
  return text;
}

platform::SafeFileOutput open_output(const fs::path& output, const fs::path& input) {
  if (is_standard_stream(output)) return platform::SafeFileOutput::standard_output();
  const fs::path inputs[] = {input};
  return platform::SafeFileOutput(output, is_standard_stream(input) ? std::span<const fs::path>() : std::span(inputs));
}

}  // namespace kestrel::cli
