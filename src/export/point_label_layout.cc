#include "export/point_label_layout.h"

#include "core/numeric.h"

namespace kestrel::exporting {

namespace {

// The row of a position: 1 above, 2 right, anything else below.
int row_of(std::int32_t position) noexcept { return position == 1 || position == 2 ? position - 1 : 2; }

// The baseline height of each row relative to the point.
double row_y(int row, double y, double h) noexcept {
  switch (row) {
    case 0: return y + h;
    case 1: return y - 0.5 * h;
    default: return y - 2 * h;
  }
}

}  // namespace

LabelPoint fixed_position(LabelKind kind, bool vertical, const LabelPoint& p, double h, std::int32_t length) {
  switch (kind) {
    case LabelKind::kName: {
      const double offset = (length + 1) * h;
      return vertical ? LabelPoint{p.x, p.y - offset, p.z} : LabelPoint{p.x - offset, p.y, p.z};
    }
    case LabelKind::kNumber: return p;
    case LabelKind::kElevation:
      return vertical ? LabelPoint{p.x + 1.4 * h, p.y, p.z} : LabelPoint{p.x, p.y - 1.4 * h, p.z};
    case LabelKind::kCode:
      return vertical ? LabelPoint{p.x - 1.4 * h, p.y, p.z} : LabelPoint{p.x, p.y + 1.4 * h, p.z};
  }
  return p;
}

LabelPoint RunningWidths::place(LabelKind kind, std::int32_t position, const LabelPoint& p, double h,
                                std::int32_t length) {
  const int row = row_of(position);
  const double y = row_y(row, p.y, h);
  std::int32_t& width = widths_[static_cast<std::size_t>(row)];
  const double text_width = (length + 0.5) * h;
  switch (kind) {
    case LabelKind::kName: {
      // To the right the name keeps a whole h from the point.
      const LabelPoint at{row == 1 ? p.x + h : p.x + 0.5 * h, y, p.z};
      width = core::clng(text_width);
      return at;
    }
    case LabelKind::kNumber: return {p.x + 0.5 * h, y, p.z};
    case LabelKind::kCode: {
      const LabelPoint at{row == 0 ? p.x + width + 0.5 * h : p.x + 0.5 * h + width, y, p.z};
      width = core::clng(text_width + width);
      return at;
    }
    case LabelKind::kElevation: return {p.x + width + 0.5 * h, y, p.z};
  }
  return p;
}

}  // namespace kestrel::exporting
