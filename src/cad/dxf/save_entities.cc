#include <algorithm>

#include "cad/dxf/entity_fields.h"
#include "cad/dxf/saver.h"
#include "cad/dxf/text_codec.h"
#include "cad/memcad/hatch_patterns.h"
#include "cad/memcad/polylines.h"

namespace kestrel::dxf {

namespace {

using namespace memcad;

// MTEXT text is written in pieces of at most this many bytes (groups 3, then 1).
constexpr std::size_t kChunkSize = 250;

std::int64_t packed_rgb(const Rgb& c) { return (c.red << 16) | (c.green << 8) | c.blue; }

// Where a piece of MTEXT text may end at or before `limit`: never inside a
// \U+XXXX escape or between a caret and the character it escapes.
std::size_t chunk_end(std::string_view text, std::size_t from, std::size_t limit) {
  std::size_t end = std::min(text.size(), from + limit);
  if (end == text.size()) return end;
  const std::size_t back = end > from + 7 ? end - 7 : from;
  for (std::size_t i = end; i-- > back;) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'U' && i + 7 > end && i > from) return i;
  }
  if (text[end - 1] == '^' && end - 1 > from) return end - 1;
  return end;
}

// A pattern fill's definition lines (78, then per line 53, 43/44, 45/46,
// 79 and 49 per dash), scaled and turned as the hatch draws them, so that a
// reader needs no pattern file of its own. A pattern memcad has no
// definition for keeps its name alone.
void pattern_lines(const GroupWriter& w, const Hatch& h) {
  const auto lines = predefined_pattern(h.pattern_name).value_or(std::span<const PatternLine>());
  w.integer(78, static_cast<std::int64_t>(lines.size()));
  for (const PatternLine& line : lines) {
    const DrawnPatternLine drawn = drawn_pattern_line(line, h.pattern_scale, h.pattern_angle);
    w.real(53, drawn.angle);
    w.real(43, drawn.base_x);
    w.real(44, drawn.base_y);
    w.real(45, drawn.offset_x);
    w.real(46, drawn.offset_y);
    w.integer(79, static_cast<std::int64_t>(line.dashes.size()));
    for (const double dash : line.dashes) w.real(49, dash * h.pattern_scale);
  }
}

template <class E>
const E& as(const Entity& e) {
  return static_cast<const E&>(e);
}

}  // namespace

void DocumentSaver::entities(const Block& b, std::uint64_t owner, bool paper_space) {
  for (const auto& e : b.entities()) entity(*e, owner, paper_space);
}

template <class E>
void DocumentSaver::simple(std::string_view type, const Entity& e, std::span<const Field<E>> fields,
                           std::uint64_t owner, bool paper) {
  entity_head(type, e, owner, paper);
  write_fields(static_cast<const E&>(e), fields, *this);
}

void DocumentSaver::entity(const Entity& e, std::uint64_t owner, bool paper) {
  switch (e.kind()) {
    case EntityKind::kPoint: return simple("POINT", e, point_fields(), owner, paper);
    case EntityKind::kLine: return simple("LINE", e, line_fields(), owner, paper);
    case EntityKind::kCircle: return simple("CIRCLE", e, circle_fields(), owner, paper);
    case EntityKind::kArc: return simple("ARC", e, arc_fields(), owner, paper);
    case EntityKind::kFace3d: return simple("3DFACE", e, face_fields(), owner, paper);
    case EntityKind::kText: return simple("TEXT", e, text_fields(), owner, paper);
    case EntityKind::kAttribute: return simple("ATTRIB", e, attribute_fields(), owner, paper);
    case EntityKind::kAttributeDefinition: return simple("ATTDEF", e, attribute_definition_fields(), owner, paper);
    case EntityKind::kMText: return mtext(e, owner, paper);
    case EntityKind::kLightweightPolyline: return lightweight_polyline(e, owner, paper);
    case EntityKind::kPolyline2d: return polyline_2d(e, owner, paper);
    case EntityKind::kPolyline3d: return polyline_3d(e, owner, paper);
    case EntityKind::kPolyfaceMesh: return polyface_mesh(e, owner, paper);
    case EntityKind::kHatch: return hatch(e, owner, paper);
    case EntityKind::kBlockReference: return insert(e, owner, paper);
    case EntityKind::kUnknown:
      if (report_) ++report_->skipped[as<UnknownEntity>(e).dxf_type];
      return;
  }
}

std::uint64_t DocumentSaver::entity_head(std::string_view type, const Entity& e, std::uint64_t owner, bool paper) {
  const std::uint64_t h = handles_.entity(e);
  sub_entity_head(type, h, owner, e, paper);
  return h;
}

