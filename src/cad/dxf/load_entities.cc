#include <array>
#include <cmath>
#include <optional>

#include "cad/dxf/entity_fields.h"
#include "cad/dxf/loader.h"
#include "cad/memcad/polylines.h"

namespace kestrel::dxf {

namespace {

using namespace memcad;

// The index of a table record entities name with 16 bits, created when
// missing; none past the 65 535 such an index reaches.
template <class Table>
std::optional<std::uint16_t> find_or_add_16(Table& table, const std::string& name) {
  std::optional<std::uint32_t> index = table.index_of(name);
  if (!index && table.size() <= 0xFFFF) {
    table.add_reserved(name);
    index = table.size() - 1;
  }
  if (!index || *index > 0xFFFF) return std::nullopt;
  return static_cast<std::uint16_t>(*index);
}

// The class name a CAD reports for an entity kind memcad does not model:
// a known name, else the record's last subclass marker, else "AcDbEntity".
std::string class_name(std::string_view type, const Record& record) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kKnown = {{
      {"3DSOLID", "AcDb3dSolid"},
      {"SOLID", "AcDbSolid"},
      {"TRACE", "AcDbTrace"},
      {"IMAGE", "AcDbRasterImage"},
      {"MESH", "AcDbSubDMesh"},
      {"SHAPE", "AcDbShape"},
      {"REGION", "AcDbRegion"},
      {"BODY", "AcDbBody"},
  }};
  for (const auto& [dxf, name] : kKnown) {
    if (type == dxf) return std::string(name);
  }
  std::string_view last;
  for (const Group& g : record) {
    if (g.code == 100) last = trimmed(g.value);
  }
  return last.empty() || last == "AcDbEntity" ? std::string("AcDbEntity") : std::string(last);
}

// A name read from a file, or the table's default record for an empty one.
std::string or_default(std::string name, std::string_view fallback) {
  return name.empty() ? std::string(fallback) : name;
}

}  // namespace

void DocumentLoader::read_entities(Block* target, std::string_view end_kind) {
  for (;;) {
    if (!record_pending_ && !read_record(record_)) {
      reader_.fail(0, "el archivo termina antes de " + std::string(end_kind) + " (archivo truncado)");
    }
    record_pending_ = false;
    const std::string_view kind = trimmed(record_[0].value);
    if (kind == end_kind) return;
    if (end_kind == "ENDBLK" && (kind == "ENDSEC" || kind == "BLOCK")) {  // a block without its ENDBLK
      note("Bloque sin ENDBLK antes de la línea " + std::to_string(record_[0].line));
      record_pending_ = true;
      return;
    }
    entity(target);
  }
}

void DocumentLoader::entity(Block* target) {
  const std::string_view kind = trimmed(record_[0].value);
  if (kind == "POINT") return simple(target, point_fields());
  if (kind == "3DFACE") return simple(target, face_fields());
  if (kind == "LINE" || kind == "3DLINE") return simple(target, line_fields());  // 3DLINE: R10 and before
  if (kind == "TEXT") return simple(target, text_fields());
  if (kind == "CIRCLE") return simple(target, circle_fields());
  if (kind == "ARC") return simple(target, arc_fields());
  if (kind == "ATTDEF") return simple(target, attribute_definition_fields());
  if (kind == "MTEXT") return mtext(target);
  if (kind == "LWPOLYLINE") return lightweight_polyline(target);
  if (kind == "POLYLINE") return polyline(target);
  if (kind == "INSERT") return insert(target);
  if (kind == "HATCH") return hatch(target);
  if (kind == "VERTEX" || kind == "SEQEND" || kind == "ATTRIB" || kind == "ENDBLK" || kind == "BLOCK" ||
      kind.empty()) {
    ++report_.skipped[kind.empty() ? std::string("(sin tipo)") : std::string(kind)];
    return;
  }
  unknown(target, kind);
}

bool DocumentLoader::common_group(const Group& g, CommonGroups& c) {
  switch (g.code) {
    case 5: c.handle = reader_.handle(g); return true;
    case 8: c.layer = g.value; return true;
    case 6: c.linetype = g.value; return true;
    case 62: c.color = reader_.integer(g); return true;
    case 420: c.true_color = reader_.integer(g) & 0xFFFFFF; return true;
    case 60: c.invisible = reader_.integer(g) != 0; return true;
    case 67: c.paper_space = reader_.integer(g) != 0; return true;
    case 210: c.extrusion.x = reader_.real(g); return true;
    case 220: c.extrusion.y = reader_.real(g); return true;
    case 230: c.extrusion.z = reader_.real(g); return true;
    default: return false;
  }
}

Vec3 CommonGroups::normal() const noexcept {
  const Vec3& n = extrusion;
  const bool finite = std::isfinite(n.x) && std::isfinite(n.y) && std::isfinite(n.z);
  return finite && (n.x != 0 || n.y != 0 || n.z != 0) ? n : Vec3{0, 0, 1};
}

void DocumentLoader::apply_common(Entity& e, const CommonGroups& c) {
  if (c.handle != 0) {
    e.set_handle(c.handle);
    highest_handle_ = std::max(highest_handle_, c.handle);
  }
  e.set_layer_index(layer_index(c.layer));
  if (!c.linetype.empty()) e.set_linetype_index(linetype_index(c.linetype));
  const std::int64_t color = c.color < 0 ? -c.color : c.color;
  e.set_color(static_cast<std::int16_t>(color <= kColorByLayer ? color : kColorByLayer));
  if (c.true_color >= 0) {
    e.set_true_color(Rgb{static_cast<std::uint8_t>(c.true_color >> 16), static_cast<std::uint8_t>(c.true_color >> 8),
                         static_cast<std::uint8_t>(c.true_color)});
  }
  if (c.invisible) e.set_visible(false);
}

