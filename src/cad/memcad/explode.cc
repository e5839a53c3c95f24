#include "cad/memcad/explode.h"

#include <unordered_set>

#include "cad/memcad/block.h"
#include "cad/memcad/block_reference.h"
#include "cad/memcad/curves.h"
#include "cad/memcad/errors.h"
#include "cad/memcad/faces.h"
#include "cad/memcad/polylines.h"
#include "cad/memcad/texts.h"

namespace kestrel::memcad {

namespace {

using Pieces = std::vector<EntityPtr<Entity>>;

// A new entity with the layer, colour, line type and visibility of `from`.
template <class E, class... A>
EntityPtr<E> piece(const Entity& from, A&&... args) {
  auto e = make_entity<E>(std::forward<A>(args)...);
  e->set_layer_index(from.layer_index());
  e->set_color(from.color());
  e->set_true_color(from.true_color());
  e->set_linetype_index(from.linetype_index());
  e->set_visible(from.visible());
  return e;
}

// Lines and bulge arcs along `vertices`, points of `ocs`; `bulge(i)` is the
// bulge of the segment from vertex i. Lines come out in world coordinates,
// arcs in the polyline's plane.
template <class BulgeOf>
void add_segments(const Entity& from, const std::vector<Vec3>& vertices, bool closed, BulgeOf bulge, const Ocs& ocs,
                  Pieces& out) {
  const std::size_t n = vertices.size();
  const std::size_t segments = closed ? n : n - 1;
  for (std::size_t i = 0; n >= 2 && i < segments; ++i) {
    const Vec3& a = vertices[i];
    const Vec3& b = vertices[(i + 1) % n];
    if (a == b) continue;
    const double bu = bulge(i);
    if (bu == 0) {
      out.push_back(piece<Line>(from, ocs.to_wcs(a), ocs.to_wcs(b)));
    } else {
      const BulgeArc arc = bulge_arc(a, b, bu);
      auto curve = piece<Arc>(from, arc.center, arc.radius, arc.start_angle, arc.end_angle);
      curve->normal = ocs.normal();
      out.push_back(std::move(curve));
    }
  }
}

Pieces explode_lightweight(const LightweightPolyline& p) {
  std::vector<Vec3> vertices;
  vertices.reserve(p.vertex_count());
  for (std::size_t i = 0; i < p.vertex_count(); ++i) vertices.push_back({p.xy[2 * i], p.xy[2 * i + 1], p.elevation});
  Pieces out;
  add_segments(p, vertices, p.closed, [&](std::size_t i) { return p.bulge(i); }, p.ocs(), out);
  return out;
}

Pieces explode_polyline_2d(const Polyline2d& p) {
  std::vector<Vec3> vertices;
  vertices.reserve(p.vertex_count());
  for (std::size_t i = 0; i < p.vertex_count(); ++i) vertices.push_back(p.vertex(i));
  Pieces out;
  add_segments(p, vertices, p.closed, [&](std::size_t i) { return p.bulge(i); }, p.ocs(), out);
  return out;
}

Pieces explode_polyline_3d(const Polyline3d& p) {
  std::vector<Vec3> vertices;
  vertices.reserve(p.vertex_count());
  for (std::size_t i = 0; i < p.vertex_count(); ++i) vertices.push_back({p.xyz[3 * i], p.xyz[3 * i + 1], p.xyz[3 * i + 2]});
  Pieces out;
  add_segments(p, vertices, p.closed, [](std::size_t) { return 0.0; }, Ocs(), out);
  return out;
}

Pieces explode_mesh(const PolyfaceMesh& m) {
  Pieces out;
  const auto count = static_cast<std::int32_t>(m.vertex_count());
  for (const auto& face : m.faces) {
    std::array<Vec3, 4> corners{};
    std::uint8_t hidden = 0;
    int used = 0;
    for (int k = 0; k < 4; ++k) {
      const std::int32_t index = face[static_cast<std::size_t>(k)];
      if (index == 0 || std::abs(index) > count) continue;
      corners[static_cast<std::size_t>(used)] = m.vertex(static_cast<std::size_t>(std::abs(index) - 1));
      if (index < 0) hidden = static_cast<std::uint8_t>(hidden | (1 << used));
      ++used;
    }
    if (used < 3) continue;
    if (used == 3) corners[3] = corners[2];
    auto f = piece<Face3d>(m, corners);
    f->invisible_edges = hidden;
    out.push_back(std::move(f));
  }
  return out;
}

Pieces explode_reference(const BlockReference& ref) {
  Pieces out;
  if (!ref.block) return out;
  const Placement placement = ref.placement();
  for (const auto& e : ref.block->entities()) {
    if (e->kind() == EntityKind::kAttributeDefinition) continue;
    EntityPtr<Entity> copy = e->clone();
    copy->transform(placement);
    out.push_back(std::move(copy));
  }
  for (const auto& attribute : ref.attributes) {
    if (attribute->invisible) continue;
    auto text = piece<Text>(*attribute);
    copy_text_fields(*attribute, *text);
    out.push_back(std::move(text));
  }
  return out;
}

}  // namespace

bool explodable(const Entity& entity) noexcept {
  switch (entity.kind()) {
    case EntityKind::kBlockReference:
    case EntityKind::kLightweightPolyline:
    case EntityKind::kPolyline2d:
    case EntityKind::kPolyline3d:
    case EntityKind::kPolyfaceMesh: return true;
    default: return false;
  }
}

std::vector<EntityPtr<Entity>> explode(const Entity& entity) {
  switch (entity.kind()) {
    case EntityKind::kBlockReference: return explode_reference(static_cast<const BlockReference&>(entity));
    case EntityKind::kLightweightPolyline: return explode_lightweight(static_cast<const LightweightPolyline&>(entity));
    case EntityKind::kPolyline2d: return explode_polyline_2d(static_cast<const Polyline2d&>(entity));
    case EntityKind::kPolyline3d: return explode_polyline_3d(static_cast<const Polyline3d&>(entity));
    case EntityKind::kPolyfaceMesh: return explode_mesh(static_cast<const PolyfaceMesh&>(entity));
    default: return {};
  }
}

std::size_t explode_entities(Block& block, const std::vector<EntityPtr<Entity>>& entities) {
  std::unordered_set<const Entity*> exploded;
  Pieces pieces;
  for (const auto& e : entities) {
    if (e->owner() != &block || !explodable(*e) || !exploded.insert(e.get()).second) continue;
    Pieces more = explode(*e);
    pieces.insert(pieces.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
  }
  if (exploded.empty()) return 0;
  block.erase_if([&](const Entity& e) { return exploded.contains(&e); });
  block.reserve(block.size() + pieces.size());
  for (auto& p : pieces) block.adopt(std::move(p));
  return exploded.size();
}

Variant explode_member(Entity& entity, Args) {
  if (!explodable(entity)) raise_refused("El objeto no se puede descomponer");
  Pieces pieces = explode(entity);
  core::VbArray<Variant> out(0, static_cast<std::int32_t>(pieces.size()) - 1);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    entity.owner()->adopt(pieces[i]);
    out[static_cast<std::int32_t>(i)] = Variant(hand_out(*pieces[i]));
  }
  return Variant(std::move(out));
}

}  // namespace kestrel::memcad