// Layer, line type (unless ByLayer), colour (unless ByLayer), true colour
// and visibility, in the order CAD programs write them.
void DocumentSaver::sub_entity_head(std::string_view type, std::uint64_t h, std::uint64_t owner, const Entity& e,
                                    bool paper) {
  w_.raw(0, type);
  w_.hex(5, h);
  w_.hex(330, owner);
  w_.raw(100, "AcDbEntity");
  if (paper) w_.integer(67, 1);
  const std::uint32_t layer = e.layer_index();
  w_.raw(8, layer < layer_names_.size() ? layer_names_[layer] : layer_names_.front());
  const std::uint16_t linetype = e.linetype_index();
  if (linetype < linetype_names_.size() && linetype != bylayer_linetype_) w_.raw(6, linetype_names_[linetype]);
  if (e.color() != kColorByLayer) w_.integer(62, e.color());
  if (e.true_color()) w_.integer(420, packed_rgb(*e.true_color()));
  if (!e.visible()) w_.integer(60, 1);
}

void DocumentSaver::sequence_end(std::uint64_t owner, const Entity& e, bool paper) {
  sub_entity_head("SEQEND", handles_.next(), owner, e, paper);
}

void DocumentSaver::lightweight_polyline(const Entity& e, std::uint64_t owner, bool paper) {
  const auto& p = as<LightweightPolyline>(e);
  const std::size_t n = p.vertex_count();
  const bool widths = p.widths.size() >= 2 * n && !p.widths.empty();
  entity_head("LWPOLYLINE", e, owner, paper);
  w_.raw(100, "AcDbPolyline");
  w_.integer(90, static_cast<std::int64_t>(n));
  w_.integer(70, p.closed ? 1 : 0);
  if (!widths) w_.real(43, p.constant_width);
  if (p.elevation != 0) w_.real(38, p.elevation);
  for (std::size_t i = 0; i < n; ++i) {
    w_.point2(10, p.xy[2 * i], p.xy[2 * i + 1]);
    if (widths) {
      w_.real(40, p.widths[2 * i]);
      w_.real(41, p.widths[2 * i + 1]);
    }
    if (p.bulge(i) != 0) w_.real(42, p.bulge(i));
  }
  if (p.normal != Vec3{0, 0, 1}) w_.point(210, p.normal.x, p.normal.y, p.normal.z);
}

void DocumentSaver::polyline_2d(const Entity& e, std::uint64_t owner, bool paper) {
  const auto& p = as<Polyline2d>(e);
  const std::uint64_t h = entity_head("POLYLINE", e, owner, paper);
  w_.raw(100, "AcDb2dPolyline");
  w_.integer(66, 1);
  w_.point(10, 0, 0, p.elevation);
  w_.integer(70, p.closed ? 1 : 0);
  if (p.normal != Vec3{0, 0, 1}) w_.point(210, p.normal.x, p.normal.y, p.normal.z);
  for (std::size_t i = 0; i < p.vertex_count(); ++i) {
    sub_entity_head("VERTEX", handles_.next(), h, e, paper);
    w_.raw(100, "AcDbVertex");
    w_.raw(100, "AcDb2dVertex");
    w_.point(10, p.xyz[3 * i], p.xyz[3 * i + 1], p.xyz[3 * i + 2]);
    if (p.bulge(i) != 0) w_.real(42, p.bulge(i));
    w_.integer(70, 0);
  }
  sequence_end(h, e, paper);
}

void DocumentSaver::polyline_3d(const Entity& e, std::uint64_t owner, bool paper) {
  const auto& p = as<Polyline3d>(e);
  const std::uint64_t h = entity_head("POLYLINE", e, owner, paper);
  w_.raw(100, "AcDb3dPolyline");
  w_.integer(66, 1);
  w_.point(10, 0, 0, 0);
  w_.integer(70, 8 | (p.closed ? 1 : 0));
  for (std::size_t i = 0; i < p.vertex_count(); ++i) {
    sub_entity_head("VERTEX", handles_.next(), h, e, paper);
    w_.raw(100, "AcDbVertex");
    w_.raw(100, "AcDb3dPolylineVertex");
    w_.point(10, p.xyz[3 * i], p.xyz[3 * i + 1], p.xyz[3 * i + 2]);
    w_.integer(70, 32);
  }
  sequence_end(h, e, paper);
}

