// What `kestrel export` is asked to do, and how a non-interactive user turns
// those choices into ticks and texts on the export dialog. A choice left
// unset keeps what the dialog shows: the drawing's own flags and the options
// restored from the settings.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "export/f_acad.h"

namespace kestrel::cli {

struct ExportOptions {
  std::filesystem::path input;
  std::filesystem::path output;
  std::string cad_label = "ZWCAD 2021(x64)";
  bool quiet = false;

  // What to generate.
  std::optional<bool> points, polylines, contours, texts, blocks, hatches;
  std::optional<std::string> triangles;  // "none", "3d", "3d-rendered", "2d-solid", "2d-rendered"
  // How.
  std::optional<bool> three_d;           // false: 2D
  std::optional<int> z_exaggeration;     // 1, 2, 3, 4, 5, 10, 20, 30
  std::optional<std::string> layer_prefix;
  bool skip_off_layers = false;
  // Each triangle on the layer of the smallest closed polyline around it.
  bool colour_by_areas = false;
  // The host's coloured quads (A_Colores), from a file of their own; empty: none.
  std::filesystem::path quads;
  // Point labels.
  std::optional<std::vector<std::string>> labels;  // of "name", "number", "code", "x", "y", "z"; empty: none
  std::optional<int> decimals_x, decimals_y, decimals_z;
  std::optional<std::string> label_height;
  std::optional<std::string> orientation;  // "horizontal" or "vertical"
  std::optional<bool> label_layers;
};

// The values the options accept, for the command line's checks.
inline const std::vector<std::string> kTriangleModes = {"none", "3d", "3d-rendered", "2d-solid", "2d-rendered"};
inline const std::vector<std::string> kLabelKinds = {"name", "number", "code", "x", "y", "z"};
inline const std::vector<int> kExaggerations = {1, 2, 3, 4, 5, 10, 20, 30};

// Sets the dialog's controls as a user would (each change runs its handler).
void apply_to_dialog(const ExportOptions& options, exporting::f_Acad& dialog);

}  // namespace kestrel::cli
