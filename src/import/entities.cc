#include "import/entities.h"

#include <string>

#include "core/object.h"
#include "import/builders.h"
#include "import/entity_plane.h"
#include "import/layers.h"
#include "import/trapped.h"

namespace kestrel::importing {

using core::Obj;
using core::Variant;

std::optional<EntityKind> classify(std::string_view type_name, bool census) noexcept {
  for (const EntityName& entry : kEntityNames) {
    if (entry.name == type_name && (entry.counted || !census)) return entry.kind;
  }
  return std::nullopt;
}

std::vector<Obj> object_list(const Variant& value) {
  std::vector<Obj> list;
  if (const auto* refs = value.get_if<VbArray<core::ObjectRef>>()) {
    list.assign(refs->items().begin(), refs->items().end());
  } else if (const auto* items = value.get_if<VbArray<Variant>>()) {
    list.reserve(items->items().size());
    for (const Variant& v : items->items()) list.emplace_back(v.to_object());
  } else if (!value.is_empty()) {
    core::raise(core::kTypeMismatch);
  }
  return list;
}

namespace {

VbArray<double> coordinates(const Obj& entity, std::string_view member) {
  return entity.get(member).to_double_array();
}

void read_block_reference(ImportContext& ctx, const Obj& entity, std::int16_t layer, bool Blq) {
  model::DrawingModel& model = ctx.module.model;
  const double x_scale = entity.get("XScaleFactor").to_double();
  if (Blq) {
    const std::string name = entity.get("Name").to_string();
    bool known = false;
    for (std::int32_t i = 1; i <= model.NumBloques && !known; ++i) known = model.BloquesNombre[i] == name;
    if (!known) {
      model.NumBloques = core::checked_add(model.NumBloques, 1);
      model.BloquesNombre.redim_preserve(model.NumBloques);
      model.BloquesNombre[model.NumBloques] = name;
    }
  }
  const VbArray<double> insertion = coordinates(entity, "InsertionPoint");
  const std::string name = entity.get("Name").to_string();
  const EntityPlane plane(ctx.module, entity);
  const float rotation = core::csng(plane.world_rotation(entity.get("Rotation").to_double()));
  Crea_IsertBlock(ctx.module, insertion, name, rotation, layer, x_scale);
  if (!entity.get("HasAttributes").to_bool()) return;
  for (const Obj& attribute : object_list(entity.call("GetAttributes"))) {
    const std::string text = attribute.get("TextString").to_string();
    const VbArray<double> at = coordinates(attribute, "InsertionPoint");
    const double height = attribute.get("Height").to_double();
    const double turn = EntityPlane(ctx.module, attribute).world_rotation(attribute.get("Rotation").to_double());
    const std::string style = attribute.get("StyleName").to_string();
    Crea_Texto(ctx.module, text, at, turn, layer, height, 0, style);
  }
}

void read_line(ImportContext& ctx, const Obj& entity, std::int16_t layer) {
  const std::int32_t a = Punto_crea(ctx.module, coordinates(entity, "StartPoint"), layer);
  const std::int32_t b = Punto_crea(ctx.module, coordinates(entity, "EndPoint"), layer);
  const std::int32_t colour = entity.get("Color").to_int32();
  crea_Pol(ctx.module, a, b, layer, colour);
}

// The vertices of a planar polyline that does not lie in plan, turned into
// world x, y, z triples; `stride` is 2 for x, y pairs and 3 for triples,
// whose z adds to the elevation.
VbArray<double> world_vertices(const EntityPlane& plane, const VbArray<double>& c, std::int32_t stride,
                               double elevation) {
  const std::int32_t n = (c.ubound() - c.lbound() + 1) / stride;
  VbArray<double> out(0, 3 * n - 1);
  for (std::int32_t k = 0; k < n; ++k) {
    const std::int32_t at = c.lbound() + stride * k;
    const double z = elevation + (stride == 3 ? c[at + 2] : 0.0);
    const VbArray<double> w = plane.to_world(c[at], c[at + 1], z);
    for (std::int32_t i = 0; i < 3; ++i) out[3 * k + i] = w[w.lbound() + i];
  }
  return out;
}

void read_polyline(ImportContext& ctx, const Obj& entity, std::int16_t layer, EntityKind kind) {
  const VbArray<double> c = coordinates(entity, "Coordinates");
  const double elevation = kind == EntityKind::kPolyline3d ? 0.0 : entity.get("Elevation").to_double();
  const bool closed = entity.get("Closed").to_bool();
  (void)entity.get("Color");  // read, as every polyline's colour is; stored nowhere
  if (kind != EntityKind::kPolyline3d) {
    const EntityPlane plane(ctx.module, entity);
    if (!plane.in_plan()) {
      const std::int32_t stride = kind == EntityKind::kLightweightPolyline ? 2 : 3;
      return Crea_poli_3D(ctx.module, world_vertices(plane, c, stride, elevation), 0, layer, closed);
    }
  }
  if (kind == EntityKind::kLightweightPolyline) {
    Crea_poli_2D(ctx.module, c, elevation, layer, closed);
  } else {
    Crea_poli_3D(ctx.module, c, elevation, layer, closed);
  }
}

void read_text(ImportContext& ctx, const Obj& entity, std::int16_t layer) {
  const std::string text = entity.get("TextString").to_string();
  const VbArray<double> at = coordinates(entity, "InsertionPoint");
  const double rotation = EntityPlane(ctx.module, entity).world_rotation(entity.get("Rotation").to_double());
  const double height = entity.get("Height").to_double();
  const std::int32_t colour = entity.get("Color").to_int32();
  const std::string style = entity.get("StyleName").to_string();
  Crea_Texto(ctx.module, text, at, rotation, layer, height, colour, style);
}

void read_mesh(ImportContext& ctx, const Obj& entity, std::int16_t layer) {
  model::DrawingModel& model = ctx.module.model;
  const std::int32_t n = entity.get("NumberOfVertices").to_int32();
  (void)entity.get("NumberOfFaces");
  const std::int32_t before = model.NumPolis;
  Poli_crea(ctx.module, core::checked_add(n, 1));
  if (model.NumPolis == before) return;
  const std::int32_t index = model.NumPolis;
  model.Polis[index].CapaP = layer;
  model.Polis[index].Vert[0] = kFaceOutlineMarker;
  for (std::int32_t i = 0; i < n; ++i) {
    const VbArray<double> c = entity.call("Coordinate", i).to_double_array();
    const std::int32_t point = Punto_Mira(ctx.module, c[c.lbound()], c[c.lbound() + 1], c[c.lbound() + 2], layer);
    model.Polis[index].Vert[i + 1] = point;
  }
  model.Polis[index].Vert[n + 1] = model.Polis[index].Vert[1];
}

void read_entity(ImportContext& ctx, const Obj& entity, bool Blq) {
  model::DrawingModel& model = ctx.module.model;
  const std::string layer_name = entity.get("Layer").to_string();
  std::int16_t layer = 0;
  if (Blq) {
    std::int32_t colour = entity.get("Color").to_int32();
    layer = Busca_Capa_Cad(model, layer_name, colour);
  } else {
    layer = Busca_Capa(model, layer_name, 0);
  }
  const std::optional<EntityKind> kind = classify(entity.get("EntityName").to_string(), false);
  if (!kind) return;
  switch (*kind) {
    case EntityKind::kBlockReference: return read_block_reference(ctx, entity, layer, Blq);
    case EntityKind::kArc:
      (void)entity.get("Color");  // read, as every curve's colour is; stored nowhere
      return Crea_Arco(ctx.module, coordinates(entity, "center"), coordinates(entity, "StartPoint"),
                       coordinates(entity, "EndPoint"), core::csng(entity.get("radius").to_double()), layer);
    case EntityKind::kCircle:
      (void)entity.get("Color");
      return Crea_Circulo(ctx.module, coordinates(entity, "center"), core::csng(entity.get("radius").to_double()),
                          layer);
    case EntityKind::kPoint: (void)Punto_crea(ctx.module, coordinates(entity, "Coordinates"), layer); return;
    case EntityKind::kLine: return read_line(ctx, entity, layer);
    case EntityKind::kLightweightPolyline:
    case EntityKind::kPolyline2d:
    case EntityKind::kPolyline3d: return read_polyline(ctx, entity, layer, *kind);
    case EntityKind::kText: return read_text(ctx, entity, layer);
    case EntityKind::kFace: {
      const auto p = Punto_crea3D(ctx.module, coordinates(entity, "Coordinates"), layer);
      return Crea_Cara(ctx.module, p[0], p[1], p[2], p[3], layer);
    }
    case EntityKind::kPolyfaceMesh: return read_mesh(ctx, entity, layer);
    case EntityKind::kZombie: return;
  }
}

}  // namespace

void ENTIDADES(ImportContext& ctx, const Variant& Poly, bool Blq) {
  const std::string prefix = "Entidades en " + ctx.module.cad.FamiliaCad + " - Error    nº ";
  run_trapped(ctx.module, prefix, [&] { read_entity(ctx, Obj(Poly.to_object()), Blq); });
}

namespace {

std::int32_t halved_vertex_count(const Obj& entity) {
  const VbArray<double> c = coordinates(entity, "Coordinates");
  return static_cast<std::int32_t>(core::round_half_even((static_cast<double>(c.ubound()) + 1) / 2));
}

void count_entity(Census& census, const Obj& entity) {
  const std::optional<EntityKind> kind = classify(entity.get("EntityName").to_string(), true);
  if (!kind) return;
  auto add = [](std::int32_t& counter, std::int32_t n) { counter = core::checked_add(counter, n); };
  switch (*kind) {
    case EntityKind::kBlockReference: add(census.block_insertions, 1); return add(census.vertices, 1);
    case EntityKind::kArc: add(census.arcs, 1); return add(census.vertices, 3);
    case EntityKind::kCircle: add(census.circles, 1); return add(census.vertices, 3);
    case EntityKind::kPoint: return add(census.vertices, 1);
    case EntityKind::kLightweightPolyline:
    case EntityKind::kPolyline2d:
    case EntityKind::kPolyline3d: {
      const std::int32_t n = halved_vertex_count(entity);
      add(census.polylines, 1);
      return add(census.vertices, n);
    }
    case EntityKind::kLine: add(census.lines, 1); return add(census.vertices, 2);
    case EntityKind::kText: return add(census.texts, 1);
    case EntityKind::kFace: add(census.faces, 1); return add(census.vertices, 3);
    case EntityKind::kPolyfaceMesh: {
      const std::int32_t n = entity.get("NumberOfVertices").to_int32();
      add(census.polyface_meshes, 1);
      add(census.vertices, n);
      return add(census.mesh_vertices, n);
    }
    case EntityKind::kZombie: return;
  }
}

}  // namespace

void Entidades_ver(ImportContext& ctx, const Variant& Poly) {
  (void)core::attempt([&] { count_entity(ctx.state.census, Obj(Poly.to_object())); });
}

}  // namespace kestrel::importing
