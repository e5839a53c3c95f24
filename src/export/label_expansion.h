// Labels that stand for several texts: grid frames ("11") and scale bars
// ("12") generate their own labels and lines during the preparation pass.
#pragma once

#include <cstdint>

#include "export/label_placement.h"

namespace kestrel::exporting {

// Appends `label` after NumRotulos and counts it, growing `Rotulos` when
// the reserved room is spent.
void append_label(model::DrawingModel& m, model::t_Rotulo label);

// Kinds "11" and "12": the label's text becomes "*Cuadricula*" or
// "*Escala*"; in the preparation pass the grid or scale generator runs.
void expand_frame(LabelWorkspace& ws, std::int32_t i);

// `Cuadricula_Rotulos`: the frame of label i (corners ordered lower-left
// first) and eight coordinate labels around it: "Y1=" y1 left of the lower
// left corner, then alternately "X=" and "Y=" (x1 below, y1 right, x2
// below, y2 left, x1 above, y2 right, x2 above), half a size off the frame.
void Cuadricula_Rotulos(LabelWorkspace& ws, std::int32_t i);

// `Escala_Rotulos`: the bar of label i along its first Y with a tick at
// each end, "0" at (x1 − size/2, y1 + size) and the bar's length x2 − x1
// at (x2 − size, y2 + size).
void Escala_Rotulos(LabelWorkspace& ws, std::int32_t i);

}  // namespace kestrel::exporting
