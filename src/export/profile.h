// A longitudinal profile (chainage, elevation) drawn as one polyline where
// the user picks.
#pragma once

#include <cstdint>

#include "core/vb_array.h"
#include "module/module.h"

namespace kestrel::exporting {

// The prompt of the insertion point pick.
inline constexpr const char* kProfilePrompt = "Perfil de Merivox: indica un punto de inserción...";

// `Dibuja_perfil`: shows the CAD, asks for an insertion point and adds to
// model space a 3D polyline of the points (Pk(i), Ct(i), 0), i = 1..Ptos,
// shifted so that the first one lands on the picked point; one unit of
// chainage or elevation is one drawing unit. Index 0 of the arrays is never
// read. Errors (a cancelled pick, Ptos < 1, a one-point polyline the CAD
// refuses) are trapped: "Autocad Genera Perfil - Error    nº " + number +
// ": " + description; nothing is drawn then.
void Dibuja_perfil(Module& module, std::int32_t Ptos, const core::VbArray<double>& Pk,
                   const core::VbArray<double>& Ct);

}  // namespace kestrel::exporting