void DocumentSaver::polyface_mesh(const Entity& e, std::uint64_t owner, bool paper) {
  const auto& m = as<PolyfaceMesh>(e);
  const std::uint64_t h = entity_head("POLYLINE", e, owner, paper);
  w_.raw(100, "AcDbPolyFaceMesh");
  w_.integer(66, 1);
  w_.point(10, 0, 0, 0);
  w_.integer(70, 64);
  w_.integer(71, static_cast<std::int64_t>(m.vertex_count()));
  w_.integer(72, static_cast<std::int64_t>(m.faces.size()));
  for (std::size_t i = 0; i < m.vertex_count(); ++i) {
    sub_entity_head("VERTEX", handles_.next(), h, e, paper);
    w_.raw(100, "AcDbVertex");
    w_.raw(100, "AcDbPolyFaceMeshVertex");
    const Vec3 v = m.vertex(i);
    w_.point(10, v.x, v.y, v.z);
    w_.integer(70, 192);
  }
  for (const auto& face : m.faces) {
    sub_entity_head("VERTEX", handles_.next(), h, e, paper);
    w_.raw(100, "AcDbFaceRecord");
    w_.point(10, 0, 0, 0);
    w_.integer(70, 128);
    for (int corner = 0; corner < 4; ++corner) {
      if (corner < 3 || face[3] != 0) w_.integer(71 + corner, face[static_cast<std::size_t>(corner)]);
    }
  }
  sequence_end(h, e, paper);
}

void DocumentSaver::mtext(const Entity& e, std::uint64_t owner, bool paper) {
  const auto& t = as<MText>(e);
  const auto fields = mtext_fields();
  entity_head("MTEXT", e, owner, paper);
  write_fields(t, fields.first(5), *this);
  w_.integer(72, 1);
  std::string bytes;
  encode_text(t.text, bytes);
  std::size_t from = 0;
  while (bytes.size() - from > kChunkSize) {
    const std::size_t end = chunk_end(bytes, from, kChunkSize);
    w_.raw(3, std::string_view(bytes).substr(from, end - from));
    from = end;
  }
  w_.raw(1, std::string_view(bytes).substr(from));
  write_fields(t, fields.subspan(5), *this);
}

void DocumentSaver::hatch(const Entity& e, std::uint64_t owner, bool paper) {
  const auto& h = as<Hatch>(e);
  entity_head("HATCH", e, owner, paper);
  w_.raw(100, "AcDbHatch");
  w_.point(10, 0, 0, h.elevation);
  w_.point(210, 0, 0, 1);
  w_.text(2, h.pattern_name);
  w_.integer(70, h.solid() ? 1 : 0);
  w_.integer(71, 0);
  w_.integer(91, static_cast<std::int64_t>(h.loops.size()));
  for (const HatchLoop& loop : h.loops) {
    const std::size_t n = loop.xy.size() / 2;
    const bool bulged = std::any_of(loop.bulges.begin(), loop.bulges.end(), [](double b) { return b != 0; });
    w_.integer(92, loop.outer ? 3 : 2);
    w_.integer(72, bulged ? 1 : 0);
    w_.integer(73, 1);
    w_.integer(93, static_cast<std::int64_t>(n));
    for (std::size_t i = 0; i < n; ++i) {
      w_.point2(10, loop.xy[2 * i], loop.xy[2 * i + 1]);
      if (bulged) w_.real(42, i < loop.bulges.size() ? loop.bulges[i] : 0.0);
    }
    w_.integer(97, 0);
  }
  w_.integer(75, h.hatch_style);
  w_.integer(76, swap_pattern_type_numbering(h.pattern_type));
  if (!h.solid()) {
    w_.degrees(52, h.pattern_angle);
    w_.real(41, h.pattern_scale);
    w_.integer(77, 0);
    pattern_lines(w_, h);
  }
  w_.integer(98, 0);
}

void DocumentSaver::insert(const Entity& e, std::uint64_t owner, bool paper) {
  const auto& r = as<BlockReference>(e);
  if (!r.block) {
    if (report_) ++report_->skipped["INSERT"];
    return;
  }
  const std::uint64_t h = entity_head("INSERT", e, owner, paper);
  w_.raw(100, "AcDbBlockReference");
  if (!r.attributes.empty()) w_.integer(66, 1);
  w_.text(2, r.name());
  write_fields(r, insert_fields(), *this);
  if (r.attributes.empty()) return;
  for (const auto& a : r.attributes) {
    simple("ATTRIB", *a, attribute_fields(), h, paper);
  }
  sequence_end(h, e, paper);
}

}  // namespace kestrel::dxf
