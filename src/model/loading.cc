#include "model/loading.h"

#include <utility>

#include "core/error.h"
#include "core/trap.h"
#include "model/record_ops.h"

namespace kestrel::model {

namespace {

void copy_points(DrawingModel& m, const t_Dibujo& d) {
  m.NumPuntos = d.NuPun;
  m.PtoX = d.X;
  m.PtoY = d.Y;
  m.PtoZ = d.Z;
  m.PtoCodigo = d.Cd;
  m.PtoInfo = d.infor;
  m.PtoCapa = d.Capa;
  m.PtoNombre = d.Nmb;
}

void copy_triangles(DrawingModel& m, const t_Dibujo& d) {
  m.NumTriangulos = d.Nutria;
  m.TriV1 = d.B1;
  m.TriV2 = d.B2;
  m.TriV3 = d.B3;
  m.ColorTrilat = d.colTrilat;
}

void copy_polylines(DrawingModel& m, const t_Dibujo& d) {
  m.NumPolis = d.NuPolis;
  m.Polis = d.poli;
}

void copy_layers(DrawingModel& m, const t_Dibujo& d, bool take_current_layer) {
  m.NumCapas = d.nuCapas;
  if (take_current_layer) m.CapaActual = d.CapaActual;
  m.Capas = d.Capas1;
}

void copy_options(DrawingModel& m, const t_Dibujo& d, bool keep_options) {
  if (!keep_options) m.Opciones.piece248 = d.Opciones.piece248;
  m.Opciones.piece384 = d.Opciones.piece384;
  m.Opciones.piece456 = d.Opciones.piece456;
  if (!keep_options) m.Opciones.piece460 = d.Opciones.piece460;
  m.Opciones.piece520 = d.Opciones.piece520;
  m.Opciones.piece580 = d.Opciones.piece580;
}

// `Mete` and `Saca` take a factor of exactly zero (either sign) as 1.
void fix_zero_factor(DrawingModel& m) {
  if (m.Opciones.get(kFactor) == 0.0) m.Opciones.set(kFactor, 1.0);
}

void copy_texts(DrawingModel& m, const t_Dibujo& d) {
  m.NumRotulos = d.NuRotulos;
  m.Rotulos = d.Rotulo;
}

void copy_contours(DrawingModel& m, const t_Dibujo& d) { m.Curvado = d.Curvado; }

struct CopyRules {
  bool fix_factor = false;  // the selection of `Mete` takes a zero factor as 1
};

void copy_groups(DrawingModel& m, const t_Dibujo& d, CopyRules rules) {
  copy_points(m, d);
  copy_triangles(m, d);
  copy_polylines(m, d);
  copy_layers(m, d, true);
  copy_options(m, d, false);
  if (rules.fix_factor) fix_zero_factor(m);
  copy_texts(m, d);
  copy_contours(m, d);
}

// Sizing an array 1..count fails for a negative count.
void check_count(std::int32_t count) {
  if (count < 0) core::raise(core::kSubscriptOutOfRange);
}

}  // namespace

void mete_pun(DrawingModel& model, std::int32_t NuPun, const VbArray<double>& X1, const VbArray<double>& Y1,
              const VbArray<double>& z1, const VbArray<std::string>& Cd, const VbArray<std::string>& Nmb1,
              const VbArray<std::string>& infor, const VbArray<std::int16_t>& Capa) {
  model.NumPuntos = NuPun;
  check_count(NuPun);
  model.PtoX = X1;
  model.PtoY = Y1;
  model.PtoZ = z1;
  model.PtoCodigo = Cd;
  model.PtoInfo = infor;
  model.PtoCapa = Capa;
  model.PtoNombre = Nmb1;
  model.NumPuntos = NuPun;
}

void mete_entidades(DrawingModel& model, std::int32_t NuPolis, const VbArray<t_Poli>& poli, const t_Curvado& tCurvado1,
                    std::int32_t nuCapas, const VbArray<t_Capa>& Capas1, std::int32_t Nutria,
                    const VbArray<std::int32_t>& B1, const VbArray<std::int32_t>& B2, const VbArray<std::int32_t>& B3,
                    std::int32_t colTrilat) {
  model.NumPolis = NuPolis;
  model.Polis = poli;
  model.Curvado = tCurvado1;
  model.NumCapas = nuCapas;
  model.Capas = Capas1;
  model.NumTriangulos = Nutria;
  model.ColorTrilat = colTrilat;
  check_count(Nutria);
  model.TriV1 = B1;
  model.TriV2 = B2;
  model.TriV3 = B3;
}

void load_drawing_groups(DrawingModel& model, const t_Dibujo& drawing) { copy_groups(model, drawing, {}); }

void mete_dibujo(DrawingModel& model, const t_Dibujo& drawing) {
  model.MsgVersion = kVersionAdvice;
  load_drawing_groups(model, drawing);
}

void store_drawing_set(DrawingModel& model, const t_Datos& set) {
  model.NumDibujos = set.NuDibujos;
  model.DibujoActual = set.DibujoAct;
  model.Dibujos = set.Dibujos;
}

void select_drawing(DrawingModel& model) {
  if (model.DibujoActual > model.NumDibujos) model.DibujoActual = model.NumDibujos;
  if (!model.Dibujos.contains(model.DibujoActual)) {
    clear(model.DibujoElegido);
    core::raise(core::kSubscriptOutOfRange);
  }
  // Read through const access: the set stays shared with the host's copy.
  const t_Dibujo& chosen = std::as_const(model.Dibujos)[model.DibujoActual];
  copy_groups(model, chosen, {.fix_factor = true});
  model.DibujoElegido = chosen;
}

void mete(DrawingModel& model, const t_Datos& set) {
  store_drawing_set(model, set);
  select_drawing(model);
}

void saca(DrawingModel& model, const t_Dibujo& drawing, bool keep_options) {
  DrawingModel& m = model;
  const t_Dibujo& d = drawing;
  (void)core::skip_each([&] { copy_points(m, d); }, [&] { copy_triangles(m, d); }, [&] { copy_polylines(m, d); },
                        [&] { copy_layers(m, d, false); }, [&] { copy_options(m, d, keep_options); },
                        [&] { fix_zero_factor(m); }, [&] { copy_texts(m, d); }, [&] { copy_contours(m, d); });
}

void pack_drawing_groups(const DrawingModel& model, t_Dibujo& drawing) {
  drawing.NuPun = model.NumPuntos;
  drawing.X = model.PtoX;
  drawing.Y = model.PtoY;
  drawing.Z = model.PtoZ;
  drawing.Cd = model.PtoCodigo;
  drawing.infor = model.PtoInfo;
  drawing.Capa = model.PtoCapa;
  drawing.Nmb = model.PtoNombre;
  drawing.Nutria = model.NumTriangulos;
  drawing.B1 = model.TriV1;
  drawing.B2 = model.TriV2;
  drawing.B3 = model.TriV3;
  drawing.colTrilat = model.ColorTrilat;
  drawing.NuPolis = model.NumPolis;
  drawing.poli = model.Polis;
  drawing.nuCapas = model.NumCapas;
  drawing.Capas1 = model.Capas;
  drawing.Opciones = model.Opciones;
  drawing.NuRotulos = model.NumRotulos;
  drawing.Rotulo = model.Rotulos;
  drawing.Curvado = model.Curvado;
}

void haz(DrawingModel& model) { pack_drawing_groups(model, model.Dibujos[model.DibujoActual]); }

}  // namespace kestrel::model
