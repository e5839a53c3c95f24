#include "cad/dxf/extents.h"

#include <unordered_map>

#include "cad/dxf/number_text.h"
#include "cad/memcad/block_reference.h"
#include "cad/memcad/curves.h"
#include "cad/memcad/texts.h"

namespace kestrel::dxf {

namespace {

class Extents {
 public:
  memcad::Box block(const memcad::Block& b) {
    const auto [it, added] = boxes_.try_emplace(&b);
    if (!added) return it->second;  // known, or being computed (a cycle)
    memcad::Box box;
    for (const auto& e : b.entities()) box.add(entity(*e));
    boxes_[&b] = box;
    return box;
  }

  memcad::Box entity(const memcad::Entity& e) {
    switch (e.kind()) {
      case memcad::EntityKind::kUnknown: return {};
      case memcad::EntityKind::kArc: {
        memcad::Arc arc = static_cast<const memcad::Arc&>(e);
        arc.start_angle = stored_angle(arc.start_angle);
        arc.end_angle = stored_angle(arc.end_angle);
        return arc.extents();
      }
      case memcad::EntityKind::kText:
      case memcad::EntityKind::kAttribute:
      case memcad::EntityKind::kAttributeDefinition: {
        const auto copy = e.clone();
        auto& text = static_cast<memcad::TextBase&>(*copy);
        text.rotation = stored_angle(text.rotation);
        return text.extents();
      }
      case memcad::EntityKind::kMText: {
        memcad::MText text = static_cast<const memcad::MText&>(e);
        text.rotation = stored_angle(text.rotation);
        return text.extents();
      }
      case memcad::EntityKind::kBlockReference: return reference(static_cast<const memcad::BlockReference&>(e));
      default: return e.extents();
    }
  }

 private:
  memcad::Box reference(const memcad::BlockReference& r) {
    memcad::Box box;
    box.add(r.world_insertion());
    if (r.block) {
      const memcad::Placement p(r.block->origin, r.insertion, r.scale, stored_angle(r.rotation), r.normal);
      box.add(placed(block(*r.block), p));
    }
    for (const auto& a : r.attributes) box.add(entity(*a));
    return box;
  }

  static memcad::Box placed(const memcad::Box& box, const memcad::Placement& p) {
    memcad::Box out;
    if (box.empty()) return out;
    const memcad::Vec3& a = box.min();
    const memcad::Vec3& b = box.max();
    for (int corner = 0; corner < 8; ++corner) {
      out.add(p.apply({corner & 1 ? b.x : a.x, corner & 2 ? b.y : a.y, corner & 4 ? b.z : a.z}));
    }
    return out;
  }

  std::unordered_map<const memcad::Block*, memcad::Box> boxes_;
};

}  // namespace

memcad::Box model_extents(const memcad::Document& doc) {
  Extents extents;
  memcad::Box box;
  for (const auto& e : doc.model_space().entities()) box.add(extents.entity(*e));
  return box;
}

}  // namespace kestrel::dxf
