#include "export/label_geometry.h"

#include <cmath>
#include <numbers>

#include "model/bearing.h"

namespace kestrel::exporting {

double distance(PlanPoint a, PlanPoint b) noexcept { return std::hypot(b.x - a.x, b.y - a.y); }

PlanPoint point_at(PlanPoint from, double d, double grads) noexcept {
  const double radians = grads * std::numbers::pi / 200;
  return {from.x + d * std::sin(radians), from.y + d * std::cos(radians)};
}

double direction(PlanPoint a, PlanPoint b) noexcept { return model::Rumbo_Distancia(a.x, a.y, b.x, b.y).direction; }

}  // namespace kestrel::exporting
