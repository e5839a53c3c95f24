// Consistency checks of a record read from a file: every count agrees with
// its arrays and every point names an existing layer. A failing check raises
// error 9 naming the field and position ("Dibujos[2].X: 4 elementos (1..4),
// NuPun dice 5").
//
// Rules: a count is never negative. With count 0 an array may be
// unallocated, allocated without items, or end at 0. Otherwise it is
// allocated, starts at 1 or at 0 (`Vert` and `VertC` always at 0) and ends at
// the count; the drawing list of a `t_Datos` may end beyond `NuDibujos`
// (an import leaves one spare drawing). Each point's layer `Capa(1..NuPun)`
// lies in 1..nuCapas. Other indices (triangle vertices, polyline vertices,
// text layers) are not checked here.
#pragma once

#include "recordfile/record_path.h"
#include "model/records.h"

namespace kestrel::model::json_detail {

void check_record(const t_Poli& poli, const PathNode& at);
void check_record(const t_Curva& curva, const PathNode& at);
void check_record(const t_Curvado& curvado, const PathNode& at);
void check_record(const t_Dibujo& drawing, const PathNode& at);
void check_record(const t_Datos& set, const PathNode& at);

// Records without counts.
template <class R>
void check_record(const R&, const PathNode&) {}

}  // namespace kestrel::model::json_detail
