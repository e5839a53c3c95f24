// The circle through three points, as the polyline generator draws arcs
// (shape code 3) and circles (shape code 5) from them.
#pragma once

#include <span>

namespace kestrel::exporting {

// The radius given when the three points define no circle: two of them
// coincide, or the three lie on one line.
inline constexpr double kDegenerateRadius = 100000;

// `Arco_Tres_Puntos`: `xyz` holds P1, P2, P3 as X, Y, Z (indices 0-8). On a
// circle through them (in plan) writes its centre's X and Y over indices 0
// and 1, its radius, and the start and end angles (radians,
// counter-clockwise from +X) of the arc from P1 through P2 to P3, so that
// the counter-clockwise arc from `start` to `end` passes through P2 —
// whichever way the points turn. Returns true then.
// When P1 and P2, or P2 and P3, coincide within 0.0001 on every axis, or the
// points are collinear, only `radius` is written (kDegenerateRadius) and the
// result is false.
bool Arco_Tres_Puntos(std::span<double, 9> xyz, double& radius, double& start, double& end);

}  // namespace kestrel::exporting
