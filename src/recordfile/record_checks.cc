#include "recordfile/record_checks.h"

#include <string>

#include "core/error.h"

namespace kestrel::model::json_detail {

namespace {

struct CountRule {
  bool from_zero_only = false;  // the array must start at 0
  bool may_run_over = false;    // the array may end beyond the count
};

std::string text(std::int64_t n) { return std::to_string(n); }

template <class E>
void check_counted(const PathNode& at, std::string_view array_name, const VbArray<E>& array,
                   std::string_view count_name, std::int32_t count, CountRule rule = {}) {
  const PathNode where = at.child(array_name);
  const std::string says = ", " + std::string(count_name) + " dice " + text(count);
  if (!array.allocated()) {
    if (count != 0) fail(core::kSubscriptOutOfRange, where, "sin dimensionar" + says);
    return;
  }
  const std::int32_t lbound = array.lbound();
  if (rule.from_zero_only && lbound != 0) {
    fail(core::kSubscriptOutOfRange, where, "límite inferior " + text(lbound) + ", debe ser 0");
  }
  if (lbound != 0 && lbound != 1) {
    fail(core::kSubscriptOutOfRange, where, "límite inferior " + text(lbound) + ", debe ser 0 o 1");
  }
  if (array.empty() && count == 0) return;
  const std::int32_t ubound = array.ubound();
  if (ubound == count || (rule.may_run_over && ubound > count)) return;
  fail(core::kSubscriptOutOfRange, where,
       text(array.size()) + (array.size() == 1 ? " elemento (" : " elementos (") + text(lbound) + ".." + text(ubound) +
           ")" + says);
}

void check_not_negative(const PathNode& at, std::string_view count_name, std::int32_t count) {
  if (count < 0) fail(core::kSubscriptOutOfRange, at.child(count_name), "número negativo (" + text(count) + ")");
}

void check_point_layers(const t_Dibujo& d, const PathNode& at) {
  const PathNode capa = at.child("Capa");
  for (std::int32_t i = 1; i <= d.NuPun; ++i) {
    const std::int16_t layer = d.Capa[i];
    if (layer < 1 || layer > d.nuCapas) {
      fail(core::kSubscriptOutOfRange, capa.at(i),
           "la capa " + text(layer) + " no existe (nuCapas dice " + text(d.nuCapas) + ")");
    }
  }
}

}  // namespace

void check_record(const t_Poli& poli, const PathNode& at) {
  check_not_negative(at, "NuVert", poli.NuVert);
  check_counted(at, "Vert", poli.Vert, "NuVert", poli.NuVert, {.from_zero_only = true});
}

void check_record(const t_Curva& curva, const PathNode& at) {
  check_not_negative(at, "NuVertC", curva.NuVertC);
  check_counted(at, "VertC", curva.VertC, "NuVertC", curva.NuVertC, {.from_zero_only = true});
}

void check_record(const t_Curvado& curvado, const PathNode& at) {
  check_not_negative(at, "NuCurvas", curvado.NuCurvas);
  check_counted(at, "Curvas", curvado.Curvas, "NuCurvas", curvado.NuCurvas);
}

void check_record(const t_Dibujo& d, const PathNode& at) {
  check_not_negative(at, "NuPun", d.NuPun);
  check_counted(at, "Nmb", d.Nmb, "NuPun", d.NuPun);
  check_counted(at, "X", d.X, "NuPun", d.NuPun);
  check_counted(at, "Y", d.Y, "NuPun", d.NuPun);
  check_counted(at, "Z", d.Z, "NuPun", d.NuPun);
  check_counted(at, "Cd", d.Cd, "NuPun", d.NuPun);
  check_counted(at, "infor", d.infor, "NuPun", d.NuPun);
  check_counted(at, "Capa", d.Capa, "NuPun", d.NuPun);
  check_not_negative(at, "Nutria", d.Nutria);
  check_counted(at, "B1", d.B1, "Nutria", d.Nutria);
  check_counted(at, "B2", d.B2, "Nutria", d.Nutria);
  check_counted(at, "B3", d.B3, "Nutria", d.Nutria);
  check_not_negative(at, "NuPolis", d.NuPolis);
  check_counted(at, "poli", d.poli, "NuPolis", d.NuPolis);
  check_not_negative(at, "NuRotulos", d.NuRotulos);
  check_counted(at, "Rotulo", d.Rotulo, "NuRotulos", d.NuRotulos);
  check_not_negative(at, "nuCapas", d.nuCapas);
  check_counted(at, "Capas1", d.Capas1, "nuCapas", d.nuCapas);
  check_point_layers(d, at);
}

void check_record(const t_Datos& set, const PathNode& at) {
  check_not_negative(at, "NuDibujos", set.NuDibujos);
  check_counted(at, "Dibujos", set.Dibujos, "NuDibujos", set.NuDibujos, {.may_run_over = true});
}

}  // namespace kestrel::model::json_detail
