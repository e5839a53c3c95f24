// The field tables of the entity kinds whose groups are fixed: which memcad
// member each group code holds (see field_table.h). Kinds with repeated
// groups (polylines, hatches, MTEXT chunks) add their own code around these.
#pragma once

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
// MTEXT without its text, which is split in chunks (groups 3 and 1).
[[nodiscard]] std::span<const Field<memcad::MText>> mtext_fields() noexcept;
// INSERT after its block name (group 2), which names a block of the drawing.
[[nodiscard]] std::span<const Field<memcad::BlockReference>> insert_fields() noexcept;

}  // namespace kestrel::dxf
