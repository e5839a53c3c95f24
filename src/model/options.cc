#include "model/options.h"

#include <type_traits>

#include "core/error.h"
#include "model/little_endian.h"

namespace kestrel::model {

namespace {

// The piece of `o` holding offset..offset+width-1, as (piece bytes, start in piece).
template <class Self>
auto locate(Self& o, std::int32_t offset, std::int32_t width) {
  using Span = std::conditional_t<std::is_const_v<Self>, std::span<const std::byte>, std::span<std::byte>>;
  const std::array<Span, 6> pieces{Span(o.piece248), Span(o.piece384), Span(o.piece456),
                                   Span(o.piece460), Span(o.piece520), Span(o.piece580)};
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const OptionPiece& p = kOptionPieces[i];
    if (width >= 0 && offset >= p.offset && offset + width <= p.offset + p.size) {
      return pieces[i].subspan(static_cast<std::size_t>(offset - p.offset), static_cast<std::size_t>(width));
    }
  }
  core::raise(core::kInvalidCall);
}

}  // namespace

std::span<std::byte> Opciones::bytes_at(std::int32_t offset, std::int32_t width) {
  return locate(*this, offset, width);
}

std::span<const std::byte> Opciones::bytes_at(std::int32_t offset, std::int32_t width) const {
  return locate(*this, offset, width);
}

double Opciones::get(DoubleOption option) const { return load_le<double>(bytes_at(option.offset, 8)); }

void Opciones::set(DoubleOption option, double value) { store_le(bytes_at(option.offset, 8), value); }

std::int32_t Opciones::get(LongOption option) const { return load_le<std::int32_t>(bytes_at(option.offset, 4)); }

void Opciones::set(LongOption option, std::int32_t value) { store_le(bytes_at(option.offset, 4), value); }

}  // namespace kestrel::model
