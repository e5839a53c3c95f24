#include "cad/memcad/pick_box.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "cad/memcad/block.h"
#include "cad/memcad/curves.h"
#include "cad/memcad/faces.h"
#include "cad/memcad/polylines.h"
#include "cad/memcad/selection.h"

namespace kestrel::memcad {

namespace {

double segment_distance(Vec3 a, Vec3 b, Vec3 p) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

// The distance to the chain of vertices, closing it when asked.
double chain_distance(const std::vector<Vec3>& v, bool closed, Vec3 p) {
  if (v.empty()) return std::numeric_limits<double>::infinity();
  double best = std::hypot(v[0].x - p.x, v[0].y - p.y);
  for (std::size_t i = 1; i < v.size(); ++i) best = std::min(best, segment_distance(v[i - 1], v[i], p));
  if (closed && v.size() > 2) best = std::min(best, segment_distance(v.back(), v.front(), p));
  return best;
}

std::vector<Vec3> plan_vertices(const std::vector<double>& values, std::size_t stride, const Ocs& ocs, double z) {
  std::vector<Vec3> out;
  out.reserve(values.size() / stride);
  for (std::size_t i = 0; i + stride <= values.size(); i += stride) out.push_back(ocs.to_wcs({values[i], values[i + 1], z}));
  return out;
}

double circle_distance(Vec3 center, double radius, Vec3 p) {
  return std::abs(std::hypot(center.x - p.x, center.y - p.y) - radius);
}

double box_distance(const Box& box, Vec3 p) {
  if (box.empty()) return std::numeric_limits<double>::infinity();
  const double dx = std::max({box.min().x - p.x, 0.0, p.x - box.max().x});
  const double dy = std::max({box.min().y - p.y, 0.0, p.y - box.max().y});
  return std::hypot(dx, dy);
}

}  // namespace

std::vector<EntityPtr<Entity>> entities_in_window(const Block& block, Vec3 corner1, Vec3 corner2) {
  Box window;
  window.add(corner1);
  window.add(corner2);
  return select_in_box(block, window, false);
}

double plan_distance(const Entity& e, Vec3 at) {
  switch (e.kind()) {
    case EntityKind::kPoint: {
      const Vec3 p = static_cast<const Point&>(e).position;
      return std::hypot(p.x - at.x, p.y - at.y);
    }
    case EntityKind::kLine: {
      const auto& line = static_cast<const Line&>(e);
      return segment_distance(line.start, line.end, at);
    }
    case EntityKind::kLightweightPolyline: {
      const auto& pl = static_cast<const LightweightPolyline&>(e);
      return chain_distance(plan_vertices(pl.xy, 2, Ocs(pl.normal), pl.elevation), pl.closed, at);
    }
    case EntityKind::kPolyline2d: {
      const auto& pl = static_cast<const Polyline2d&>(e);
      return chain_distance(plan_vertices(pl.xyz, 3, Ocs(pl.normal), pl.elevation), pl.closed, at);
    }
    case EntityKind::kPolyline3d: {
      const auto& pl = static_cast<const Polyline3d&>(e);
      return chain_distance(plan_vertices(pl.xyz, 3, Ocs(), 0), pl.closed, at);
    }
    case EntityKind::kCircle: {
      const auto& c = static_cast<const Circle&>(e);
      return circle_distance(Ocs(c.normal).to_wcs(c.center), c.radius, at);
    }
    case EntityKind::kArc: {
      const auto& a = static_cast<const Arc&>(e);
      return circle_distance(a.ocs().to_wcs(a.center), a.radius, at);
    }
    case EntityKind::kFace3d: {
      const auto& f = static_cast<const Face3d&>(e);
      return chain_distance({f.corners.begin(), f.corners.end()}, true, at);
    }
    default: return box_distance(e.extents(), at);
  }
}

EntityPtr<Entity> entity_at(const Block& block, Vec3 at, double half_box) {
  EntityPtr<Entity> best;
  double best_distance = std::numeric_limits<double>::infinity();
  for (const auto& e : block.entities()) {
    const double d = plan_distance(*e, at);
    // Geometry within the half side of the point crosses the box.
    if (d <= half_box && d < best_distance) {
      best = e;
      best_distance = d;
    }
  }
  return best;
}

}  // namespace kestrel::memcad
