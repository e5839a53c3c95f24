// Profile files: one point of a longitudinal profile a line, "chainage,
// elevation", separated by "," or ";", with "." as decimal point and an
// optional header line.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "core/vb_array.h"

namespace kestrel::cli {

// A profile as the host hands it over: `Ptos` points, chainages `Pk` and
// elevations `Ct` at indices 1..Ptos.
struct Profile {
  std::int32_t Ptos = 0;
  core::VbArray<double> Pk, Ct;
};

// Reads the profile. Throws std::runtime_error naming the file, and the line
// for a bad line (not two fields, a field that is not a number), or saying
// that fewer than two points were found.
[[nodiscard]] Profile read_profile_csv(const std::filesystem::path& file);
// The same for text already in memory; `name` stands for the file in messages.
[[nodiscard]] Profile parse_profile_csv(std::string_view text, std::string_view name);

}  // namespace kestrel::cli
