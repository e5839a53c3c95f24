// The loading methods of c_Kestrel: the host hands its drawing over.
#include "bridge/c_kestrel.h"
#include "core/trap.h"
#include "model/loading.h"

namespace kestrel::bridge {

void c_Kestrel::Mete_Pun(std::int32_t NuPun, const VbArray<double>& X1, const VbArray<double>& Y1,
                         const VbArray<double>& z1, const VbArray<std::string>& Cd,
                         const VbArray<std::string>& Nmb1, const VbArray<std::string>& infor,
                         const VbArray<std::int16_t>& Capa) {
  model::mete_pun(module_.model, NuPun, X1, Y1, z1, Cd, Nmb1, infor, Capa);
}

void c_Kestrel::Mete_Entidades(std::int32_t NuPolis, const VbArray<model::t_Poli>& poli,
                               const model::t_Curvado& tCurvado1, std::int32_t nuCapas,
                               const VbArray<model::t_Capa>& Capas1, std::int32_t Nutria,
                               const VbArray<std::int32_t>& B1, const VbArray<std::int32_t>& B2,
                               const VbArray<std::int32_t>& B3, std::int32_t colTrilat) {
  model::mete_entidades(module_.model, NuPolis, poli, tCurvado1, nuCapas, Capas1, Nutria, B1, B2, B3, colTrilat);
}

void c_Kestrel::Mete_dibujo(const model::t_Dibujo& tp0) {
  core::trap(module_.error_log, {"Mete  - Error  nº ", ": "}, [&] { model::mete_dibujo(module_.model, tp0); });
}

void c_Kestrel::Mete(const model::t_Datos& Dt1, const VbArray<std::int32_t>& VVc) {
  core::trap(module_.error_log, {"Mete - Error    nº ", ":"}, [&] {
    VVc_ = VVc;
    model::store_drawing_set(module_.model, Dt1);
    core::trap(module_.error_log, {"Merivox Lelo  - Error  nº ", ": "},
               [&] { model::select_drawing(module_.model); });
  });
}

}  // namespace kestrel::bridge
