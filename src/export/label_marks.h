// What the placement draws besides texts, in plan terms: segments and
// arrowheads appended to the label registers, only during the preparation
// pass. Shared by the placement of the kinds and the grid and scale bars.
#pragma once

#include <cstdint>

#include "export/label_placement.h"

namespace kestrel::exporting {

// Room between a text and its line, and the length of an arrowhead, as
// fractions of the label size.
inline constexpr double kTextGap = 0.25;
inline constexpr double kArrowLength = 0.6;
inline constexpr double kArrowHalfWidth = 0.15;
// The CAD text height as a fraction of the label size.
inline constexpr double kTextHeight = 0.9;

// Appends the segment a-b (nothing when the points coincide).
void mark_segment(LabelWorkspace& ws, PlanPoint a, PlanPoint b, std::int32_t layer);

// Appends an arrowhead of label size `size` with its tip at `tip`, pointing
// in direction `grads`.
void mark_arrow(LabelWorkspace& ws, PlanPoint tip, double grads, double size, std::int32_t layer);

}  // namespace kestrel::exporting
