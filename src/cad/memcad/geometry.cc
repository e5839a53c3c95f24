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

Placement::Placement(Vec3 origin, Vec3 insertion, Vec3 scale, double rotation) noexcept
    : origin_(origin),
      insertion_(insertion),
      scale_(scale),
      rotation_(rotation),
      cos_(std::cos(rotation)),
      sin_(std::sin(rotation)),
      plan_scale_(std::abs(scale.x)),
      height_scale_(std::abs(scale.y)) {}

Vec3 Placement::apply(const Vec3& p) const noexcept {
  const double sx = (p.x - origin_.x) * scale_.x;
  const double sy = (p.y - origin_.y) * scale_.y;
  return {insertion_.x + cos_ * sx - sin_ * sy, insertion_.y + sin_ * sx + cos_ * sy,
          insertion_.z + (p.z - origin_.z) * scale_.z};
}

double Placement::angle(double a) const noexcept {
  const double dx = std::cos(a) * scale_.x;
  const double dy = std::sin(a) * scale_.y;
  return normalize_angle(std::atan2(sin_ * dx + cos_ * dy, cos_ * dx - sin_ * dy));
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
