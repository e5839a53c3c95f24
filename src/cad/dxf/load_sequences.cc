#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "cad/dxf/entity_fields.h"
#include "cad/dxf/loader.h"
#include "cad/memcad/polylines.h"

namespace kestrel::dxf {

namespace {

using namespace memcad;

// What a VERTEX record holds.
struct VertexGroups {
  Vec3 at;
  double bulge = 0;
  std::int64_t flags = 0;
  std::array<std::int32_t, 4> face{};
  bool width = false;
};

VertexGroups vertex_groups(const Record& record, const GroupReader& reader) {
  VertexGroups v;
  for (std::size_t i = 1; i < record.size(); ++i) {
    const Group& g = record[i];
    switch (g.code) {
      case 10: v.at.x = reader.real(g); break;
      case 20: v.at.y = reader.real(g); break;
      case 30: v.at.z = reader.real(g); break;
      case 42: v.bulge = reader.real(g); break;
      case 70: v.flags = reader.integer(g); break;
      case 71:
      case 72:
      case 73:
      case 74: v.face[static_cast<std::size_t>(g.code - 71)] = static_cast<std::int32_t>(reader.integer(g)); break;
      case 40:
      case 41: v.width = v.width || reader.real(g) != 0; break;
      default: break;
    }
  }
  return v;
}

// Spline frame control points (vertex flag 16) are not part of the drawn polyline.
constexpr std::int64_t kControlPoint = 16;

}  // namespace

template <class F>
void DocumentLoader::read_sequence(std::string_view item_kind, F&& on_item) {
  for (;;) {
    if (!read_record(record_)) reader_.fail(0, "el archivo termina dentro de una secuencia (archivo truncado)");
    const std::string_view kind = trimmed(record_[0].value);
    if (kind == item_kind) {
      on_item(record_);
      continue;
    }
    if (kind != "SEQEND") {
      note("Secuencia sin SEQEND antes de la línea " + std::to_string(record_[0].line));
      record_pending_ = true;
    }
    return;
  }
}

// POLYLINE: a 2D polyline, a 3D polyline (flag 8), a polyface mesh (64)
// or a polygon mesh (16, not modelled), followed by its VERTEX records.
void DocumentLoader::polyline(Block* target) {
  CommonGroups c;
  PolylineHead head;
  for (std::size_t i = 1; i < record_.size(); ++i) {
    const Group& g = record_[i];
    if (common_group(g, c)) continue;
    if (g.code == 70) head.flags = reader_.integer(g);
    if (g.code == 30) head.elevation = reader_.real(g);
    if (g.code == 40 || g.code == 41) head.widths = head.widths || reader_.real(g) != 0;
  }
  if ((head.flags & 16) != 0 && (head.flags & 64) == 0) {
    unknown(target, "POLYLINE");
    read_sequence("VERTEX", [](const Record&) {});
    return;
  }
  // The common groups are applied first: reading the vertices releases the head record.
  EntityPtr<Entity> e;
  if ((head.flags & 64) != 0) {
    auto mesh = make_entity<PolyfaceMesh>();
    apply_common(*mesh, c);
    read_polyface_mesh(*mesh);
    e = std::move(mesh);
  } else if ((head.flags & 8) != 0) {
    auto p = make_entity<Polyline3d>();
    apply_common(*p, c);
    read_polyline_3d(*p, head);
    e = std::move(p);
  } else {
    auto p = make_entity<Polyline2d>();
    apply_common(*p, c);
    p->normal = c.normal();
    read_polyline_2d(*p, head);
    e = std::move(p);
  }
  put(target, "POLYLINE", std::move(e), c.paper_space);
}

// Face records (flag 128 without 64) number the vertex records (flag 64)
// from 1; a face that names a vertex the mesh does not have is dropped.
void DocumentLoader::read_polyface_mesh(PolyfaceMesh& mesh) {
  read_sequence("VERTEX", [&](const Record& r) {
    const VertexGroups v = vertex_groups(r, reader_);
    if ((v.flags & 128) != 0 && (v.flags & 64) == 0) {
      mesh.faces.push_back(v.face);
    } else {
      mesh.vertices.insert(mesh.vertices.end(), {v.at.x, v.at.y, v.at.z});
    }
  });
  const auto vertices = static_cast<std::int64_t>(mesh.vertex_count());
  const std::size_t before = mesh.faces.size();
  std::erase_if(mesh.faces, [vertices](const std::array<std::int32_t, 4>& f) {
    return std::any_of(f.begin(), f.end(), [vertices](std::int32_t i) { return std::abs(std::int64_t{i}) > vertices; }) ||
           f[0] == 0 || f[1] == 0 || f[2] == 0;
  });
  if (mesh.faces.size() != before) {
    note(std::to_string(before - mesh.faces.size()) + " caras de malla que nombran vértices que no existen: se descartan");
  }
}

void DocumentLoader::read_polyline_3d(Polyline3d& p, const PolylineHead& head) {
  p.closed = (head.flags & 1) != 0;
  read_sequence("VERTEX", [&](const Record& r) {
    const VertexGroups v = vertex_groups(r, reader_);
    if ((v.flags & kControlPoint) == 0) p.xyz.insert(p.xyz.end(), {v.at.x, v.at.y, v.at.z});
  });
}

void DocumentLoader::read_polyline_2d(Polyline2d& p, const PolylineHead& head) {
  p.closed = (head.flags & 1) != 0;
  p.elevation = head.elevation;
  bool bulged = false;
  bool widths = head.widths;
  read_sequence("VERTEX", [&](const Record& r) {
    const VertexGroups v = vertex_groups(r, reader_);
    if ((v.flags & kControlPoint) != 0) return;
    p.xyz.insert(p.xyz.end(), {v.at.x, v.at.y, v.at.z});
    p.bulges.push_back(v.bulge);
    bulged = bulged || v.bulge != 0;
    widths = widths || v.width;
  });
  if (!bulged) p.bulges.clear();
  if (widths) ++polyline_widths_;
}

// MTEXT text comes in pieces: groups 3, then the last one in group 1. A
// text without rotation (50) may give its direction as a world vector (11,
// 21, 31). An embedded object (from group 101 on: columns, fields) repeats
// codes of its own (10, 11, 40 ...) that are not the text's.
void DocumentLoader::mtext(Block* target) {
  CommonGroups c;
  auto t = make_entity<MText>();
  std::string raw;
  bool rotated = false;
  Vec3 direction{};
  for (std::size_t i = 1; i < record_.size() && record_[i].code != 101; ++i) {
    const Group& g = record_[i];
    if (common_group(g, c)) continue;
    if (g.code == 3 || g.code == 1) {
      raw.append(g.value);
    } else if (g.code == 11 || g.code == 21 || g.code == 31) {
      (g.code == 11 ? direction.x : g.code == 21 ? direction.y : direction.z) = reader_.real(g);
    } else {
      rotated = rotated || g.code == 50;
      (void)read_field(*t, mtext_fields(), g, *this);
    }
  }
  t->text = decoder_.decode(raw, true);
  t->normal = c.normal();
  if (!rotated && (direction.x != 0 || direction.y != 0 || direction.z != 0)) {
    const Vec3 d = t->ocs().to_ocs(direction);
    t->rotation = std::atan2(d.y, d.x);
  }
  place(target, "MTEXT", std::move(t), c);
}

void DocumentLoader::insert(Block* target) {
  CommonGroups c;
  auto r = make_entity<BlockReference>();
  bool attributes = false;
  bool array = false;
  for (std::size_t i = 1; i < record_.size(); ++i) {
    const Group& g = record_[i];
    if (common_group(g, c)) continue;
    if (g.code == 2) {
      r->block = referenced_block(g.value);
    } else if (g.code == 66) {
      attributes = reader_.integer(g) != 0;
    } else if (g.code == 70 || g.code == 71) {
      array = array || reader_.integer(g) > 1;
    } else {
      (void)read_field(*r, insert_fields(), g, *this);
    }
  }
  if (array) note("Inserción múltiple (MINSERT) en la línea " + std::to_string(record_[0].line) + ": se lee solo la primera");
  r->normal = c.normal();
  apply_common(*r, c);
  if (attributes) {
    read_sequence("ATTRIB", [&](const Record& a) {
      CommonGroups ac;
      auto attribute = make_entity<AttributeReference>();
      for (std::size_t i = 1; i < a.size(); ++i) {
        if (!common_group(a[i], ac)) (void)read_field(*attribute, attribute_fields(), a[i], *this);
      }
      attribute->set_normal(ac.normal());
      apply_common(*attribute, ac);
      r->attributes.push_back(std::move(attribute));
    });
  }
  if (!r->block) {
    ++report_.skipped["INSERT"];
    return;
  }
  put(target, "INSERT", std::move(r), c.paper_space);
}

}  // namespace kestrel::dxf
