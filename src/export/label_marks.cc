#include "export/label_marks.h"

namespace kestrel::exporting {

void Anota_Linea(model::LabelRegisters& r, double x1, double y1, double x2, double y2, std::int32_t layer) {
  const std::int32_t k = r.NumLineasR + 1;
  r.LinX1[k] = x1;
  r.LinY1[k] = y1;
  r.LinX2[k] = x2;
  r.LinY2[k] = y2;
  r.LinCapa[k] = layer;
  r.NumLineasR = k;
}

void Anota_Flecha(model::LabelRegisters& r, double x1, double y1, double x2, double y2, double x3, double y3,
                  std::int32_t layer) {
  const std::int32_t k = r.NumFlechasR + 1;
  r.FleX1[k] = x1;
  r.FleY1[k] = y1;
  r.FleX2[k] = x2;
  r.FleY2[k] = y2;
  r.FleX3[k] = x3;
  r.FleY3[k] = y3;
  r.FleCapa[k] = layer;
  r.NumFlechasR = k;
}

void mark_segment(LabelWorkspace& ws, PlanPoint a, PlanPoint b, std::int32_t layer) {
  if (!ws.PrimeraPasada || a == b) return;
  Anota_Linea(ws.m.Registros, a.x, a.y, b.x, b.y, layer);
}

void mark_arrow(LabelWorkspace& ws, PlanPoint tip, double grads, double size, std::int32_t layer) {
  if (!ws.PrimeraPasada || size <= 0) return;
  const PlanPoint base = point_at(tip, -kArrowLength * size, grads);
  const PlanPoint left = point_at(base, kArrowHalfWidth * size, grads - 100);
  const PlanPoint right = point_at(base, kArrowHalfWidth * size, grads + 100);
  Anota_Flecha(ws.m.Registros, tip.x, tip.y, left.x, left.y, right.x, right.y, layer);
}

}  // namespace kestrel::exporting
