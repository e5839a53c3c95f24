#include "model/colours.h"

#include <algorithm>

#include "core/numeric.h"

namespace kestrel::model {

namespace {

// The table sorted by colour, for a binary search: generators call this
// once per entity.
consteval std::array<AciEntry, kAciTable.size()> by_colour() {
  std::array<AciEntry, kAciTable.size()> sorted = kAciTable;
  std::sort(sorted.begin(), sorted.end(), [](const AciEntry& a, const AciEntry& b) { return a.colour < b.colour; });
  return sorted;
}

constexpr std::array<AciEntry, kAciTable.size()> kByColour = by_colour();

constexpr std::int32_t kNoEntryIndex = 7;

}  // namespace

std::int32_t Color_ACI(std::int32_t host_colour) noexcept {
  const auto it = std::lower_bound(kByColour.begin(), kByColour.end(), host_colour,
                                   [](const AciEntry& e, std::int32_t c) { return e.colour < c; });
  if (it == kByColour.end() || it->colour != host_colour) return kNoEntryIndex;
  return it->index;
}

std::int32_t Color_RGB(const core::Variant& number) {
  const double value = number.to_double();
  // Out-of-range values answer white before any conversion can overflow.
  if (value < 0 || value > 256) return kRgbWhite;
  return Color_RGB(core::clng(value));
}

}  // namespace kestrel::model
