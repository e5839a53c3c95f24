// The labels generator: the drawing model's labels (`Rotulos`) written as
// single-line texts in their styles, with the lines and arrowheads their
// placement adds.
#pragma once

#include "core/numeric.h"
#include "export/export_state.h"

namespace kestrel::exporting {

// The style step: every label's `Estilo` ("LEROY" and empty become
// "Arial") created as a text style, at most 500 per call, each given the
// font file of the font table and fonts folder when that file exists. A
// failing statement is skipped.
void make_text_styles(ExportContext& ctx);

// `Autocad_Genera_Rotulos`: the style step; then, when there are labels,
// the preparation pass once and every label drawn (kinds "11" and "12"
// excepted; with CapAc 1 not those on a layer that is off) at its placed
// point, height 0.9 × Altura, rotation (400 − Giro) × 3.141592654 / 200, on
// the layer of `Capas`, in model space (colour by layer) or, with `Bloq`,
// in the block being defined; then LeeFlechas. Progress on the dialog's
// bar, cancel at its steps. Errors are trapped ("Textos - Error   nº ").
void Autocad_Genera_Rotulos(ExportContext& ctx, core::VbBool Bloq);

// `LeeFlechas`: the label registers drawn: each segment a two-vertex
// polyline, each arrowhead a closed polyline (four vertices, first repeated)
// filled with a solid hatch, on the layer of `Capas`; colour by layer in
// model space, none set in a block. Errors are trapped ("LeeFlechas en " +
// step + "- Error   nº "); what was drawn stays.
void LeeFlechas(ExportContext& ctx, core::VbBool Bloq);

}  // namespace kestrel::exporting
