// Where fonts and the program's own data live on this system, and the
// Windows rule for finding a file: names compare without regard to case.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kestrel::platform {

// The system's folder of TrueType files named as their Windows originals
// ("Arial.ttf", "times.ttf"), with its trailing separator: on Linux the
// folder Debian's core-fonts package installs into,
// "/usr/share/fonts/truetype/msttcorefonts/"; on Windows the Fonts folder
// of the Windows folder ("C:\Windows\Fonts\"). Callers let a setting
// override it.
[[nodiscard]] std::string system_fonts_folder();

// The folder of the running program (where its data files sit beside it;
// on Windows the folder of the module holding this code, so the automation
// library's own folder); the current folder when the system cannot tell.
[[nodiscard]] std::filesystem::path program_folder();

// The file at `path`, or the one in the same folder whose name differs from
// it only in ASCII case; nullopt when there is none or the folder cannot be
// read. Never raises.
[[nodiscard]] std::optional<std::filesystem::path> find_file_any_case(const std::filesystem::path& path);

}  // namespace kestrel::platform
