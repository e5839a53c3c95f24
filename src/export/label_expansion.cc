#include "export/label_expansion.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/trap.h"
#include "export/label_marks.h"
#include "model/number_text.h"

namespace kestrel::exporting {

namespace {

using model::t_Rotulo;

constexpr std::int32_t kGridLabels = 8;
constexpr std::int32_t kScaleLabels = 2;
constexpr int kCoordinateDecimals = 2;

// An ordinary label made from a frame label: same layer, size and style.
t_Rotulo generated(const t_Rotulo& frame, std::string text, PlanPoint at) {
  t_Rotulo label;
  label.Texto = std::move(text);
  label.CapaR = frame.CapaR;
  label.Altura = frame.Altura;
  label.Estilo = frame.Estilo;
  label.DeCurva = frame.DeCurva;
  label.Xr = label.Xc = at.x;
  label.Yr = label.Yc = at.y;
  return label;
}

std::string coordinate(const char* prefix, double value) {
  return prefix + model::Formato_Numero(core::Variant(value), kCoordinateDecimals, 0);
}

// Expansion room of one label.
std::int32_t room(const t_Rotulo& r) {
  std::int32_t e = static_cast<std::int32_t>(std::count(r.Texto.begin(), r.Texto.end(), '#'));
  if (r.Texto3 == "11") e += kGridLabels;
  if (r.Texto3 == "12") e += kScaleLabels;
  return e;
}

template <class T>
void size_list(core::VbArray<T>& list, std::int32_t n) {
  list.redim(1, std::max(n, 1));
}

void size_registers(model::LabelRegisters& r, std::int32_t labels, std::int32_t e) {
  for (auto* list : {&r.LinX1, &r.LinY1, &r.LinX2, &r.LinY2}) size_list(*list, 4 * labels + e);
  size_list(r.LinCapa, 4 * labels + e);
  for (auto* list : {&r.FleX1, &r.FleY1, &r.FleX2, &r.FleY2, &r.FleX3, &r.FleY3}) size_list(*list, 4 * labels);
  size_list(r.FleCapa, 4 * labels);
  r.NumLineasR = 0;
  r.NumFlechasR = 0;
}

}  // namespace

void append_label(model::DrawingModel& m, t_Rotulo label) {
  const std::int32_t k = m.NumRotulos + 1;
  if (!m.Rotulos.allocated() || m.Rotulos.ubound() < k) m.Rotulos.redim_preserve(k, 1);
  m.Rotulos[k] = std::move(label);
  m.NumRotulos = k;
}

void expand_frame(LabelWorkspace& ws, std::int32_t i) {
  t_Rotulo& r = ws.m.Rotulos[i];
  const bool grid = r.Texto3 == "11";
  r.Texto = grid ? "*Cuadricula*" : "*Escala*";
  if (!ws.PrimeraPasada) return;
  if (grid) {
    Cuadricula_Rotulos(ws, i);
  } else {
    Escala_Rotulos(ws, i);
  }
}

void Cuadricula_Rotulos(LabelWorkspace& ws, std::int32_t i) {
  const t_Rotulo frame = ws.m.Rotulos[i];
  const double x1 = std::min(frame.Xr, frame.Xr2), x2 = std::max(frame.Xr, frame.Xr2);
  const double y1 = std::min(frame.Yr, frame.Yr2), y2 = std::max(frame.Yr, frame.Yr2);
  const std::array<PlanPoint, 4> corners{{{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}}};
  for (std::size_t k = 0; k < corners.size(); ++k) mark_segment(ws, corners[k], corners[(k + 1) % 4], frame.CapaR);
  const double h = frame.Altura;
  const double middle = kTextHeight * h / 2;  // a Y label centred on its line
  auto width = [&](const std::string& text) { return Ancho_Texto(ws, text, h, frame.Estilo); };
  auto left_of = [&](const std::string& text, double y) {
    append_label(ws.m, generated(frame, text, {x1 - h / 2 - width(text), y - middle}));
  };
  auto right_of = [&](const std::string& text, double y) {
    append_label(ws.m, generated(frame, text, {x2 + h / 2, y - middle}));
  };
  auto below = [&](const std::string& text, double x) {
    append_label(ws.m, generated(frame, text, {x - width(text) / 2, y1 - h / 2 - kTextHeight * h}));
  };
  auto above = [&](const std::string& text, double x) {
    append_label(ws.m, generated(frame, text, {x - width(text) / 2, y2 + h / 2}));
  };
  left_of(coordinate("Y1=", y1), y1);
  below(coordinate("X=", x1), x1);
  right_of(coordinate("Y=", y1), y1);
  below(coordinate("X=", x2), x2);
  left_of(coordinate("Y=", y2), y2);
  above(coordinate("X=", x1), x1);
  right_of(coordinate("Y=", y2), y2);
  above(coordinate("X=", x2), x2);
}

void Escala_Rotulos(LabelWorkspace& ws, std::int32_t i) {
  const t_Rotulo bar = ws.m.Rotulos[i];
  const double h = bar.Altura;
  const PlanPoint a{bar.Xr, bar.Yr}, b{bar.Xr2, bar.Yr};
  mark_segment(ws, a, b, bar.CapaR);
  mark_segment(ws, a, {a.x, a.y + h / 2}, bar.CapaR);
  mark_segment(ws, b, {b.x, b.y + h / 2}, bar.CapaR);
  const double length = bar.Xr2 - bar.Xr;
  const int decimals = length == std::round(length) ? 0 : kCoordinateDecimals;
  append_label(ws.m, generated(bar, "0", {bar.Xr - h / 2, bar.Yr + h}));
  append_label(ws.m, generated(bar, model::Formato_Numero(core::Variant(length), decimals, 0),
                               {bar.Xr2 - h, bar.Yr2 + h}));
}

void Prepara_Rotulos(LabelWorkspace& ws) {
  model::DrawingModel& m = ws.m;
  if (m.NumRotulos <= 0) return;
  const std::int32_t n = m.NumRotulos;
  std::int32_t e = 0;
  core::attempt([&] {
    for (std::int32_t i = 1; i <= n; ++i) e += room(m.Rotulos[i]);
  });
  core::attempt([&] { m.Rotulos.redim_preserve(n + e, 1); });
  core::attempt([&] { size_registers(m.Registros, n, e); });
  for (std::int32_t i = 1; i <= n; ++i) {
    core::attempt([&] {
      t_Rotulo& r = m.Rotulos[i];
      if (r.CapaR > m.NumCapas) r.CapaR = static_cast<std::int16_t>(m.NumCapas);
      if (m.Capas[r.CapaR].Encendida == core::kFalse) return;
      Coloca_Rotulo(ws, i, 1);
    });
  }
}

}  // namespace kestrel::exporting
