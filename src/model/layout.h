// Raw images of the fixed part of the exchange records: the bytes of a record
// exactly as the host's record library lays it out (model/record_fields.h),
// little-endian, padding zero. References (strings, arrays) are 4-byte slots
// that the automation server fills with its own pointers; here they are
// written as zero and ignored on reading, so an image round trip keeps every
// number, Boolean and carried byte (including `Extra`) and leaves strings
// empty and arrays unallocated.
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "model/record_fields.h"

namespace kestrel::model {

template <fields::Record R>
using Image = std::array<std::byte, fields::Layout<R>::kSize>;

// The image of the fixed part of `record`.
template <fields::Record R>
[[nodiscard]] Image<R> to_image(const R& record);

// A record from an image of its fixed part. An image of the wrong size
// raises error 5.
template <fields::Record R>
[[nodiscard]] R from_image(std::span<const std::byte> image);

}  // namespace kestrel::model
