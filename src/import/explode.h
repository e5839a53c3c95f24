// `Dexompon_Zombie`: explodes the active drawing inside the CAD (twice, so
// nested blocks open too), leaves only the layer "PUNTOS" switched on, and
// hands back the drawing model with point elevations from nearby texts.
#pragma once

#include <string_view>

#include "core/object.h"
#include "import/import_state.h"
#include "model/records.h"

namespace kestrel::importing {

// The explode command: everything inside the window -5e6,-5e6 .. +5e6,+5e6.
inline constexpr std::string_view kExplodeCommand = "DESCOMP\r-5000000,-5000000\r+5000000,+5000000\r\r";
// The one layer left on.
inline constexpr std::string_view kPointsLayer = "PUNTOS";

// `Apli`, `ff` and `TodoC` are the host's and not read. Errors are trapped
// ("Obtener Todo de Autocad - Error    nº "); an empty drawing is returned then.
[[nodiscard]] model::t_Dibujo Dexompon_Zombie(ImportContext& ctx);

}  // namespace kestrel::importing
