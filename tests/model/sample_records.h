// Records for the model tests: one with every field set to a non-default
// value, and small drawings for the loaders.
#pragma once

#include <cstdint>

#include "model/records.h"

namespace kestrel::model::testing {

// Bytes 1, 2, 3 ... starting at `first`, so that every carried byte differs.
template <std::size_t N>
Bytes<N> counting_bytes(int first) {
  Bytes<N> bytes{};
  for (std::size_t i = 0; i < N; ++i) bytes[i] = static_cast<std::byte>((first + static_cast<int>(i)) & 0xFF);
  return bytes;
}

// A drawing in which every field, carried bytes included, differs from its
// default; `seed` varies the numbers. Point arrays start at 0 (base point).
t_Dibujo full_drawing(int seed);

// A set of two full drawings with DibujoAct 2, Dibujos from 1.
t_Datos full_set();

// A small drawing with `points` points (arrays 1..n) on one layer, `triangles`
// triangles, one polyline and one text; its name is `name`.
t_Dibujo small_drawing(const char* name, std::int32_t points, std::int32_t triangles);

}  // namespace kestrel::model::testing
