#include "export/arc_three_points.h"

#include <cmath>
#include <optional>

#include "model/bearing.h"

namespace kestrel::exporting {

namespace {

constexpr double kSamePoint = 0.0001;
constexpr double kPi = 3.141592;

struct Plan {
  double x, y;
};

bool same_point(std::span<const double, 9> p, int a, int b) {
  return std::abs(p[3 * a] - p[3 * b]) < kSamePoint && std::abs(p[3 * a + 1] - p[3 * b + 1]) < kSamePoint &&
         std::abs(p[3 * a + 2] - p[3 * b + 2]) < kSamePoint;
}

// The perpendicular bisector of chord AB: its midpoint, and its slope
// unless the chord is horizontal (then the bisector is vertical).
struct Bisector {
  Plan mid;
  std::optional<double> slope;
};

Bisector bisector(Plan a, Plan b) {
  Bisector out{{(a.x + b.x) / 2, (a.y + b.y) / 2}, std::nullopt};
  const double dy = b.y - a.y;
  if (std::abs(dy) >= kSamePoint) out.slope = -(b.x - a.x) / dy;
  return out;
}

// Where the two bisectors meet; none when they are parallel.
std::optional<Plan> meet(const Bisector& first, const Bisector& second) {
  if (!first.slope && !second.slope) return std::nullopt;
  if (!first.slope) return Plan{first.mid.x, second.mid.y + *second.slope * (first.mid.x - second.mid.x)};
  if (!second.slope) return Plan{second.mid.x, first.mid.y + *first.slope * (second.mid.x - first.mid.x)};
  const double m1 = *first.slope;
  const double m2 = *second.slope;
  if (m1 == m2) return std::nullopt;
  const double x = (second.mid.y - first.mid.y + m1 * first.mid.x - m2 * second.mid.x) / (m1 - m2);
  return Plan{x, first.mid.y + m1 * (x - first.mid.x)};
}

// The direction from `centre` to `p` as a CAD angle: the bearing turned
// into grads counter-clockwise from +X, then into radians.
double cad_angle(Plan centre, Plan p) {
  const double bearing = model::Rumbo_Distancia(centre.x, centre.y, p.x, p.y).direction;
  double a = (400 - bearing) + 100;
  if (a > 400) a -= 400;
  return a * 90 / 100 * kPi / 180;
}

}  // namespace

bool Arco_Tres_Puntos(std::span<double, 9> xyz, double& radius, double& start, double& end) {
  radius = kDegenerateRadius;
  if (same_point(xyz, 0, 1) || same_point(xyz, 1, 2)) return false;
  const Plan p1{xyz[0], xyz[1]};
  const Plan p2{xyz[3], xyz[4]};
  const Plan p3{xyz[6], xyz[7]};
  const std::optional<Plan> centre = meet(bisector(p1, p2), bisector(p2, p3));
  if (!centre) return false;
  radius = std::hypot(p1.x - centre->x, p1.y - centre->y);
  // Points that turn clockwise: the counter-clockwise arc through P2 runs
  // from P3 to P1.
  const double turn = (p2.x - p1.x) * (p3.y - p2.y) - (p2.y - p1.y) * (p3.x - p2.x);
  const Plan from = turn < 0 ? p3 : p1;
  const Plan to = turn < 0 ? p1 : p3;
  start = cad_angle(*centre, from);
  end = cad_angle(*centre, to);
  xyz[0] = centre->x;
  xyz[1] = centre->y;
  return true;
}

}  // namespace kestrel::exporting
