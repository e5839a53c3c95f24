#include "model/sample_records.h"

#include <string>
#include <vector>

namespace kestrel::model::testing {

namespace {

template <class T>
VbArray<T> from(std::int32_t lbound, std::vector<T> items) {
  return VbArray<T>(lbound, std::move(items));
}

// Items 1..n, item i given by `item(i)`.
template <class T, class F>
VbArray<T> numbered(std::int32_t n, F&& item) {
  std::vector<T> items;
  items.reserve(static_cast<std::size_t>(n));
  for (std::int32_t i = 1; i <= n; ++i) items.push_back(item(i));
  return VbArray<T>(1, std::move(items));
}

t_Rotulo full_text(int seed) {
  return {"línea 1#línea 2", 2, 1.5 + seed, -2.25, 3.125, 4e-7, 1e21, -0.0, 399.999, 0.1, counting_bytes<8>(72),
          -7, "ROMANS", "21", counting_bytes<2>(92), 1, 123456789.123, -1.0 / 3.0};
}

t_Curvado full_contours() {
  const t_Curva major{2, from<Vertex3>(0, {{1, 2, 600}, {3, 4, 600}, {5, 6.5, 600}}), 255, core::kTrue};
  const t_Curva odd_flag{0, from<Vertex3>(0, {{7, 8, 601}}), 65280, 1};  // a Boolean holding 1 survives
  return {2, 1, 5, 0.5, -4, 5, 32767, 7.75, -8, core::kTrue, from<t_Curva>(1, {major, odd_flag})};
}

}  // namespace

t_Dibujo full_drawing(int seed) {
  t_Dibujo d;
  d.Texto1 = "PLANTA \"comillas\" \\ tab\t y ñ";
  d.Texto2 = "Dibujo " + std::to_string(seed);
  d.Cabecera = {counting_bytes<4>(1), "cabecera 4", counting_bytes<40>(8), "cabecera 48", counting_bytes<48>(52)};
  d.NuPun = 2;
  d.Nmb = from<std::string>(0, {"base", "P1", "P2"});
  d.X = from<double>(0, {0.0, 438000.125 + seed, 438010.5});
  d.Y = from<double>(0, {0.0, 4472000.25, 4472001.75});
  d.Z = from<double>(0, {0.0, 612.345, -0.001});
  d.Cd = from<std::string>(0, {"", "**Arqueta/2/100", "/"});
  d.infor = from<std::string>(0, {"", "info\nmultilínea", "\x01"});
  d.Capa = from<std::int16_t>(0, {0, 1, 2});
  d.Nutria = 1;
  d.B1 = d.B3 = from<std::int32_t>(0, {0, 1});
  d.B2 = from<std::int32_t>(0, {0, 2});
  d.colTrilat = 0x00FF00;
  d.NuPolis = d.NuRotulos = 1;
  d.poli = from<t_Poli>(1, {{2, from<std::int32_t>(0, {-60, 1, 2}), 0x0000FF, 2}});
  d.Rotulo = from<t_Rotulo>(1, {full_text(seed)});
  d.nuCapas = d.CapaActual = 2;
  d.Capas1 = from<t_Capa>(1, {{"PUNTOS", core::kTrue, 0xFFFFFF, 3, counting_bytes<6>(14)},
                              {"Curvas", core::kFalse, 0x808080, -1, counting_bytes<6>(20)}});
  d.Curvado = full_contours();
  d.Opciones = {counting_bytes<136>(seed), counting_bytes<72>(384), counting_bytes<4>(456),
                counting_bytes<60>(460),   counting_bytes<60>(520), counting_bytes<56>(580)};
  d.Extra = counting_bytes<4>(0xFC);
  return d;
}

t_Datos full_set() { return {2, 2, from<t_Dibujo>(1, {full_drawing(1), full_drawing(2)})}; }

t_Dibujo small_drawing(const char* name, std::int32_t points, std::int32_t triangles) {
  t_Dibujo d;
  d.Texto2 = name;
  d.NuPun = points;
  d.Nmb = numbered<std::string>(points, [](int i) { return std::to_string(i); });
  d.X = numbered<double>(points, [](int i) { return 1000.0 + i; });
  d.Y = numbered<double>(points, [](int i) { return 2000.0 + i % 100; });
  d.Z = numbered<double>(points, [](int i) { return 600.0 + i % 7; });
  d.Cd = d.infor = VbArray<std::string>(1, points);
  d.Capa = numbered<std::int16_t>(points, [](int) { return std::int16_t{1}; });
  d.Nutria = triangles;
  d.B1 = numbered<std::int32_t>(triangles, [&](int t) { return 1 + t % points; });
  d.B2 = numbered<std::int32_t>(triangles, [&](int t) { return 1 + (t + 1) % points; });
  d.B3 = numbered<std::int32_t>(triangles, [&](int t) { return 1 + (t + 2) % points; });
  d.NuPolis = d.NuRotulos = d.nuCapas = d.CapaActual = 1;
  d.poli = from<t_Poli>(1, {{2, from<std::int32_t>(0, {0, 1, 2}), 0, 1}});
  d.Rotulo = VbArray<t_Rotulo>(1, 1);
  d.Rotulo[1].Texto = name;
  d.Rotulo[1].CapaR = 1;
  d.Capas1 = from<t_Capa>(1, {{name, core::kTrue, 255, 0, {}}});
  return d;
}

}  // namespace kestrel::model::testing
