// Bearings as surveyors give them: grads (400 to the circle) measured
// clockwise from +Y (north), 100 = +X (east).
#pragma once

namespace kestrel::model {

struct Bearing {
  double direction = 0;  // grads, 0 <= direction < 400
  double distance = 0;   // plan distance
};

// `Rumbo_Distancia`: the direction and plan distance from (x1, y1) to
// (x2, y2). Coinciding points give direction 0; an east-west line gives
// exactly 100 or 300 and a north-south line exactly 0 or 200.
[[nodiscard]] Bearing Rumbo_Distancia(double x1, double y1, double x2, double y2) noexcept;

}  // namespace kestrel::model
