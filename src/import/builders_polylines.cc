#include <cmath>
#include <span>

#include "core/numeric.h"
#include "import/builders.h"
#include "import/trapped.h"
#include "model/colours.h"

namespace kestrel::importing {

namespace {

// Appends an empty polyline with count n and slots 0..n; returns it.
model::t_Poli& append_polyline(model::DrawingModel& model, std::int32_t n) {
  const std::int32_t k = core::checked_add(model.NumPolis, 1);
  model.Polis.redim_preserve(k);
  model.NumPolis = k;
  model::t_Poli& poly = model.Polis[k];
  poly.NuVert = n;
  poly.Vert.redim(0, n);
  return poly;
}

// One polyline from a flat coordinate array of `stride` values per vertex.
void polyline_from_coordinates(Module& module, const VbArray<double>& c, std::int32_t stride, double elevation,
                               std::int16_t layer, bool closed) {
  model::DrawingModel& model = module.model;
  const std::int32_t n = static_cast<std::int32_t>(
      core::round_half_even((static_cast<double>(c.ubound()) + 1) / static_cast<double>(stride)));
  append_polyline(model, n);
  const std::int32_t index = model.NumPolis;
  std::int32_t k = 0;
  for (std::int32_t i = 0; i <= c.ubound(); i += stride) {
    const double z = stride == 3 ? elevation + c[i + 2] : elevation;
    const double x = c[i];
    const double y = c[i + 1];
    ++k;
    const std::int32_t point = Punto_Mira(module, x, y, z, layer);
    model.Polis[index].Vert[k] = point;
  }
  model::t_Poli& poly = model.Polis[index];
  if (closed) {
    poly.NuVert = k + 1;
    poly.Vert.redim_preserve(k + 1);
    poly.Vert[k + 1] = poly.Vert[1];
  }
  poly.CapaP = layer;
}

}  // namespace

void Poli_crea(Module& module, std::int32_t n) {
  run_trapped(module, "Poli_crea - Error  nº ", [&] {
    model::DrawingModel& model = module.model;
    if (model.CapaActual == 0) model.CapaActual = 1;
    append_polyline(model, n).CapaP = model.CapaActual;
  });
}

void crea_Pol(Module& module, std::int32_t a, std::int32_t b, std::int16_t& layer, std::int32_t colour) {
  run_trapped(module, " crea Pol  - Error  nº ", [&] {
    model::DrawingModel& model = module.model;
    if (a > model.NumPuntos || b > model.NumPuntos || a == b) return;
    model::t_Poli& poly = append_polyline(model, 2);
    poly.Vert[1] = a;
    poly.Vert[2] = b;
    poly.Color = model::Color_RGB(colour);
    if (layer < 1 || layer > model.NumCapas) layer = static_cast<std::int16_t>(model.CapaActual);
    poly.CapaP = layer;
  });
}

void Crea_poli_2D(Module& module, const VbArray<double>& c, double elevation, std::int16_t layer, bool closed) {
  run_trapped(module, "Crea_poli_2D de - Error    nº ",
              [&] { polyline_from_coordinates(module, c, 2, elevation, layer, closed); });
}

void Crea_poli_3D(Module& module, const VbArray<double>& c, double elevation, std::int16_t layer, bool closed) {
  run_trapped(module, "Crea_poli_3D de - Error    nº ",
              [&] { polyline_from_coordinates(module, c, 3, elevation, layer, closed); });
}

double Azimut(double dx, double dy) noexcept {
  if (dy == 0) {
    if (dx > 0) return kImportPi / 2;
    if (dx < 0) return 3 * kImportPi / 2;
    return 0;
  }
  double a = std::atan(dx / dy);
  if (dy < 0) a += kImportPi;
  if (a < 0) a += 2 * kImportPi;
  return a;
}

void Crea_Arco(Module& module, const VbArray<double>& centre, const VbArray<double>& start,
               const VbArray<double>& end, float radius, std::int16_t layer) {
  run_trapped(module, "Crea Arco de - Error    nº ", [&] {
    append_polyline(module.model, 3).Vert[0] = kArcMarker;
    const std::int32_t index = module.model.NumPolis;
    const double mx = (start[0] + end[0]) / 2;
    const double my = (start[1] + end[1]) / 2;
    const double a = Azimut(mx - centre[0], my - centre[1]);
    const double r = radius;
    const double middle_x = centre[0] + r * std::sin(a);
    const double middle_y = centre[1] + r * std::cos(a);
    const std::int32_t p1 = Punto_Mira(module, start[0], start[1], 0, layer);
    const std::int32_t p2 = Punto_Mira(module, middle_x, middle_y, kArcMiddleElevation, layer);
    const std::int32_t p3 = Punto_Mira(module, end[0], end[1], 0, layer);
    model::t_Poli& poly = module.model.Polis[index];
    poly.Vert[1] = p1;
    poly.Vert[2] = p2;
    poly.Vert[3] = p3;
    poly.CapaP = layer;
  });
}

void Crea_Circulo(Module& module, const VbArray<double>& centre, float radius, std::int16_t layer) {
  run_trapped(module, "Crea Circulo de - Error    nº ", [&] {
    append_polyline(module.model, 2).Vert[0] = kCircleMarker;
    const std::int32_t index = module.model.NumPolis;
    const std::int32_t p1 = Punto_Mira(module, centre[0], centre[1], 0, layer);
    const std::int32_t p2 = Punto_Mira(module, centre[0], centre[1] + static_cast<double>(radius), 0, layer);
    model::t_Poli& poly = module.model.Polis[index];
    poly.Vert[1] = p1;
    poly.Vert[2] = p2;
    poly.CapaP = layer;
  });
}

namespace {

void append_triangle(model::DrawingModel& model, std::int32_t a, std::int32_t b, std::int32_t c) {
  const std::int32_t n = core::checked_add(model.NumTriangulos, 1);
  model.NumTriangulos = n;
  set_counted_item(model.TriV1, n, a);
  set_counted_item(model.TriV2, n, b);
  set_counted_item(model.TriV3, n, c);
}

}  // namespace

void Crea_Cara(Module& module, std::int32_t p1, std::int32_t p2, std::int32_t p3, std::int32_t p4,
               std::int16_t layer) {
  model::DrawingModel& model = module.model;
  append_triangle(model, p1, p2, p3);
  if (p4 > 0) append_triangle(model, p1, p4, p3);
  const std::int32_t before = model.NumPolis;
  Poli_crea(module, p4 == 0 ? 4 : 5);
  if (model.NumPolis == before) return;  // Poli_crea failed and logged it
  model::t_Poli& poly = model.Polis[model.NumPolis];
  const std::span<std::int32_t> vertices = poly.Vert.items();  // slots 0 to 4, or 5 for four corners
  vertices[0] = kFaceOutlineMarker;
  vertices[1] = p1;
  vertices[2] = p2;
  vertices[3] = p3;
  if (p4 == 0) {
    vertices[4] = p1;
  } else {
    vertices[4] = p4;
    vertices[5] = p1;
  }
  poly.CapaP = layer;
}

}  // namespace kestrel::importing
