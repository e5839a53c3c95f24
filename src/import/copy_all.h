// `Copia__Todo`: the whole model space of the active CAD drawing copied
// into the drawing model and handed back as the single drawing of the
// import's drawing set, with progress shown on the host's form.
#pragma once

#include "core/numeric.h"
#include "core/object.h"
#include "import/import_state.h"
#include "model/records.h"

namespace kestrel::importing {

// The kind written into every copied drawing.
inline constexpr const char* kDrawingKindPlan = "PLANTA";

// Copies the drawing. An empty model space sets `Salir` to true and returns
// the drawing set as it was. Otherwise the set ends with one drawing (kind
// "PLANTA", named after the document) and a copy of it is returned. With
// `TodoC` the points-present flag stays 0. Errors are trapped
// ("Copia__Todo - Error    nº "); an empty set is returned then.
[[nodiscard]] model::t_Datos Copia__Todo(ImportContext& ctx, const core::Obj& Apli, bool TodoC, core::VbBool& Salir);

// The extents block filled from a document's Limits (x min, y min, x max, y max).
void set_extents_from_limits(model::Opciones& options, const core::VbArray<double>& limits);

// The presence flags after a copy; `with_triangles` false leaves the
// triangle flags as they are and ignores `TodoC`.
void set_presence_flags(model::DrawingModel& model, bool TodoC, bool with_triangles);

}  // namespace kestrel::importing
