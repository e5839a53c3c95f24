#include "export/region_test.h"

#include <algorithm>
#include <cmath>

#include "core/exact_products.h"

namespace kestrel::exporting {

namespace {

// The sign of twice the signed area of (a, b, p): 1 when p lies left of
// a -> b. Exact, so that no coordinate within kGridLimit can overflow it.
int cross(GridPoint a, GridPoint b, GridPoint p) noexcept {
  return core::sign_of_product_difference(b.x - a.x, p.y - a.y, p.x - a.x, b.y - a.y);
}

bool on_segment(GridPoint a, GridPoint b, GridPoint p) noexcept {
  return cross(a, b, p) == 0 && p.x >= std::min(a.x, b.x) && p.x <= std::max(a.x, b.x) &&
         p.y >= std::min(a.y, b.y) && p.y <= std::max(a.y, b.y);
}

bool to_grid(double scaled, std::int64_t& out) noexcept {
  if (!(std::abs(scaled) <= kGridLimit)) return false;  // NaN fails too
  out = static_cast<std::int64_t>(scaled);
  return true;
}

}  // namespace

bool to_hundredths_floor(double v, std::int64_t& out) noexcept { return to_grid(std::floor(v * 100), out); }

bool to_hundredths_round(double v, std::int64_t& out) noexcept { return to_grid(std::round(v * 100), out); }

bool inside_region(std::span<const GridPoint> ring, GridPoint p) noexcept {
  const std::size_t n = ring.size();
  std::int64_t winding = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const GridPoint a = ring[i];
    const GridPoint b = ring[i + 1 == n ? 0 : i + 1];
    if (on_segment(a, b, p)) return true;
    if (a.y <= p.y) {
      if (b.y > p.y && cross(a, b, p) > 0) ++winding;  // upward edge with p on its left
    } else if (b.y <= p.y && cross(a, b, p) < 0) {
      --winding;  // downward edge with p on its right
    }
  }
  return n >= 3 && winding != 0;
}

GridBox box_of(std::span<const GridPoint> ring) noexcept {
  GridBox b;
  if (ring.empty()) return b;
  b = {ring[0].x, ring[0].y, ring[0].x, ring[0].y};
  for (const GridPoint& p : ring) {
    b.x_min = std::min(b.x_min, p.x);
    b.x_max = std::max(b.x_max, p.x);
    b.y_min = std::min(b.y_min, p.y);
    b.y_max = std::max(b.y_max, p.y);
  }
  return b;
}

PointGrid::PointGrid(std::span<const GridPoint> points) : points_(points), bounds_(box_of(points)) {
  if (points.empty()) return;
  // About two points per cell over the points' box, cells as square as the box allows.
  const double width = static_cast<double>(bounds_.x_max - bounds_.x_min) + 1;
  const double height = static_cast<double>(bounds_.y_max - bounds_.y_min) + 1;
  const double cells = std::max(1.0, static_cast<double>(points.size()) / 2);
  const double side = std::max(1.0, std::sqrt(width * height / cells));
  columns_ = std::clamp<std::int64_t>(static_cast<std::int64_t>(width / side) + 1, 1, 1 << 15);
  rows_ = std::clamp<std::int64_t>(static_cast<std::int64_t>(height / side) + 1, 1, 1 << 15);
  cell_w_ = static_cast<std::int64_t>(std::ceil(width / static_cast<double>(columns_)));
  cell_h_ = static_cast<std::int64_t>(std::ceil(height / static_cast<double>(rows_)));
  // Counting sort of the point indices by cell.
  const auto cell_count = static_cast<std::size_t>(columns_ * rows_);
  start_.assign(cell_count + 1, 0);
  std::vector<std::uint32_t> cell_of(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    cell_of[i] = static_cast<std::uint32_t>(row_of(points[i].y) * columns_ + column_of(points[i].x));
    ++start_[cell_of[i] + 1];
  }
  for (std::size_t c = 0; c < cell_count; ++c) start_[c + 1] += start_[c];
  live_.assign(cell_count, 0);
  ids_.resize(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    ids_[start_[cell_of[i]] + live_[cell_of[i]]++] = static_cast<std::uint32_t>(i);
  }
}

std::int64_t PointGrid::column_of(std::int64_t x) const noexcept {
  return std::clamp<std::int64_t>((std::max(x, bounds_.x_min) - bounds_.x_min) / cell_w_, 0, columns_ - 1);
}

std::int64_t PointGrid::row_of(std::int64_t y) const noexcept {
  return std::clamp<std::int64_t>((std::max(y, bounds_.y_min) - bounds_.y_min) / cell_h_, 0, rows_ - 1);
}

}  // namespace kestrel::exporting
