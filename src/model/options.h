// `Opciones`: the host's option block of a drawing (388 bytes at offset 248
// of `t_Dibujo`). It is held as the six plain pieces in which the loaders
// copy it; the fields the system reads or writes are reached through named
// offsets (offsets are those of `t_Dibujo`), every other byte is carried.
// Values are little-endian, as in the host's record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kestrel::model {

// A block of plain bytes carried as it is.
template <std::size_t N>
using Bytes = std::array<std::byte, N>;

// A double of the option block, named by its offset in `t_Dibujo`.
struct DoubleOption {
  std::int32_t offset;
};
// A long (32-bit) of the option block, named by its offset in `t_Dibujo`.
struct LongOption {
  std::int32_t offset;
};

// Drawing extents, written on import from the CAD document's limits.
inline constexpr DoubleOption kXMax{248};
inline constexpr DoubleOption kXMin{256};
inline constexpr DoubleOption kYMax{264};
inline constexpr DoubleOption kYMin{272};
inline constexpr DoubleOption kZMax{280};
inline constexpr DoubleOption kZMin{288};
inline constexpr DoubleOption kWidthTimes11{296};   // width × 1.1
inline constexpr DoubleOption kHeightTimes11{304};  // height × 1.1
inline constexpr DoubleOption kZRange{312};         // z maximum − z minimum
inline constexpr DoubleOption kOriginY{324};
inline constexpr DoubleOption kOriginX{332};
inline constexpr DoubleOption kScale{364};   // written 1.0 on import
inline constexpr DoubleOption kFactor{376};  // taken as 1.0 when zero by `Mete` and `Saca`

// The 18 dialog flags (longs at 384..452): 1 means the item is available.
inline constexpr int kDialogFlagCount = 18;
[[nodiscard]] constexpr LongOption dialog_flag(int k) { return {384 + 4 * k}; }
inline constexpr LongOption kChkPtos{384};  // points
inline constexpr LongOption kChkText{420};  // texts
inline constexpr LongOption kChkNu{436};    // point numbers
inline constexpr LongOption kChkNo{440};    // point names
inline constexpr LongOption kChkCod{444};   // point codes
inline constexpr LongOption kChkZ{448};     // elevations
inline constexpr LongOption kChkPoli{456};  // polylines
inline constexpr LongOption kTrianglesPresent{460};
inline constexpr LongOption kChkCurv{464};  // contours
inline constexpr LongOption kTriangulationColour{484};
inline constexpr LongOption kTrianglesPresent2{516};

// The six pieces: offset in `t_Dibujo` and size.
struct OptionPiece {
  std::int32_t offset;
  std::int32_t size;
};
inline constexpr std::array<OptionPiece, 6> kOptionPieces{
    {{248, 136}, {384, 72}, {456, 4}, {460, 60}, {520, 60}, {580, 56}}};

// True when offset..offset+width-1 lies inside one piece.
[[nodiscard]] constexpr bool within_one_piece(std::int32_t offset, std::int32_t width) {
  for (const OptionPiece& p : kOptionPieces) {
    if (offset >= p.offset && offset + width <= p.offset + p.size) return true;
  }
  return false;
}

struct Opciones {
  static constexpr std::int32_t kOffset = 248;  // in `t_Dibujo`
  static constexpr std::int32_t kSize = 388;

  Bytes<136> piece248{};
  Bytes<72> piece384{};
  Bytes<4> piece456{};
  Bytes<60> piece460{};
  Bytes<60> piece520{};
  Bytes<56> piece580{};

  // Read or write one named value. An offset that does not name a value
  // inside one piece raises error 5.
  [[nodiscard]] double get(DoubleOption option) const;
  void set(DoubleOption option, double value);
  [[nodiscard]] std::int32_t get(LongOption option) const;
  void set(LongOption option, std::int32_t value);
  // A dialog flag is ticked when it holds exactly 1.
  [[nodiscard]] bool ticked(LongOption option) const { return get(option) == 1; }

  // The bytes offset..offset+width-1 (offsets of `t_Dibujo`), inside one piece.
  [[nodiscard]] std::span<std::byte> bytes_at(std::int32_t offset, std::int32_t width);
  [[nodiscard]] std::span<const std::byte> bytes_at(std::int32_t offset, std::int32_t width) const;

  friend bool operator==(const Opciones&, const Opciones&) = default;
};

namespace detail {
constexpr bool pieces_are_contiguous() {
  std::int32_t end = Opciones::kOffset;
  for (const OptionPiece& p : kOptionPieces) {
    if (p.offset != end) return false;
    end += p.size;
  }
  return end == Opciones::kOffset + Opciones::kSize;
}
constexpr bool named_options_fit() {
  for (const DoubleOption d : {kXMax, kXMin, kYMax, kYMin, kZMax, kZMin, kWidthTimes11, kHeightTimes11, kZRange,
                               kOriginY, kOriginX, kScale, kFactor}) {
    if (!within_one_piece(d.offset, 8) || d.offset % 4 != 0) return false;
  }
  for (const LongOption l :
       {kChkPtos, kChkText, kChkNu, kChkNo, kChkCod, kChkZ, kChkPoli, kTrianglesPresent, kChkCurv, kTriangulationColour,
        kTrianglesPresent2, dialog_flag(0), dialog_flag(kDialogFlagCount - 1)}) {
    if (!within_one_piece(l.offset, 4) || l.offset % 4 != 0) return false;
  }
  return true;
}
}  // namespace detail

static_assert(detail::pieces_are_contiguous(), "the six option pieces cover offsets 248..635 exactly");
static_assert(detail::named_options_fit(), "every named option lies inside one piece, on a 4-byte boundary");
static_assert(dialog_flag(0).offset == kChkPtos.offset && dialog_flag(9).offset == kChkText.offset &&
              dialog_flag(13).offset == kChkNu.offset && dialog_flag(16).offset == kChkZ.offset);
static_assert(dialog_flag(kDialogFlagCount).offset == kChkPoli.offset, "the flag longs end where chkPoli starts");

}  // namespace kestrel::model
