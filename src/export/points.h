// The points of the drawing model as point entities of the CAD drawing.
#pragma once

#include "export/export_state.h"

namespace kestrel::exporting {

// `Autocad_Genera_Puntos`: adds every point 1..NumPuntos to the model space
// as a point of colour 2 on its layer's name in CapasCreadas (so the layer
// generator must have run in the same export), with Z = 0 when Solo2D.
// Points coded "/" and, with CapAc = 1, points on layers that are off are
// not drawn. Then sets PDMODE = 34 and PDSIZE = the label height typed in
// the dialog. The progress bar moves every s-th point (s = NumPuntos / 500,
// at least 1); at each move pending messages run and a confirmed abort
// (Cancelar) ends the run there, leaving PDMODE, PDSIZE, the pointer and the
// bar as they are. Nothing happens when there are no points.
// Errors are trapped: "Puntos - Error en " + step tag ...; errors 91 and 13
// (the CAD of the wrong bitness) also set NumRotulos to 0 so that no labels
// follow in this export.
void Autocad_Genera_Puntos(ExportContext& ctx);

}  // namespace kestrel::exporting
