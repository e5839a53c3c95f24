#include "platform/fonts_folder.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kestrel::platform {

namespace fs = std::filesystem;

#ifdef _WIN32

std::string system_fonts_folder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
  fs::path fonts = length > 0 && length <= MAX_PATH ? fs::path(folder) : fs::path(L"C:\\Windows");
  return (fonts / "Fonts").string() + "\\";
}

fs::path program_folder() {
  HMODULE self = nullptr;
  wchar_t file[MAX_PATH + 1] = {};
  if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&program_folder), &self)) {
    const DWORD length = GetModuleFileNameW(self, file, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return fs::path(file).parent_path();
  }
  std::error_code ec;
  fs::path here = fs::current_path(ec);
  return ec ? fs::path(".") : here;
}

#else

std::string system_fonts_folder() { return "/usr/share/fonts/truetype/msttcorefonts/"; }

fs::path program_folder() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec && self.has_parent_path()) return self.parent_path();
  fs::path here = fs::current_path(ec);
  return ec ? fs::path(".") : here;
}

#endif

namespace {

bool same_ignoring_case(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

std::optional<fs::path> find_file_any_case(const fs::path& path) {
  std::error_code ec;
  if (fs::is_regular_file(path, ec)) return path;
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  const std::string wanted = path.filename().string();
  fs::directory_iterator it(folder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    if (same_ignoring_case(it->path().filename().string(), wanted) && it->is_regular_file(ec)) return it->path();
  }
  return std::nullopt;
}

}  // namespace kestrel::platform
