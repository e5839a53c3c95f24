// What the export dialog offers that the engine does not draw yet: the
// block references have their dialog event but no generator. An export never claims to have drawn them:
// asked for on the command line they are refused before any work; ticked
// only by the drawing's own flags, they are unticked and reported as left out.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "export/f_acad.h"
#include "model/drawing_model.h"
#include "tools/kestrel/export_options.h"

namespace kestrel::cli {

// The first option asked for that cannot be honoured ("--contours"), or nullopt.
[[nodiscard]] std::optional<std::string> unsupported_request(const ExportOptions& options);

// Unticks, on `dialog`, every item that would raise an event without a
// generator, and says what of the drawing is thereby left out
// ("12 texts" ...); empty when nothing is.
[[nodiscard]] std::vector<std::string> leave_out_undrawn(exporting::f_Acad& dialog, const model::DrawingModel& m);

}  // namespace kestrel::cli
