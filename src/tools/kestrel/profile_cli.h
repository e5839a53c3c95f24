// The `profile` subcommand: a longitudinal profile from a chainage/elevation
// file drawn by the engine's `Dibuja_perfil` and saved as DXF.
#pragma once

#include <CLI/CLI.hpp>

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "tools/kestrel/commands.h"

namespace kestrel::cli {

struct ProfileOptions {
  std::filesystem::path input;
  std::filesystem::path output;
  // The insertion point the CAD's point pick answers; unset: the first
  // point's own chainage and elevation, so the drawing's X and Y read as
  // chainage and elevation.
  std::optional<std::array<double, 2>> at;
  std::string cad_label = "ZWCAD 2021(x64)";
  bool quiet = false;
};

// Declares `kestrel profile` and its options on `app`, filling `options`.
CLI::App* add_profile_command(CLI::App& app, ProfileOptions& options);

// Draws the profile of INPUT in the embedded CAD and saves it as OUTPUT.
// Exit codes: 0 written; 1 unreadable INPUT; 3 no CAD session; 5 the engine
// reported an error (nothing drawn); 6 the DXF file could not be written.
// OUTPUT is written only on success and then replaced whole.
int run_profile(const CommonOptions& common, const ProfileOptions& options);

}  // namespace kestrel::cli
