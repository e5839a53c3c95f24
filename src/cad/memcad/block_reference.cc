#include "cad/memcad/block_reference.h"

#include <array>
#include <cmath>

#include "cad/memcad/arguments.h"
#include "cad/memcad/block.h"
#include "cad/memcad/document.h"
#include "cad/memcad/errors.h"
#include "cad/memcad/explode.h"

namespace kestrel::memcad {

namespace {

// Deeper nesting is ignored for extents: only a cyclic (broken) file gets there.
constexpr int kMaxNesting = 16;

Box placed_box(const Box& box, const Placement& p) {
  Box out;
  if (box.empty()) return out;
  const Vec3& a = box.min();
  const Vec3& b = box.max();
  for (int corner = 0; corner < 8; ++corner) {
    out.add(p.apply({corner & 1 ? b.x : a.x, corner & 2 ? b.y : a.y, corner & 4 ? b.z : a.z}));
  }
  return out;
}

void put_scale(double& target, const Variant& v) {
  const double s = v.to_double();
  if (s == 0) raise_refused("La escala no puede ser cero");
  target = s;
}

Variant get_attributes(Entity& e) {
  const auto& attributes = as<BlockReference>(e).attributes;
  core::VbArray<Variant> out(0, static_cast<std::int32_t>(attributes.size()) - 1);
  for (std::size_t i = 0; i < attributes.size(); ++i) {
    out[static_cast<std::int32_t>(i)] = Variant(hand_out(*attributes[i]));
  }
  return Variant(std::move(out));
}

const core::Member<Entity> kReferenceMembers[] = {
    {"Name", [](Entity& e) { return Variant(as<BlockReference>(e).name()); }},
    {"EffectiveName", [](Entity& e) { return Variant(as<BlockReference>(e).name()); }},
    {"InsertionPoint", [](Entity& e) { return point_variant(as<BlockReference>(e).world_insertion()); },
     [](Entity& e, const Variant& v) {
       auto& r = as<BlockReference>(e);
       r.insertion = r.ocs().to_ocs(point_value(v));
     }},
    normal_member<BlockReference>(),
    {"XScaleFactor", [](Entity& e) { return Variant(as<BlockReference>(e).scale.x); },
     [](Entity& e, const Variant& v) { put_scale(as<BlockReference>(e).scale.x, v); }},
    {"YScaleFactor", [](Entity& e) { return Variant(as<BlockReference>(e).scale.y); },
     [](Entity& e, const Variant& v) { put_scale(as<BlockReference>(e).scale.y, v); }},
    {"ZScaleFactor", [](Entity& e) { return Variant(as<BlockReference>(e).scale.z); },
     [](Entity& e, const Variant& v) { put_scale(as<BlockReference>(e).scale.z, v); }},
    {"Rotation", [](Entity& e) { return Variant(as<BlockReference>(e).rotation); },
     [](Entity& e, const Variant& v) { as<BlockReference>(e).rotation = v.to_double(); }},
    {"HasAttributes", [](Entity& e) { return Variant(!as<BlockReference>(e).attributes.empty()); }},
    {"GetAttributes", nullptr, nullptr, [](Entity& e, Args) { return get_attributes(e); }},
    {"Explode", nullptr, nullptr, &explode_member},
};

}  // namespace

BlockReference::BlockReference(const BlockReference& other)
    : Entity(other),
      block(other.block),
      insertion(other.insertion),
      scale(other.scale),
      rotation(other.rotation),
      normal(other.normal) {
  attributes.reserve(other.attributes.size());
  for (const auto& a : other.attributes) attributes.push_back(make_entity<AttributeReference>(*a));
}

const std::string& BlockReference::name() const {
  static const std::string kNone;
  return block ? block->name() : kNone;
}

Placement BlockReference::placement() const {
  return Placement(block ? block->origin : Vec3{}, insertion, scale, rotation, normal);
}

AttributeReference& BlockReference::add_attribute(std::string tag, std::string_view text, Vec3 at, double height) {
  auto attribute = make_entity<AttributeReference>(std::move(tag), text, at, height);
  attribute->set_layer_index(layer_index());
  attribute->attach_to(owner());
  if (Document* doc = document()) attribute->set_handle(doc->next_handle());
  attributes.push_back(std::move(attribute));
  return *attributes.back();
}

Box BlockReference::extents() const {
  Box b;
  b.add(world_insertion());
  if (block) b.add(placed_extents(*block, placement()));
  for (const auto& a : attributes) b.add(a->extents());
  return b;
}

// The reference's axes are stretched by the placement; its normal turns as
// its plane does, and a placement that reverses orientation flips z.
void BlockReference::transform(const Placement& p) {
  const PlacedPlane plane(normal, p);
  const Ocs own = ocs();
  const double c = std::cos(rotation);
  const double s = std::sin(rotation);
  scale = {scale.x * p.stretch(own.to_wcs({c, s, 0})), scale.y * p.stretch(own.to_wcs({-s, c, 0})),
           scale.z * p.stretch(own.normal()) * (p.reverses() ? -1 : 1)};
  insertion = plane.point(insertion);
  rotation = plane.angle(rotation);
  normal = plane.normal();
  for (auto& a : attributes) a->transform(p);
}

void BlockReference::attach_to(Block* owner) noexcept {
  Entity::attach_to(owner);
  for (auto& a : attributes) a->attach_to(owner);
}

const core::MemberTable<Entity>& BlockReference::members() const {
  static const core::MemberTable<Entity> table = entity_table(kReferenceMembers);
  return table;
}

void UnknownEntity::transform(const Placement& p) { bounds = placed_box(bounds, p); }

const core::MemberTable<Entity>& UnknownEntity::members() const {
  static const core::MemberTable<Entity> table = entity_table(std::span<const core::Member<Entity>>{});
  return table;
}

Box placed_extents(const Block& block, const Placement& placement, int depth) {
  Box out;
  if (depth > kMaxNesting) return out;
  for (const auto& e : block.entities()) {
    if (e->kind() == EntityKind::kBlockReference) {
      const auto& ref = static_cast<const BlockReference&>(*e);
      if (ref.block) out.add(placed_box(placed_extents(*ref.block, ref.placement(), depth + 1), placement));
      out.add(placement.apply(ref.world_insertion()));
    } else {
      out.add(placed_box(e->extents(), placement));
    }
  }
  return out;
}

}  // namespace kestrel::memcad
