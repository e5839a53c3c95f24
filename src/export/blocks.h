// The block generator: every stored drawing that a point's block-reference
// code ("**NAME/scale/grads") names becomes a block definition of the CAD
// drawing, inserted at each such point.
#pragma once

#include "export/export_state.h"

namespace kestrel::exporting {

// `Autocad_crea_Bloques`: nothing when the model has no block references
// (NumBloques 0) or only one stored drawing. Otherwise stores the model back
// into its drawing (`Haz`), then for each point 1..NumPuntos on a layer that
// is on and coded as a block reference: shows "Insertando Bloque " + code +
// " en pto nº " + i in the caption of Chk_Capas; skips a reference to a
// drawing that does not exist or to the current one; defines the block
// (the drawing brought in with its options kept, its layers cleaned, origin
// at its point 0, name cleaned by Limpia_Nombre_Bloque with the drawing's
// index, filled by the polyline and label generators) the first time its
// name is met in this run only; and inserts it at the point with the code's
// scale on X, Y and Z, the rotation of block_insertion_rotation, on the
// point's layer. The current drawing is selected back (its stored options
// included) before returning, also after an error. Errors are trapped:
// "Autocad_crea_Bloques en " + step + " - Error nº  " + number + " " +
// description + " " + MsgVersion; the references inserted so far stay.
void Autocad_crea_Bloques(ExportContext& ctx);

// `Autocad_genera_Bloques`: runs Autocad_crea_Bloques.
void Autocad_genera_Bloques(ExportContext& ctx);

// `Autocad_Genera_Rotulos_Bloques`: the labels generator writing into the
// block being defined.
void Autocad_Genera_Rotulos_Bloques(ExportContext& ctx);

}  // namespace kestrel::exporting
