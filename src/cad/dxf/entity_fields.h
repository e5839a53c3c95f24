// The field tables of the entity kinds whose groups are fixed: which memcad
// member each group code holds (see field_table.h). Kinds with repeated
// groups (polylines, hatches, MTEXT chunks) add their own code around these.
#pragma once

#include <cstdint>
#include <span>

#include "cad/dxf/field_table.h"
#include "cad/memcad/block_reference.h"
#include "cad/memcad/curves.h"
#include "cad/memcad/faces.h"
#include "cad/memcad/texts.h"

namespace kestrel::dxf {

[[nodiscard]] std::span<const Field<memcad::Point>> point_fields() noexcept;
[[nodiscard]] std::span<const Field<memcad::Line>> line_fields() noexcept;
[[nodiscard]] std::span<const Field<memcad::Circle>> circle_fields() noexcept;
[[nodiscard]] std::span<const Field<memcad::Arc>> arc_fields() noexcept;
[[nodiscard]] std::span<const Field<memcad::Face3d>> face_fields() noexcept;
[[nodiscard]] std::span<const Field<memcad::Text>> text_fields() noexcept;
[[nodiscard]] std::span<const Field<memcad::AttributeReference>> attribute_fields() noexcept;
[[nodiscard]] std::span<const Field<memcad::AttributeDefinition>> attribute_definition_fields() noexcept;
// A hatch's pattern type as DXF group 76 numbers it, from memcad's (the
// automation interface's: 0 predefined, 1 user-defined, 2 custom), and back:
// DXF numbers the first two the other way round (1 predefined, 0 user-defined).
[[nodiscard]] constexpr std::int16_t swap_pattern_type_numbering(std::int16_t type) noexcept {
  return type == 0 ? std::int16_t{1} : type == 1 ? std::int16_t{0} : type;
}

// MTEXT without its text, which is split in chunks (groups 3 and 1).
[[nodiscard]] std::span<const Field<memcad::MText>> mtext_fields() noexcept;
// INSERT after its block name (group 2), which names a block of the drawing.
[[nodiscard]] std::span<const Field<memcad::BlockReference>> insert_fields() noexcept;

}  // namespace kestrel::dxf
