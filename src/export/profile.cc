#include "export/profile.h"

#include "core/object.h"
#include "core/trap.h"

namespace kestrel::exporting {

namespace {

void draw_profile(Module& module, std::int32_t Ptos, const core::VbArray<double>& Pk,
                  const core::VbArray<double>& Ct) {
  const core::Obj& document = module.cad.Documento;
  module.cad.Aplicacion.put("Visible", true);
  const core::VbArray<double> at =
      document.object("Utility").call("GetPoint", core::Variant(), kProfilePrompt).to_double_array();
  const double dx = at[at.lbound()] - Pk[1];
  const double dy = at[at.lbound() + 1] - Ct[1];
  if (Ptos < 1) core::raise(core::kSubscriptOutOfRange);  // no vertex to keep
  core::VbArray<double> xyz(0, 3 * Ptos - 1);
  for (std::int32_t i = 1; i <= Ptos; ++i) {
    xyz[3 * i - 3] = Pk[i] + dx;
    xyz[3 * i - 2] = Ct[i] + dy;
  }
  (void)document.object("ModelSpace").call("Add3DPoly", std::move(xyz));
}

}  // namespace

void Dibuja_perfil(Module& module, std::int32_t Ptos, const core::VbArray<double>& Pk,
                   const core::VbArray<double>& Ct) {
  static constexpr core::TrapMessage kMessage{"Autocad Genera Perfil - Error    nº ", ": "};
  core::trap(module.error_log, kMessage, [&] { draw_profile(module, Ptos, Pk, Ct); });
}

}  // namespace kestrel::exporting
