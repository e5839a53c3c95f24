// Placing the labels (`Rotulos`) before they are written: dimension texts
// rebuilt from their points, texts measured, insertion points chosen, and
// the segments and arrowheads that go with them collected in the model's
// label registers (drawn afterwards by LeeFlechas). docs/labels.md shows
// the design of every kind.
#pragma once

#include <cstdint>
#include <string>

#include "export/label_geometry.h"
#include "model/drawing_model.h"
#include "platform/text_measure.h"

namespace kestrel::exporting {

// What one placement run works with.
struct LabelWorkspace {
  model::DrawingModel& m;
  platform::TextMeasure& measure;
  // True only during the preparation pass: only then are segments,
  // arrowheads and expanded labels appended.
  bool PrimeraPasada = false;
  PlanPoint reference;  // the anchor of the label being placed
};

// `Ancho_Texto`: the width of `text` in face `face` at label size `size`.
[[nodiscard]] double Ancho_Texto(LabelWorkspace& ws, const std::string& text, double size, const std::string& face);

// `Anota_Linea` / `Anota_Flecha`: append one segment / arrowhead (three
// corners) on model layer `layer`; error 9 past the registers' sized length.
void Anota_Linea(model::LabelRegisters& r, double x1, double y1, double x2, double y2, std::int32_t layer);
void Anota_Flecha(model::LabelRegisters& r, double x1, double y1, double x2, double y2, double x3, double y3,
                  std::int32_t layer);

// `Prepara_Rotulos`: sizes `Rotulos` and the registers for the expansions
// (8 labels per grid frame, 2 per scale bar, one per "#"), empties the
// registers and places every label 1..NumRotulos whose layer is on (a layer
// index above NumCapas becomes NumCapas first). A statement or a placement
// that fails is skipped.
void Prepara_Rotulos(LabelWorkspace& ws);

// `Coloca_Rotulo`: places label `i` (mode 1 is the only mode). Kinds "5",
// "6", "7" get their text from their points and a placed point in Xc, Yc;
// "8" likewise; "11" and "12" become "*Cuadricula*" / "*Escala*" and, in
// the preparation pass, append their generated labels. A text holding "#"
// keeps its first line and, in the preparation pass, appends one label per
// further line. Does nothing for a contour label when contours are not
// offered, or for an index above NumRotulos.
void Coloca_Rotulo(LabelWorkspace& ws, std::int32_t i, std::int32_t mode);

}  // namespace kestrel::exporting