void DocumentLoader::place(Block* target, std::string_view kind, EntityPtr<Entity> e, const CommonGroups& c) {
  apply_common(*e, c);
  put(target, kind, std::move(e), c.paper_space);
}

void DocumentLoader::put(Block* target, std::string_view kind, EntityPtr<Entity> e, bool paper_space) {
  if (!target) {
    ++report_.skipped[std::string(kind)];
    return;
  }
  if (paper_space && target == &doc_->model_space()) target = &doc_->paper_space();
  target->adopt(std::move(e));
}

template <class E>
void DocumentLoader::simple(Block* target, std::span<const Field<E>> fields) {
  CommonGroups c;
  auto e = make_entity<E>();
  for (std::size_t i = 1; i < record_.size(); ++i) {
    const Group& g = record_[i];
    if (!common_group(g, c)) (void)read_field(*e, fields, g, *this);
  }
  // Points, lines and faces are in world coordinates: their extrusion only
  // orients a thickness, which is not kept.
  if constexpr (memcad::Planar<E>) set_normal_of(*e, c.normal());
  place(target, trimmed(record_[0].value), std::move(e), c);
}

void DocumentLoader::unknown(Block* target, std::string_view type) {
  CommonGroups c;
  auto e = make_entity<UnknownEntity>(std::string(type), class_name(type, record_));
  e->tags.reserve(record_.size() - 1);
  std::array<Vec3, 9> points{};
  unsigned present = 0;
  for (std::size_t i = 1; i < record_.size(); ++i) {
    const Group& g = record_[i];
    e->tags.emplace_back(g.code, std::string(g.value));
    if (g.code >= 10 && g.code <= 38 && g.code % 10 <= 8) {
      const auto index = static_cast<std::size_t>(g.code % 10);
      double& v = g.code < 20 ? points[index].x : g.code < 30 ? points[index].y : points[index].z;
      v = reader_.real(g);
      present |= 1u << index;
    } else {
      (void)common_group(g, c);
    }
  }
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (present & (1u << i)) e->bounds.add(points[i]);
  }
  ++report_.unknown_entities[std::string(type)];
  place(target, type, std::move(e), c);
}

std::uint32_t DocumentLoader::layer_index(std::string_view raw_name) {
  if (raw_name == last_layer_raw_) return last_layer_index_;
  const std::string name = or_default(decoder_.decode(trimmed(raw_name)), "0");
  Layers& layers = doc_->layers();
  const auto index = layers.index_of(name);
  last_layer_index_ = index ? *index : (layers.add_reserved(name), layers.size() - 1);
  last_layer_raw_.assign(raw_name);
  return last_layer_index_;
}

std::uint16_t DocumentLoader::linetype_index(std::string_view raw_name) {
  const std::string name = decoder_.decode(trimmed(raw_name));
  if (name.empty()) return 1;  // ByLayer
  return find_or_add_16(doc_->linetypes(), name).value_or(1);
}

std::optional<std::uint16_t> DocumentLoader::find_or_add_style(std::string_view raw_name) {
  return find_or_add_16(doc_->text_styles(), or_default(decoder_.decode(trimmed(raw_name)), "Standard"));
}

std::uint16_t DocumentLoader::text_style(std::string_view raw_name) {
  if (raw_name == last_style_raw_ && !last_style_raw_.empty()) return last_style_index_;
  last_style_index_ = find_or_add_style(raw_name).value_or(0);  // "Standard"
  last_style_raw_.assign(raw_name);
  return last_style_index_;
}

void DocumentLoader::lightweight_polyline(Block* target) {
  CommonGroups c;
  auto p = make_entity<LightweightPolyline>();
  bool bulged = false;
  bool widths = false;
  for (std::size_t i = 1; i < record_.size(); ++i) {
    const Group& g = record_[i];
    if (common_group(g, c)) continue;
    const bool has_vertex = !p->xy.empty();
    switch (g.code) {
      case 90: p->xy.reserve(2 * reader_.count(g, record_.size() - i - 1)); break;
      case 70: p->closed = (reader_.integer(g) & 1) != 0; break;
      case 43: p->constant_width = reader_.real(g); break;
      case 38: p->elevation = reader_.real(g); break;
      case 10:
        p->xy.push_back(reader_.real(g));
        p->xy.push_back(0);
        p->bulges.push_back(0);
        p->widths.push_back(0);
        p->widths.push_back(0);
        break;
      case 20:
        if (has_vertex) p->xy.back() = reader_.real(g);
        break;
      case 40:
      case 41:
        if (has_vertex) p->widths[p->widths.size() - (g.code == 40 ? 2 : 1)] = reader_.real(g);
        widths = widths || has_vertex;
        break;
      case 42:
        if (has_vertex) p->bulges.back() = reader_.real(g);
        bulged = bulged || (has_vertex && p->bulges.back() != 0);
        break;
      default: break;
    }
  }
  if (!bulged) p->bulges.clear();
  if (!widths) p->widths.clear();
  p->normal = c.normal();
  place(target, "LWPOLYLINE", std::move(p), c);
}

}  // namespace kestrel::dxf
