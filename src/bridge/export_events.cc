// c_Kestrel's answers to the export dialog's events, and the generators it
// exposes to the host.
#include "bridge/c_kestrel.h"
#include "export/blocks.h"
#include "export/hatch.h"
#include "export/layer_names.h"
#include "export/labels.h"
#include "export/layers.h"
#include "export/point_labels.h"
#include "export/points.h"
#include "export/polylines.h"
#include "export/profile.h"

namespace kestrel::bridge {

using Context = exporting::ExportContext;

void c_Kestrel::aCapasPrefijo(const std::string& PrefCap) {
  export_state_.PrefCap = PrefCap;
  exporting::apply_prefix(module_, PrefCap);
}

void c_Kestrel::aCadCapas(std::int32_t CapAc) {
  // Every export starts in 3D; aCad2D follows when 2D was chosen. Without
  // this a 3D export after a 2D one would still flatten its entities.
  export_state_.Solo2D = core::kFalse;
  with_dialog("Autocad_Genera_Capas", [&](Context& ctx) { exporting::Autocad_Genera_Capas(ctx, CapAc); });
}

void c_Kestrel::aCad2D() { export_state_.Solo2D = core::kTrue; }

void c_Kestrel::aCadPtos() { Autocad_Genera_Puntos(); }

void c_Kestrel::acadRotu1(double Altura) { Autocad_Genera_Textos(Altura); }

void c_Kestrel::aCadPoli() {
  VbBool EnBloque = core::kFalse;
  Autocad_Genera_Polilineas(EnBloque);
}

void c_Kestrel::acadText() { Autocad_Genera_Rotulos(); }

void c_Kestrel::Autocad_Genera_Rotulos(VbBool* Bloq) {
  const VbBool in_block = Bloq ? *Bloq : core::kFalse;
  with_dialog("Autocad_Genera_Rotulos", [&](Context& ctx) { exporting::Autocad_Genera_Rotulos(ctx, in_block); });
}

void c_Kestrel::acadBloq() { Autocad_genera_Bloques(); }

void c_Kestrel::Autocad_Genera_Rotulos_Bloques() {
  with_dialog("Autocad_Genera_Rotulos_Bloques",
              [&](Context& ctx) { exporting::Autocad_Genera_Rotulos_Bloques(ctx); });
}

void c_Kestrel::Autocad_crea_Bloques() {
  with_dialog("Autocad_crea_Bloques", [&](Context& ctx) { exporting::Autocad_crea_Bloques(ctx); });
}

void c_Kestrel::Autocad_genera_Bloques() {
  with_dialog("Autocad_genera_Bloques", [&](Context& ctx) { exporting::Autocad_genera_Bloques(ctx); });
}

void c_Kestrel::Autocad_Genera_Polilineas(VbBool& EnBloque) {
  with_dialog("Autocad_Genera_Polilineas",
              [&](Context& ctx) { exporting::Autocad_Genera_Polilineas(ctx, EnBloque); });
}

void c_Kestrel::Ch4_CreateHatch(const core::Obj& Poly, std::int16_t& t, std::string& Cp, VbBool& Bloq,
                                std::int32_t* Color1, VbBool* Solido) {
  with_dialog("Ch4_CreateHatch", [&](Context& ctx) {
    exporting::Ch4_CreateHatch(ctx, Poly, t, Cp, Bloq, Color1 ? *Color1 : 0, Solido ? *Solido : core::kFalse);
  });
}

void c_Kestrel::Pega_Polilinea(std::int32_t& nPol) {
  with_dialog("Pega_Polilinea", [&](Context& ctx) { exporting::Pega_Polilinea(ctx, nPol); });
}

void c_Kestrel::Dibuja_perfil(std::int32_t& Ptos, const VbArray<double>& Pk, const VbArray<double>& Ct) {
  exporting::Dibuja_perfil(module_, Ptos, Pk, Ct);
}

void c_Kestrel::Autocad_Genera_Puntos() {
  with_dialog("Autocad_Genera_Puntos", [&](Context& ctx) { exporting::Autocad_Genera_Puntos(ctx); });
}

void c_Kestrel::Autocad_Genera_Textos0(double& AlturaR) {
  with_dialog("Autocad_Genera_Textos0", [&](Context& ctx) { exporting::Autocad_Genera_Textos0(ctx, AlturaR); });
}

void c_Kestrel::Autocad_Genera_Textos(double& AlturaR) {
  with_dialog("Autocad_Genera_Textos", [&](Context& ctx) { exporting::Autocad_Genera_Textos(ctx, AlturaR); });
}

}  // namespace kestrel::bridge
