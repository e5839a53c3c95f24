#include "import/picked_readers.h"

namespace kestrel::importing {

namespace {

std::int32_t read_groups(const core::Obj& entity, VertexLists out, std::int32_t stride) {
  const core::VbArray<double> c = entity.get("Coordinates").to_double_array();
  const std::int32_t lb = c.lbound();
  const std::int32_t n = c.size() / stride;
  out.X.redim(0, n);
  out.Y.redim(0, n);
  out.Z.redim(0, n);
  for (std::int32_t k = 1; k <= n; ++k) {
    const std::int32_t i = lb + (k - 1) * stride;
    out.X[k] = c[i];
    out.Y[k] = c[i + 1];
    if (stride == 3) out.Z[k] = c[i + 2];
  }
  return n;
}

std::int32_t read_ends(const core::Obj& entity, VertexLists out) {
  const core::VbArray<double> start = entity.get("StartPoint").to_double_array();
  const core::VbArray<double> end = entity.get("EndPoint").to_double_array();
  out.X.redim(0, 2);
  out.Y.redim(0, 2);
  out.Z.redim(0, 2);
  for (std::int32_t k = 1; k <= 2; ++k) {
    const core::VbArray<double>& p = k == 1 ? start : end;
    out.X[k] = p[p.lbound()];
    out.Y[k] = p[p.lbound() + 1];
    out.Z[k] = p[p.lbound() + 2];
  }
  return 2;
}

}  // namespace

std::int32_t Obtener_poli3D(const core::Obj& entity, VertexLists out) { return read_groups(entity, out, 3); }
std::int32_t Obtener_poli2D(const core::Obj& entity, VertexLists out) { return read_groups(entity, out, 2); }
std::int32_t Obtener_linea(const core::Obj& entity, VertexLists out) { return read_ends(entity, out); }
std::int32_t Saca_Texto(const core::Obj& entity, VertexLists out) { return read_ends(entity, out); }

}  // namespace kestrel::importing
