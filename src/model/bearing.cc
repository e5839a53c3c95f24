#include "model/bearing.h"

#include <cmath>

namespace kestrel::model {

namespace {

// The circle's length in radians as the bearing rule writes it.
constexpr double kTwoPi = 6.283185308;

}  // namespace

Bearing Rumbo_Distancia(double x1, double y1, double x2, double y2) noexcept {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  Bearing b;
  b.distance = std::sqrt(dx * dx + dy * dy);
  if (b.distance == 0) return b;
  if (dy == 0) {
    b.direction = x2 >= x1 ? 100 : 300;
  } else if (dx == 0) {
    b.direction = y2 >= y1 ? 0 : 200;
  } else {
    b.direction = (dx > 0 ? 100 : 300) - std::atan(dy / dx) * 400 / kTwoPi;
  }
  return b;
}

}  // namespace kestrel::model
