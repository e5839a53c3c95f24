// Points files as survey instruments and spreadsheets write them: one point
// a line, "name, x, y, z[, code]", separated by ",", ";" or a tab, with "."
// or (when the separator is not ",") "," as decimal point, an optional
// header line. They become a drawing with one layer, "PUNTOS".
#pragma once

#include <filesystem>
#include <string_view>

#include "model/records.h"

namespace kestrel::cli {

// Reads the points. Throws std::runtime_error naming the file and line for
// a line with too few fields or a coordinate that is not a number.
[[nodiscard]] model::t_Dibujo read_points_csv(const std::filesystem::path& file);
// The same for text already in memory; `name` stands for the file in
// messages, and its stem names the drawing.
[[nodiscard]] model::t_Dibujo parse_points_csv(std::string_view text, std::string_view name);

}  // namespace kestrel::cli
