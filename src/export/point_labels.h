// Point labels: next to each exported point up to four single-line texts —
// its name, its number (optionally with X and Y), its code and its
// elevation — as the export dialog selects them.
#pragma once

#include "export/export_state.h"

namespace kestrel::exporting {

// `Autocad_Genera_Textos0`: labels at fixed offsets from each point, height
// AlturaR. Points coded "/" and, with CapAc = 1, points on layers that are
// off get none; a point with an empty name gets no name label. With
// "Crear atributos en una sola capa" each kind goes on a layer of its own
// (PrefCap + "P_Nombre", "P_Numero", "P_Codigo", "P_Z", created first for
// the selected kinds) with colour by layer; otherwise on the point's layer
// in CapasCreadas with the kind's colour. Vertical labels are rotated a
// quarter turn. Elevations are raised by DeformaZ and are 0 in 2D. Progress
// and abort as for the points. Errors are trapped (" Textos - Error   nº "
// for 91 and 13, "Textos - Error   nº  " for the others).
void Autocad_Genera_Textos0(ExportContext& ctx, double& AlturaR);

// `Autocad_Genera_Textos`: as Autocad_Genera_Textos0, with horizontal labels
// at the positions of the user's preferences (above, right, below), lined up
// along running widths. Errors are trapped (" Textos - Error " for 91 and
// 13, "Textos - Error   nº  " for the others).
void Autocad_Genera_Textos(ExportContext& ctx, double& AlturaR);

}  // namespace kestrel::exporting
