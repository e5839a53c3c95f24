// The interactive imports: a selection made on screen (`Copia__Seleccion`
// through `ListSelectionSets`), one picked line or polyline (`Copia_Pol`),
// and the keyword entry that chooses between the whole drawing and a
// selection (`Copia_Todo3`).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/numeric.h"
#include "core/object.h"
#include "import/import_state.h"
#include "model/records.h"

namespace kestrel::importing {

// The name of a new selection set: "SS" and a clock-seeded random number
// in [0, 1) rounded to 4 decimals ("SS0.7055").
[[nodiscard]] std::string selection_set_name();

// `ListSelectionSets`: adds a selection set to the active document, lets
// the user select on screen and answers the set and its Count. Every step
// that fails is skipped (Num then stays 0 and SSet empty).
void ListSelectionSets(Module& module, core::Obj& SSet, std::int32_t& Num);

// `Copia__Seleccion`: asks the user to go on, has them select, shows the
// copy confirmation and copies the selection into the drawing set, which
// then holds exactly that one drawing; returns a copy of it. A No, an
// empty selection or a cancelled report set Salir and return an empty set,
// the drawing set untouched. The selection set is deleted after use.
// Errors are trapped ("Obtener Seleccion <product> - Error    nº ").
[[nodiscard]] model::t_Datos Copia__Seleccion(ImportContext& ctx, const core::Obj& Apli, core::VbBool& Salir);

// `Copia_Pol`: adds one picked line, point or polyline to the drawing model
// (which is not emptied) and returns the model packed. Any other kind is
// refused with a message and leaves the model as it was; a failed pick is
// logged. Errors are trapped ("Copia Pol - Error    nº ").
[[nodiscard]] model::t_Dibujo Copia_Pol(ImportContext& ctx, const core::Obj& Apli);

// `Copia_Todo3`: "Todo" and "Dibujo" copy the whole drawing, "Seleccion" a
// selection; any other keyword (letter case counts) returns an empty set.
[[nodiscard]] model::t_Datos Copia_Todo3(ImportContext& ctx, const core::Obj& Apli, std::string_view TodoC,
                                         core::VbBool& Salir);

}  // namespace kestrel::importing
