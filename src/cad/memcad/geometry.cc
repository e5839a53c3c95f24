#include "cad/memcad/geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kestrel::memcad {

void Box::add(const Vec3& p) noexcept {
  if (empty_) {
    min_ = max_ = p;
    empty_ = false;
    return;
  }
  min_ = {std::min(min_.x, p.x), std::min(min_.y, p.y), std::min(min_.z, p.z)};
  max_ = {std::max(max_.x, p.x), std::max(max_.y, p.y), std::max(max_.z, p.z)};
}

void Box::add(const Box& b) noexcept {
  if (b.empty_) return;
  add(b.min_);
  add(b.max_);
}

bool Box::inside_plan(const Box& outer) const noexcept {
  if (empty_ || outer.empty_) return false;
  return min_.x >= outer.min_.x && min_.y >= outer.min_.y && max_.x <= outer.max_.x && max_.y <= outer.max_.y;
}

bool Box::touches_plan(const Box& other) const noexcept {
  if (empty_ || other.empty_) return false;
  return min_.x <= other.max_.x && other.min_.x <= max_.x && min_.y <= other.max_.y && other.min_.y <= max_.y;
}

namespace {

Vec3 cross(const Vec3& a, const Vec3& b) noexcept {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double dot(const Vec3& a, const Vec3& b) noexcept { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 scaled(const Vec3& v, double k) noexcept { return {v.x * k, v.y * k, v.z * k}; }

Vec3 plus(const Vec3& a, const Vec3& b) noexcept { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

// The unit vector along v; nullopt for a zero (or not finite) one.
std::optional<Vec3> unit(const Vec3& v) noexcept {
  if (v.x == 0 && v.y == 0) {
    if (v.z == 0 || !std::isfinite(v.z)) return std::nullopt;
    return Vec3{0, 0, v.z > 0 ? 1.0 : -1.0};  // exact, so that +Z stays the world system
  }
  const double length = std::sqrt(dot(v, v));
  if (!(length > 0) || !std::isfinite(length)) return std::nullopt;
  return scaled(v, 1 / length);
}

// A direction given by its angle in the plane of `ocs`, in world coordinates.
Vec3 world_direction(const Ocs& ocs, double a) noexcept { return ocs.to_wcs({std::cos(a), std::sin(a), 0}); }

}  // namespace

Ocs::Ocs(const Vec3& normal) noexcept {
  const std::optional<Vec3> n = unit(normal);
  if (!n || (n->x == 0 && n->y == 0 && n->z > 0)) return;
  // The arbitrary axis algorithm: a normal close to the world Z axis takes
  // its x axis from world Y, any other from world Z.
  constexpr double kNearZ = 1.0 / 64;
  const Vec3 reference = std::abs(n->x) < kNearZ && std::abs(n->y) < kNearZ ? Vec3{0, 1, 0} : Vec3{0, 0, 1};
  x_ = *unit(cross(reference, *n));
  y_ = *unit(cross(*n, x_));
  z_ = *n;
  world_ = false;
}

Vec3 Ocs::to_wcs(const Vec3& p) const noexcept {
  if (world_) return p;
  return plus(plus(scaled(x_, p.x), scaled(y_, p.y)), scaled(z_, p.z));
}

Vec3 Ocs::to_ocs(const Vec3& p) const noexcept {
  if (world_) return p;
  return {dot(p, x_), dot(p, y_), dot(p, z_)};
}

Box Ocs::to_wcs(const Box& b) const noexcept {
  if (world_ || b.empty()) return b;
  Box out;
  const Vec3& lo = b.min();
  const Vec3& hi = b.max();
  for (int corner = 0; corner < 8; ++corner) {
    out.add(to_wcs({corner & 1 ? hi.x : lo.x, corner & 2 ? hi.y : lo.y, corner & 4 ? hi.z : lo.z}));
  }
  return out;
}

Placement::Placement(Vec3 origin, Vec3 insertion, Vec3 scale, double rotation, const Vec3& normal) noexcept
    : origin_(origin),
      scale_(scale),
      plan_scale_(std::abs(scale.x)),
      height_scale_(std::abs(scale.y)) {
  const Ocs ocs(normal);
  const double c = std::cos(rotation);
  const double s = std::sin(rotation);
  insertion_ = ocs.to_wcs(insertion);
  columns_ = {ocs.to_wcs({c * scale.x, s * scale.x, 0}), ocs.to_wcs({-s * scale.y, c * scale.y, 0}),
              ocs.to_wcs({0, 0, scale.z})};
}

Vec3 Placement::apply(const Vec3& p) const noexcept {
  return plus(insertion_, apply_vector({p.x - origin_.x, p.y - origin_.y, p.z - origin_.z}));
}

Vec3 Placement::apply_vector(const Vec3& v) const noexcept {
  return plus(plus(scaled(columns_[0], v.x), scaled(columns_[1], v.y)), scaled(columns_[2], v.z));
}

double Placement::angle(double a) const noexcept {
  const Vec3 d = apply_vector({std::cos(a), std::sin(a), 0});
  return normalize_angle(std::atan2(d.y, d.x));
}

double Placement::stretch(const Vec3& w) const noexcept {
  const double sx = std::abs(scale_.x);
  if (sx == std::abs(scale_.y) && (w.z == 0 || sx == std::abs(scale_.z))) return sx;
  const Vec3 v{w.x * scale_.x, w.y * scale_.y, w.z * scale_.z};
  return std::sqrt(dot(v, v) / dot(w, w));
}

bool Placement::reverses() const noexcept { return dot(cross(columns_[0], columns_[1]), columns_[2]) < 0; }

bool Placement::mirrored() const noexcept {
  return columns_[0].x * columns_[1].y - columns_[0].y * columns_[1].x < 0;
}

PlacedPlane::PlacedPlane(const Vec3& normal, const Placement& placement) noexcept
    : placement_(placement), from_(normal) {
  const Vec3 x = placement.apply_vector(from_.to_wcs({1, 0, 0}));
  const Vec3 y = placement.apply_vector(from_.to_wcs({0, 1, 0}));
  // The images of the plane's own axes keep their turn around the new normal.
  const std::optional<Vec3> n = unit(cross(x, y));
  to_ = Ocs(n ? *n : from_.normal());
}

Vec3 PlacedPlane::point(const Vec3& p) const noexcept { return to_.to_ocs(placement_.apply(from_.to_wcs(p))); }

double PlacedPlane::angle(double a) const noexcept {
  const Vec3 d = to_.to_ocs(placement_.apply_vector(world_direction(from_, a)));
  return normalize_angle(std::atan2(d.y, d.x));
}

BulgeArc bulge_arc(const Vec3& from, const Vec3& to, double bulge) noexcept {
  const double dx = to.x - from.x;
  const double dy = to.y - from.y;
  const double chord = std::hypot(dx, dy);
  const double included = 4 * std::atan(bulge);  // signed: negative runs clockwise
  const double radius = chord / (2 * std::sin(std::abs(included) / 2));
  // Distance from the chord's middle to the center, toward the arc's left when counter-clockwise.
  const double sagitta_offset = radius * std::cos(included / 2) * (bulge > 0 ? 1 : -1);
  const double mx = (from.x + to.x) / 2;
  const double my = (from.y + to.y) / 2;
  const Vec3 center{mx - dy / chord * sagitta_offset, my + dx / chord * sagitta_offset, from.z};
  double a1 = std::atan2(from.y - center.y, from.x - center.x);
  double a2 = std::atan2(to.y - center.y, to.x - center.x);
  if (bulge < 0) std::swap(a1, a2);
  return {center, radius, normalize_angle(a1), normalize_angle(a2)};
}

double normalize_angle(double a) noexcept {
  constexpr double kTurn = 2 * std::numbers::pi;
  a = std::fmod(a, kTurn);
  if (a < 0) a += kTurn;
  return a >= kTurn ? 0 : a;
}

Vec3 point_on_circle(const Vec3& center, double radius, double angle) noexcept {
  return {center.x + radius * std::cos(angle), center.y + radius * std::sin(angle), center.z};
}

}  // namespace kestrel::memcad
