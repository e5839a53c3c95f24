// Operations on exchange records. Copying a record or an array of records is
// the ordinary C++ copy, which is deep (strings and arrays are values); these
// helpers name the remaining operations the loaders and builders need.
#pragma once

#include <cstddef>
#include <span>

#include "model/record_fields.h"

namespace kestrel::model {

// Empties a record: strings empty, arrays unallocated, numbers and carried
// bytes zero. The empty results of the compatibility methods are such records.
template <fields::Record R>
void clear(R& record) {
  record = R{};
}

// A deep copy of an array of records (or of values), bounds included.
template <class T>
[[nodiscard]] VbArray<T> copy_array(const VbArray<T>& from) {
  return from;
}

// Copies a plain block of bytes; the two blocks must have the same size
// (error 5 otherwise).
void copy_bytes(std::span<const std::byte> from, std::span<std::byte> to);

}  // namespace kestrel::model
