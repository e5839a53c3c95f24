// The named blocks of the active CAD drawing brought back one drawing each
// (`Bloques_Saca`), and the walk over the attributes of model space's block
// references (`Atributos`).
#pragma once

#include "core/numeric.h"
#include "core/object.h"
#include "import/import_state.h"
#include "model/records.h"

namespace kestrel::importing {

// The kind written into every block drawing.
inline constexpr const char* kDrawingKindBlock = "BLOQUE";

// `Bloques_Saca`: one drawing (kind "BLOQUE", named after the block) per
// block whose name does not begin with "*", in the drawing's order, each
// holding the block's entities and its base point at index 0 of the point
// lists (name "Bloque"; NumPuntos counts from 1 the points that follow).
// The document's layers are captured first, so that block entities take
// their layer colours. An empty model space or no blocks set `Sal`. With
// `Prop` the copy confirmation is shown first: a cancel sets `Sal`; the
// option "Copiar Bloques" cleared returns no block. Errors are trapped
// ("Bloques_Saca - Error nº "); the blocks read so far are lost then.
[[nodiscard]] model::t_Datos Bloques_Saca(ImportContext& ctx, const core::Obj& Apli, core::VbBool& Sal, bool Prop);

// `Atributos`: walks model space's block references with attributes and
// reads the insertion points of the first one's attributes; nothing is
// kept. Errors are trapped ("Atributos  - Error   nº ").
void Atributos(ImportContext& ctx);

}  // namespace kestrel::importing
