// The late-bound members of Block: the Add* family, InsertBlock, Count, Item, Name, Origin.
#include <cmath>

#include "cad/memcad/arguments.h"
#include "cad/memcad/block.h"
#include "cad/memcad/block_reference.h"
#include "cad/memcad/curves.h"
#include "cad/memcad/document.h"
#include "cad/memcad/errors.h"
#include "cad/memcad/faces.h"
#include "cad/memcad/hatch_patterns.h"
#include "cad/memcad/polylines.h"
#include "cad/memcad/texts.h"

namespace kestrel::memcad {

namespace {

template <class E>
Variant added(Block& block, EntityPtr<E> entity) {
  return Variant(hand_out(block.adopt(std::move(entity))));
}

double positive_argument(Args args, std::size_t position, const char* what) {
  const double value = double_argument(args, position);
  if (!(value > 0)) raise_refused(std::string(what) + " debe ser mayor que cero");
  return value;
}

std::vector<double> vertex_argument(Args args, std::size_t dimension) {
  std::vector<double> values = numbers_argument(args, 1);
  check_vertex_list(values, dimension);
  return values;
}

Variant add_point(Block& b, Args a) { return added(b, make_entity<Point>(point_argument(a, 1))); }

Variant add_line(Block& b, Args a) {
  return added(b, make_entity<Line>(point_argument(a, 1), point_argument(a, 2)));
}

Variant add_polyline(Block& b, Args a) { return added(b, make_entity<Polyline2d>(vertex_argument(a, 3))); }

Variant add_lightweight(Block& b, Args a) {
  return added(b, make_entity<LightweightPolyline>(vertex_argument(a, 2)));
}

Variant add_3d_polyline(Block& b, Args a) { return added(b, make_entity<Polyline3d>(vertex_argument(a, 3))); }

Variant add_arc(Block& b, Args a) {
  const Vec3 center = point_argument(a, 1);
  const double radius = positive_argument(a, 2, "El radio");
  const double start = normalize_angle(double_argument(a, 3));
  const double end = normalize_angle(double_argument(a, 4));
  return added(b, make_entity<Arc>(center, radius, start, end));
}

Variant add_circle(Block& b, Args a) {
  const Vec3 center = point_argument(a, 1);
  return added(b, make_entity<Circle>(center, positive_argument(a, 2, "El radio")));
}

Variant add_text(Block& b, Args a) {
  ShortText text = text_argument(a, 1);
  const Vec3 at = point_argument(a, 2);
  return added(b, make_entity<Text>(std::move(text), at, positive_argument(a, 3, "La altura")));
}

Variant add_mtext(Block& b, Args a) {
  const Vec3 at = point_argument(a, 1);
  const double width = double_argument(a, 2);
  check_range(width, 0, 1e100, "anchura");
  return added(b, make_entity<MText>(at, width, string_argument(a, 3)));
}

Variant add_3d_face(Block& b, Args a) {
  const std::array<Vec3, 4> corners{point_argument(a, 1), point_argument(a, 2), point_argument(a, 3),
                                    point_argument(a, 4)};
  return added(b, make_entity<Face3d>(corners));
}

Variant add_hatch(Block& b, Args a) {
  const std::int32_t type = long_argument(a, 1);
  std::string name = string_argument(a, 2);
  const bool associative = bool_argument(a, 3);
  check_hatch_pattern(type, name);
  return added(b, make_entity<Hatch>(static_cast<std::int16_t>(type), std::move(name), associative));
}

Variant add_attribute(Block& b, Args a) {
  const double height = positive_argument(a, 1, "La altura");
  const std::int32_t mode = long_argument(a, 2);
  std::string prompt = string_argument(a, 3);
  const Vec3 at = point_argument(a, 4);
  std::string tag = string_argument(a, 5);
  if (tag.empty() || tag.find(' ') != std::string::npos) raise_refused("Etiqueta de atributo no válida");
  auto definition = make_entity<AttributeDefinition>(std::move(tag), string_argument(a, 6), at, height);
  definition->prompt = std::move(prompt);
  definition->mode = mode;
  return added(b, std::move(definition));
}

// True when `block` holds, at any depth, a reference to `target`.
bool refers_to(const Block& block, const Block& target, int depth = 0) {
  if (&block == &target) return true;
  if (depth > 16) return false;
  for (const auto& e : block.entities()) {
    if (e->kind() != EntityKind::kBlockReference) continue;
    const Block* inner = static_cast<const BlockReference&>(*e).block;
    if (inner && refers_to(*inner, target, depth + 1)) return true;
  }
  return false;
}

// Each variable attribute definition of the block becomes an attribute of the reference.
void add_attributes(BlockReference& ref) {
  const Placement placement = ref.placement();
  for (const auto& e : ref.block->entities()) {
    if (e->kind() != EntityKind::kAttributeDefinition) continue;
    const auto& def = static_cast<const AttributeDefinition&>(*e);
    if (def.mode & 2) continue;  // constant: drawn with the block, not asked per reference
    AttributeReference& attribute = ref.add_attribute(def.tag, def.text, def.insertion, def.height);
    copy_text_fields(def, attribute);
    attribute.set_layer_index(def.layer_index());
    attribute.invisible = (def.mode & 1) != 0;
    attribute.transform(placement);
  }
}

Variant insert_block(Block& b, Args a) {
  const Vec3 at = point_argument(a, 1);
  const std::string name = string_argument(a, 2);
  const Vec3 scale{double_argument(a, 3), double_argument(a, 4), double_argument(a, 5)};
  const double rotation = double_argument(a, 6);
  if (scale.x == 0 || scale.y == 0 || scale.z == 0) raise_refused("La escala del bloque no puede ser cero");
  Block* block = b.document()->blocks().find(name);
  if (!block || block->is_layout()) raise_refused("No se encuentra el bloque \"" + name + "\"");
  if (refers_to(*block, b)) raise_refused("El bloque \"" + name + "\" se referencia a sí mismo");
  auto ref = make_entity<BlockReference>(block, at);
  ref->scale = scale;
  ref->rotation = rotation;
  b.adopt(ref);
  add_attributes(*ref);
  return Variant(hand_out(*ref));
}

Variant item(Block& b, Args a) {
  const std::int32_t i = long_argument(a, 1);
  if (i < 0 || static_cast<std::size_t>(i) >= b.size()) raise_not_found("el índice " + std::to_string(i));
  return Variant(hand_out(*b.entities()[static_cast<std::size_t>(i)]));
}

void put_name(Block& b, const Variant& v) {
  if (b.is_layout()) raise_refused("El espacio de un dibujo no se puede renombrar");
  if (!b.document()) raise_drawing_closed();
  b.document()->blocks().rename(b, v.to_string());
}

const core::Member<Block> kMembers[] = {
    {"Name", [](Block& b) { return Variant(b.name()); }, &put_name},
    {"Origin", [](Block& b) { return point_variant(b.origin); },
     [](Block& b, const Variant& v) { b.origin = point_value(v); }},
    {"Count", [](Block& b) { return Variant(static_cast<std::int32_t>(b.size())); }},
    {"IsLayout", [](Block& b) { return Variant(b.is_layout()); }},
    {"Item", nullptr, nullptr, &item},
    {"AddPoint", nullptr, nullptr, &add_point},
    {"AddLine", nullptr, nullptr, &add_line},
    {"AddPolyline", nullptr, nullptr, &add_polyline},
    {"AddLightWeightPolyline", nullptr, nullptr, &add_lightweight},
    {"Add3DPoly", nullptr, nullptr, &add_3d_polyline},
    {"AddArc", nullptr, nullptr, &add_arc},
    {"AddCircle", nullptr, nullptr, &add_circle},
    {"AddText", nullptr, nullptr, &add_text},
    {"AddMText", nullptr, nullptr, &add_mtext},
    {"Add3DFace", nullptr, nullptr, &add_3d_face},
    {"AddHatch", nullptr, nullptr, &add_hatch},
    {"AddAttribute", nullptr, nullptr, &add_attribute},
    {"InsertBlock", nullptr, nullptr, &insert_block},
};

}  // namespace

const core::MemberTable<Block>& Block::member_table() {
  static const core::MemberTable<Block> table{std::span<const core::Member<Block>>(kMembers)};
  return table;
}

}  // namespace kestrel::memcad
