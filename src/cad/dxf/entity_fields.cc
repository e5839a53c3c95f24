#include "cad/dxf/entity_fields.h"

#include <array>

namespace kestrel::dxf {

namespace {

using namespace memcad;

template <class E, std::size_t N, std::size_t M>
constexpr std::array<Field<E>, N + M> join(const std::array<Field<E>, N>& a, const std::array<Field<E>, M>& b) {
  std::array<Field<E>, N + M> out{};
  for (std::size_t i = 0; i < N; ++i) out[i] = a[i];
  for (std::size_t i = 0; i < M; ++i) out[N + i] = b[i];
  return out;
}

// An extrusion (210, 220, 230) is written only when it is not +Z.
template <class E>
constexpr bool extruded(const E& e) {
  const Vec3& n = normal_of(e);
  return !(n.x == 0 && n.y == 0 && n.z == 1);
}

template <class E>
constexpr Field<E> extrusion() {
  if constexpr (requires(E& e) { e.set_normal(Vec3{}); }) {
    return {.code = 210,
            .get_point = [](const E& e) { return e.normal(); },
            .set_point = [](E& e, const Vec3& n) { e.set_normal(n); },
            .written_if = &extruded<E>};
  } else {
    return {.code = 210, .point = &E::normal, .written_if = &extruded<E>};
  }
}

constexpr std::array<Field<Point>, 2> kPoint = {{
    {.marker = "AcDbPoint"},
    {.code = 10, .point = &Point::position},
}};

constexpr std::array<Field<Line>, 3> kLine = {{
    {.marker = "AcDbLine"},
    {.code = 10, .point = &Line::start},
    {.code = 11, .point = &Line::end},
}};

constexpr std::array<Field<Circle>, 4> kCircle = {{
    {.marker = "AcDbCircle"},
    {.code = 10, .point = &Circle::center},
    {.code = 40, .real = &Circle::radius},
    extrusion<Circle>(),
}};

constexpr std::array<Field<Arc>, 7> kArc = {{
    {.marker = "AcDbCircle"},
    {.code = 10, .point = &Arc::center},
    {.code = 40, .real = &Arc::radius},
    extrusion<Arc>(),
    {.marker = "AcDbArc"},
    {.code = 50, .real = &Arc::start_angle, .degrees = true},
    {.code = 51, .real = &Arc::end_angle, .degrees = true},
}};

constexpr std::array<Field<Face3d>, 6> kFace = {{
    {.marker = "AcDbFace"},
    {.code = 10, .axis = 0, .corners = &Face3d::corners},
    {.code = 11, .axis = 1, .corners = &Face3d::corners},
    {.code = 12, .axis = 2, .corners = &Face3d::corners},
    {.code = 13, .axis = 3, .corners = &Face3d::corners},
    {.code = 70, .bits = &Face3d::invisible_edges, .optional = true},
}};

template <class E>
constexpr bool uses_alignment_point(const E& t) {
  return t.horizontal_alignment() != 0 || t.vertical_alignment() != 0;
}

// The vertical justification sits under another code in each kind.
template <class E>
constexpr Field<E> vertical_alignment(int code) {
  return {.code = code,
          .get_int16 = [](const E& t) { return t.vertical_alignment(); },
          .set_int16 = [](E& t, std::int16_t a) { t.set_vertical_alignment(a); },
          .optional = true};
}

// What TEXT, ATTRIB and ATTDEF share, up to the second subclass marker.
template <class E>
constexpr std::array<Field<E>, 11> text_head() {
  return {{
      {.marker = "AcDbText"},
      {.code = 10, .point = &E::insertion},
      {.code = 40, .real = &E::height},
      {.code = 1, .short_text = &E::text},
      {.code = 50, .real = &E::rotation, .degrees = true, .optional = true},
      {.code = 41,
       .get_real = [](const E& t) { return t.width_factor(); },
       .set_real = [](E& t, double v) { t.set_width_factor(v); },
       .optional = true,
       .when_absent = 1},
      {.code = 51,
       .get_real = [](const E& t) { return t.oblique_angle(); },
       .set_real = [](E& t, double v) { t.set_oblique_angle(v); },
       .degrees = true,
       .optional = true},
      {.code = 7, .style = &E::style},
      {.code = 72,
       .get_int16 = [](const E& t) { return t.horizontal_alignment(); },
       .set_int16 = [](E& t, std::int16_t a) { t.set_horizontal_alignment(a); },
       .optional = true},
      {.code = 11,
       .get_point = [](const E& t) { return t.alignment_point(); },
       .set_point = [](E& t, const Vec3& p) { t.set_alignment_point(p); },
       .written_if = &uses_alignment_point<E>},
      extrusion<E>(),
  }};
}

constexpr auto kText = join(text_head<Text>(), std::array<Field<Text>, 2>{{
                                                   {.marker = "AcDbText"},
                                                   vertical_alignment<Text>(73),
                                               }});

constexpr auto kAttribute =
    join(text_head<AttributeReference>(), std::array<Field<AttributeReference>, 4>{{
                                              {.marker = "AcDbAttribute"},
                                              {.code = 2, .text = &AttributeReference::tag},
                                              {.code = 70, .flag = &AttributeReference::invisible},
                                              vertical_alignment<AttributeReference>(74),
                                          }});

constexpr auto kAttributeDefinition =
    join(text_head<AttributeDefinition>(), std::array<Field<AttributeDefinition>, 5>{{
                                               {.marker = "AcDbAttributeDefinition"},
                                               {.code = 3, .text = &AttributeDefinition::prompt},
                                               {.code = 2, .text = &AttributeDefinition::tag},
                                               {.code = 70, .int32 = &AttributeDefinition::mode},
                                               vertical_alignment<AttributeDefinition>(74),
                                           }});

constexpr std::array<Field<MText>, 8> kMText = {{
    {.marker = "AcDbMText"},
    {.code = 10, .point = &MText::insertion},
    {.code = 40, .real = &MText::height},
    {.code = 41, .real = &MText::width},
    {.code = 71, .int16 = &MText::attachment},
    {.code = 7, .style = &MText::style},
    extrusion<MText>(),
    {.code = 50, .real = &MText::rotation, .degrees = true, .optional = true},
}};

constexpr std::array<Field<BlockReference>, 6> kInsert = {{
    {.code = 10, .point = &BlockReference::insertion},
    {.code = 41, .point = &BlockReference::scale, .axis = 0, .optional = true, .when_absent = 1},
    {.code = 42, .point = &BlockReference::scale, .axis = 1, .optional = true, .when_absent = 1},
    {.code = 43, .point = &BlockReference::scale, .axis = 2, .optional = true, .when_absent = 1},
    {.code = 50, .real = &BlockReference::rotation, .degrees = true, .optional = true},
    extrusion<BlockReference>(),
}};

}  // namespace

std::span<const Field<Point>> point_fields() noexcept { return kPoint; }
std::span<const Field<Line>> line_fields() noexcept { return kLine; }
std::span<const Field<Circle>> circle_fields() noexcept { return kCircle; }
std::span<const Field<Arc>> arc_fields() noexcept { return kArc; }
std::span<const Field<Face3d>> face_fields() noexcept { return kFace; }
std::span<const Field<Text>> text_fields() noexcept { return kText; }
std::span<const Field<AttributeReference>> attribute_fields() noexcept { return kAttribute; }
std::span<const Field<AttributeDefinition>> attribute_definition_fields() noexcept { return kAttributeDefinition; }
std::span<const Field<MText>> mtext_fields() noexcept { return kMText; }
std::span<const Field<BlockReference>> insert_fields() noexcept { return kInsert; }

}  // namespace kestrel::dxf
