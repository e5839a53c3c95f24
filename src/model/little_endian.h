// Reading and writing numbers as little-endian bytes, the byte order of the
// host's records, whatever the machine's own order.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

namespace kestrel::model {

template <class T>
concept LittleEndianValue =
    std::is_same_v<T, std::int16_t> || std::is_same_v<T, std::int32_t> || std::is_same_v<T, double>;

// The unsigned integer of the same width as T.
template <class T>
using BitsOf =
    std::conditional_t<sizeof(T) == 2, std::uint16_t, std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>;

// Writes `value` into the first sizeof(T) bytes of `to`.
template <LittleEndianValue T>
void store_le(std::span<std::byte> to, T value) noexcept {
  auto bits = std::bit_cast<BitsOf<T>>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    to[i] = static_cast<std::byte>(bits & 0xFFu);
    bits = static_cast<BitsOf<T>>(bits >> 8);
  }
}

// Reads a T from the first sizeof(T) bytes of `from`.
template <LittleEndianValue T>
[[nodiscard]] T load_le(std::span<const std::byte> from) noexcept {
  BitsOf<T> bits = 0;
  for (std::size_t i = sizeof(T); i-- > 0;) {
    bits = static_cast<BitsOf<T>>((bits << 8) | std::to_integer<BitsOf<T>>(from[i]));
  }
  return std::bit_cast<T>(bits);
}

}  // namespace kestrel::model
