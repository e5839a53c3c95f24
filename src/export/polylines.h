// The polylines of the drawing model as CAD entities: 2D or 3D polylines,
// circles and arcs by the record's shape code, closed polylines hatched.
#pragma once

#include <cstdint>

#include "core/numeric.h"
#include "export/export_state.h"

namespace kestrel::exporting {

// The elevation remembered for a polyline whose vertices differ in Z.
inline constexpr double kMixedElevation = -0.00007;

// `Autocad_Genera_Polilineas`: draws every polyline record 1..NumPolis by
// its shape code (Vert(0)): 0 or negative with 2+ vertices a polyline
// (AddPolyline in 2D mode, else Add3DPoly with Z x DeformaZ), 2 a circle
// centred on vertex 1 through vertex 2, 3 the arc through its three
// vertices, 4 the circle on the diameter vertex 1 - vertex 2, 5 the circle
// through three vertices; any other code or count draws nothing. Entities
// go to model space, or with `EnBloque` to state.BloqueActual (then, in 2D
// mode, a polyline whose vertices share one Z other than 0 gets it as its
// elevation). Layer: the model layer's cleaned name (Limpia_Capas), "Poli"
// when empty; colour 256 (by layer) when the record's colour is 0. A closed
// polyline (Poli_Cerrada) is hatched by its shape code unless chkSombrea is
// checked. With CapAc = 1 records on layers that are off are skipped.
// The progress bar (Max = NumPolis / s + 1) moves every s-th record and a
// confirmed abort ends the run there. Before drawing, the run asks for the
// true-colour object (Color_True), then cleans the layer names.
// Errors are trapped: "Polilineas: " + record number + "  Error nº " +
// number + ": " + description; errors 91 and 13 (the CAD of the wrong
// bitness) give the bitness advice instead and set NumPolis to 0.
void Autocad_Genera_Polilineas(ExportContext& ctx, core::VbBool& EnBloque);

// `Pega_Polilinea`: shows the CAD, adds polyline record `nPol` to model
// space as a 3D polyline with the points' own coordinates, creates its
// layer (Autocad_Crea_Capa) and puts it there, then tells the user
// "Polilinea copiada". Errors are trapped: "Autocad Pega_Polilinea - Error
// nº " + number + ": " + description.
void Pega_Polilinea(ExportContext& ctx, std::int32_t& nPol);

}  // namespace kestrel::exporting
