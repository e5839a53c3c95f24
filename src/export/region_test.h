// Which closed outline holds which point, exactly: coordinates are whole
// hundredths of a drawing unit, the outline is filled by the winding rule
// (a point is inside when the outline winds around it a non-zero number of
// times), and a point lying exactly on an edge or on a vertex is inside.
// The same rule serves every caller, so a brute-force check and the
// indexed colouring always agree.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kestrel::exporting {

struct GridPoint {
  std::int64_t x = 0;
  std::int64_t y = 0;
  friend bool operator==(const GridPoint&, const GridPoint&) = default;
};

// The largest magnitude a coordinate in hundredths may have; beyond it (or
// for a value that is not a number) a coordinate has no grid point.
inline constexpr double kGridLimit = 4.0e15;

// floor(v x 100) and round(v x 100) (half away from zero), or false when
// the result is not finite or beyond kGridLimit.
[[nodiscard]] bool to_hundredths_floor(double v, std::int64_t& out) noexcept;
[[nodiscard]] bool to_hundredths_round(double v, std::int64_t& out) noexcept;

// True when `p` is inside the outline `ring` (its vertices in order; the
// closing edge from the last vertex to the first is implied) or on it.
// An outline of fewer than three vertices holds only the points on it.
[[nodiscard]] bool inside_region(std::span<const GridPoint> ring, GridPoint p) noexcept;

struct GridBox {
  std::int64_t x_min = 0, y_min = 0, x_max = -1, y_max = -1;  // empty when max < min
};

[[nodiscard]] GridBox box_of(std::span<const GridPoint> ring) noexcept;

// The test points of a surface, bucketed in a uniform grid of about two
// points per cell, so that an outline looks only at the points in its box.
// A point can be retired: it is then never handed out again.
class PointGrid {
 public:
  explicit PointGrid(std::span<const GridPoint> points);

  // Calls visit(index) for every live point inside `box` (edges included);
  // a call that returns true retires that point.
  template <class Visit>
  void visit_box(const GridBox& box, Visit&& visit);

 private:
  [[nodiscard]] std::int64_t column_of(std::int64_t x) const noexcept;
  [[nodiscard]] std::int64_t row_of(std::int64_t y) const noexcept;

  std::span<const GridPoint> points_;
  GridBox bounds_;
  std::int64_t cell_w_ = 1, cell_h_ = 1, columns_ = 0, rows_ = 0;
  std::vector<std::uint32_t> start_;  // per cell, into ids_
  std::vector<std::uint32_t> live_;   // per cell, how many of its ids are still live
  std::vector<std::uint32_t> ids_;
};

template <class Visit>
void PointGrid::visit_box(const GridBox& box, Visit&& visit) {
  if (columns_ == 0 || box.x_max < bounds_.x_min || box.x_min > bounds_.x_max || box.y_max < bounds_.y_min ||
      box.y_min > bounds_.y_max) {
    return;
  }
  const std::int64_t c0 = column_of(box.x_min), c1 = column_of(box.x_max);
  const std::int64_t r0 = row_of(box.y_min), r1 = row_of(box.y_max);
  for (std::int64_t r = r0; r <= r1; ++r) {
    for (std::int64_t c = c0; c <= c1; ++c) {
      const auto cell = static_cast<std::size_t>(r * columns_ + c);
      std::uint32_t* ids = ids_.data() + start_[cell];
      std::uint32_t& live = live_[cell];
      for (std::uint32_t k = 0; k < live;) {
        const GridPoint& p = points_[ids[k]];
        const bool in_box = p.x >= box.x_min && p.x <= box.x_max && p.y >= box.y_min && p.y <= box.y_max;
        if (in_box && visit(ids[k])) {
          std::swap(ids[k], ids[live - 1]);  // retired: out of the live part of the cell
          --live;
        } else {
          ++k;
        }
      }
    }
  }
}

}  // namespace kestrel::exporting
