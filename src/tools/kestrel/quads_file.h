// The coloured quads a host hands over with A_Colores, from a file of their
// own next to the record file (`kestrel export --quads FILE`); the format is
// described in docs/record-format.md.
#pragma once

#include <filesystem>

#include "export/surface_colours.h"

namespace kestrel::cli {

// Reads FILE: {"format": "kestrel-quads", "version": 1, "Vn1": n, "Vc1":
// [...], "Vx0": [...], ... "Vz3": [...]}, every list holding n items (quad 1
// first). Throws std::runtime_error naming the file and what is wrong with it.
[[nodiscard]] exporting::ColouredQuads read_quads_file(const std::filesystem::path& file);

}  // namespace kestrel::cli
