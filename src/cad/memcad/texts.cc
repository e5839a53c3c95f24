#include "cad/memcad/texts.h"

#include <array>
#include <cmath>
#include <utility>

#include "cad/memcad/arguments.h"
#include "cad/memcad/document.h"
#include "cad/memcad/errors.h"

namespace kestrel::memcad {

// Labels come in millions: with its 8-byte allocator header a text must
// stay within the 112-byte chunk.
static_assert(sizeof(void*) != 8 || sizeof(Text) == 104);

namespace {

// The CAD's single alignment number and the (horizontal, vertical) pair it stands for.
constexpr std::array<std::pair<std::int16_t, std::int16_t>, 15> kAlignments = {{
    {0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0},  // left .. fit, on the baseline
    {0, 3}, {1, 3}, {2, 3},                          // top
    {0, 2}, {1, 2}, {2, 2},                          // middle
    {0, 1}, {1, 1}, {2, 1},                          // bottom
}};

Variant get_alignment(Entity& e) {
  const auto& t = as<TextBase>(e);
  for (std::size_t i = 0; i < kAlignments.size(); ++i) {
    if (kAlignments[i] == std::pair{t.horizontal_alignment(), t.vertical_alignment()}) {
      return Variant(static_cast<std::int32_t>(i));
    }
  }
  return Variant(std::int32_t{0});
}

void put_alignment(Entity& e, const Variant& v) {
  const std::int32_t a = v.to_int32();
  check_range(a, 0, 14, "alineación");
  auto& t = as<TextBase>(e);
  const auto [horizontal, vertical] = kAlignments[static_cast<std::size_t>(a)];
  t.set_horizontal_alignment(horizontal);
  t.set_vertical_alignment(vertical);
}

void put_height(double& height, const Variant& v) {
  const double h = v.to_double();
  if (!(h > 0)) raise_refused("La altura debe ser mayor que cero");
  height = h;
}

// The members every kind of text answers, for a text class T.
template <class T>
std::array<core::Member<Entity>, 6> text_members() {
  return {{
      {"TextString", [](Entity& e) { return Variant(std::string_view(as<T>(e).text)); },
       [](Entity& e, const Variant& v) { as<T>(e).text = v.to_string(); }},
      {"InsertionPoint", [](Entity& e) { return point_variant(as<T>(e).world_insertion()); },
       [](Entity& e, const Variant& v) { as<T>(e).set_world_insertion(point_value(v)); }},
      {"Height", [](Entity& e) { return Variant(as<T>(e).height); },
       [](Entity& e, const Variant& v) { put_height(as<T>(e).height, v); }},
      {"Rotation", [](Entity& e) { return Variant(as<T>(e).rotation); },
       [](Entity& e, const Variant& v) { as<T>(e).rotation = v.to_double(); }},
      {"StyleName", [](Entity& e) { return Variant(as<T>(e).style_name()); },
       [](Entity& e, const Variant& v) { as<T>(e).set_style_name(v.to_string()); }},
      normal_member<T>(),
  }};
}

const core::Member<Entity> kTextMembers[] = {
    {"ScaleFactor", [](Entity& e) { return Variant(as<TextBase>(e).width_factor()); },
     [](Entity& e, const Variant& v) { as<TextBase>(e).set_width_factor(v.to_double()); }},
    {"ObliqueAngle", [](Entity& e) { return Variant(as<TextBase>(e).oblique_angle()); },
     [](Entity& e, const Variant& v) { as<TextBase>(e).set_oblique_angle(v.to_double()); }},
    {"Alignment", &get_alignment, &put_alignment},
    {"TextAlignmentPoint",
     [](Entity& e) { return point_variant(as<TextBase>(e).ocs().to_wcs(as<TextBase>(e).alignment_point())); },
     [](Entity& e, const Variant& v) {
       auto& t = as<TextBase>(e);
       t.set_alignment_point(t.ocs().to_ocs(point_value(v)));
     }},
};

const core::Member<Entity> kAttributeMembers[] = {
    {"Alignment", &get_alignment, &put_alignment},
    {"TagString", [](Entity& e) { return Variant(as<AttributeReference>(e).tag); },
     [](Entity& e, const Variant& v) { as<AttributeReference>(e).tag = v.to_string(); }},
    {"Invisible", [](Entity& e) { return Variant(as<AttributeReference>(e).invisible); },
     [](Entity& e, const Variant& v) { as<AttributeReference>(e).invisible = v.to_bool(); }},
};

const core::Member<Entity> kAttributeDefinitionMembers[] = {
    {"Alignment", &get_alignment, &put_alignment},
    {"TagString", [](Entity& e) { return Variant(as<AttributeDefinition>(e).tag); },
     [](Entity& e, const Variant& v) { as<AttributeDefinition>(e).tag = v.to_string(); }},
    {"PromptString", [](Entity& e) { return Variant(as<AttributeDefinition>(e).prompt); },
     [](Entity& e, const Variant& v) { as<AttributeDefinition>(e).prompt = v.to_string(); }},
    {"Mode", [](Entity& e) { return Variant(as<AttributeDefinition>(e).mode); },
     [](Entity& e, const Variant& v) { as<AttributeDefinition>(e).mode = v.to_int32(); }},
};

const core::Member<Entity> kMTextMembers[] = {
    {"Width", [](Entity& e) { return Variant(as<MText>(e).width); },
     [](Entity& e, const Variant& v) {
       const double w = v.to_double();
       check_range(w, 0, 1e100, "anchura");
       as<MText>(e).width = w;
     }},
    {"AttachmentPoint", [](Entity& e) { return Variant(std::int32_t{as<MText>(e).attachment}); },
     [](Entity& e, const Variant& v) {
       const std::int16_t a = v.to_int16();
       check_range(a, 1, 9, "punto de inserción");
       as<MText>(e).attachment = a;
     }},
};

std::size_t characters(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// The rectangle a text of that many characters roughly covers: its width is
// estimated at 0.8 of the height per character, as no font is measured here.
Box text_box(const Vec3& at, double height, double width_factor, double rotation, std::size_t chars) {
  const double w = 0.8 * height * width_factor * static_cast<double>(chars);
  const double c = std::cos(rotation);
  const double s = std::sin(rotation);
  Box b;
  for (auto [u, v] : {std::pair{0.0, 0.0}, {w, 0.0}, {0.0, height}, {w, height}}) {
    b.add({at.x + c * u - s * v, at.y + s * u + c * v, at.z});
  }
  return b;
}

}  // namespace

void copy_text_fields(const TextBase& from, TextBase& to) {
  to.text = from.text;
  to.insertion = from.insertion;
  to.height = from.height;
  to.rotation = from.rotation;
  to.style = from.style;
  to.layout_ = from.layout_;
}

const std::string& TextBase::style_name() const { return attached_document().text_styles().at(style).name(); }

void TextBase::set_style_name(std::string_view name) { style = attached_document().text_style_index(name); }

Box TextBase::extents() const {
  return ocs().to_wcs(text_box(insertion, height, width_factor(), rotation, characters(text)));
}

void TextBase::transform(const Placement& p) {
  const PlacedPlane plane(normal(), p);
  insertion = plane.point(insertion);
  set_alignment_point(plane.point(alignment_point()));
  height = p.height(height);
  rotation = plane.angle(rotation);
  set_normal(plane.normal());
}

const core::MemberTable<Entity>& Text::members() const {
  static const core::MemberTable<Entity> table = entity_table(text_members<TextBase>(), kTextMembers);
  return table;
}

const core::MemberTable<Entity>& AttributeReference::members() const {
  static const core::MemberTable<Entity> table = entity_table(text_members<TextBase>(), kAttributeMembers);
  return table;
}

const core::MemberTable<Entity>& AttributeDefinition::members() const {
  static const core::MemberTable<Entity> table = entity_table(text_members<TextBase>(), kAttributeDefinitionMembers);
  return table;
}

const std::string& MText::style_name() const { return attached_document().text_styles().at(style).name(); }

void MText::set_style_name(std::string_view name) { style = attached_document().text_style_index(name); }

Box MText::extents() const {
  const Ocs own = ocs();
  const Vec3 at = own.to_ocs(insertion);
  Box b = text_box(at, height, 1, rotation, width > 0 ? 0 : characters(text));
  if (width > 0) b.add(point_on_circle(at, width, rotation));
  return own.to_wcs(b);
}

void MText::transform(const Placement& p) {
  const PlacedPlane plane(normal, p);
  insertion = p.apply(insertion);
  width = p.length(width);
  height = p.height(height);
  rotation = plane.angle(rotation);
  normal = plane.normal();
}

const core::MemberTable<Entity>& MText::members() const {
  static const core::MemberTable<Entity> table = entity_table(text_members<MText>(), kMTextMembers);
  return table;
}

}  // namespace kestrel::memcad
