#include "cad/memcad/entity.h"

#include <array>
#include <charconv>

#include "cad/memcad/arguments.h"
#include "cad/memcad/block.h"
#include "cad/memcad/document.h"
#include "cad/memcad/errors.h"

namespace kestrel::memcad {

std::string_view entity_name(EntityKind kind) noexcept {
  static constexpr std::array<std::string_view, 16> kNames = {
      "AcDbPoint",  "AcDbLine",  "AcDbPolyline", "AcDb2dPolyline",     "AcDb3dPolyline", "AcDbPolyFaceMesh",
      "AcDbArc",    "AcDbCircle", "AcDbText",    "AcDbMText",          "AcDbFace",       "AcDbHatch",
      "AcDbBlockReference", "AcDbAttribute", "AcDbAttributeDefinition", "AcDbEntity",
  };
  return kNames[static_cast<std::size_t>(kind)];
}

Entity::Entity(const Entity& other) noexcept
    : core::Object(other),
      layer_(other.layer_),
      bits_(other.bits_),
      linetype_(other.linetype_),
      color_(other.color_) {}

std::optional<Rgb> Entity::true_color() const noexcept {
  if (!(bits_ & kTrueColorBit)) return std::nullopt;
  return Rgb{static_cast<std::uint8_t>(bits_), static_cast<std::uint8_t>(bits_ >> 8),
             static_cast<std::uint8_t>(bits_ >> 16)};
}

void Entity::set_true_color(std::optional<Rgb> rgb) noexcept {
  bits_ &= ~(kRgbMask | kTrueColorBit);
  if (rgb) bits_ |= kTrueColorBit | rgb->red | std::uint32_t{rgb->green} << 8 | std::uint32_t{rgb->blue} << 16;
}

core::ObjectRef hand_out(Entity& entity) {
  entity.retain();
  // Should the control block fail to allocate, the deleter runs and the reference goes back.
  return core::ObjectRef(&entity, [](core::Object* o) { static_cast<const Entity*>(o)->release(); });
}

EntityPtr<Entity> entity_of(const core::ObjectRef& object) noexcept {
  return EntityPtr<Entity>(dynamic_cast<Entity*>(object.get()));
}

Document* Entity::document() const noexcept { return owner_ ? owner_->document() : nullptr; }

Document& Entity::attached_document() const {
  if (!owner_) raise_erased();
  Document* doc = owner_->document();
  if (!doc) raise_drawing_closed();
  return *doc;
}

const std::string& Entity::layer() const { return attached_document().layers().at(layer_).name(); }

void Entity::set_layer(std::string_view name) { layer_ = attached_document().layer_index(name); }

const std::string& Entity::linetype() const { return attached_document().linetypes().at(linetype_).name(); }

void Entity::set_linetype(std::string_view name) { linetype_ = attached_document().linetype_index(name); }

Session* Entity::call_session() const { return attached_document().call_session(); }

std::string_view Entity::type_name() const {
  switch (kind()) {
    case EntityKind::kPoint: return "IAcadPoint";
    case EntityKind::kLine: return "IAcadLine";
    case EntityKind::kLightweightPolyline: return "IAcadLWPolyline";
    case EntityKind::kPolyline2d: return "IAcadPolyline";
    case EntityKind::kPolyline3d: return "IAcad3DPolyline";
    case EntityKind::kPolyfaceMesh: return "IAcadPolyfaceMesh";
    case EntityKind::kArc: return "IAcadArc";
    case EntityKind::kCircle: return "IAcadCircle";
    case EntityKind::kText: return "IAcadText";
    case EntityKind::kMText: return "IAcadMText";
    case EntityKind::kFace3d: return "IAcad3DFace";
    case EntityKind::kHatch: return "IAcadHatch";
    case EntityKind::kBlockReference: return "IAcadBlockReference";
    case EntityKind::kAttribute: return "IAcadAttributeReference";
    case EntityKind::kAttributeDefinition: return "IAcadAttribute";
    case EntityKind::kUnknown: return "IAcadEntity";
  }
  return "IAcadEntity";
}

Variant Entity::get(std::string_view member) { return dispatch_get<Entity>(*this, members(), call_session(), member); }

void Entity::put(std::string_view member, const Variant& value) {
  dispatch_put<Entity>(*this, members(), call_session(), member, value);
}

Variant Entity::call(std::string_view member, std::span<Variant> args) {
  return dispatch_call<Entity>(*this, members(), call_session(), member, args);
}

namespace {

Variant get_handle(Entity& e) {
  std::array<char, 17> text{};
  auto [end, ec] = std::to_chars(text.data(), text.data() + 16, e.handle(), 16);
  std::string out(text.data(), end);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return Variant(std::move(out));
}

void put_color(Entity& e, const Variant& v) {
  const std::int16_t color = v.to_int16();
  check_range(color, 0, 256, "color");
  e.set_color(color);
}

Variant get_true_color(Entity& e) {
  return Variant(std::make_shared<TrueColor>(e.document()->shared_session(), color_value(e.color(), e.true_color())));
}

void put_true_color(Entity& e, const Variant& v) {
  const ColorValue& c = true_color_value(v).value();
  if (c.method == kMethodByRgb) {
    e.set_true_color(c.rgb);
  } else {
    e.set_color(c.index);
  }
}

Variant delete_entity(Entity& e, Args) {
  if (e.kind() == EntityKind::kAttribute) raise_refused("Un atributo se borra con su referencia a bloque");
  e.owner()->erase(e);
  return {};
}

const core::Member<Entity> kCommonMembers[] = {
    {"EntityName", [](Entity& e) { return Variant(e.entity_name()); }},
    {"ObjectName", [](Entity& e) { return Variant(e.entity_name()); }},
    {"Handle", &get_handle},
    {"Layer", [](Entity& e) { return Variant(e.layer()); }, [](Entity& e, const Variant& v) { e.set_layer(v.to_string()); }},
    {"Color", [](Entity& e) { return Variant(std::int32_t{e.color()}); }, &put_color},
    {"Linetype", [](Entity& e) { return Variant(e.linetype()); },
     [](Entity& e, const Variant& v) { e.set_linetype(v.to_string()); }},
    {"TrueColor", &get_true_color, &put_true_color},
    {"Visible", [](Entity& e) { return Variant(e.visible()); },
     [](Entity& e, const Variant& v) { e.set_visible(v.to_bool()); }},
    {"Update", nullptr, nullptr, [](Entity&, Args) { return Variant(); }},
    {"Delete", nullptr, nullptr, &delete_entity},
};

}  // namespace

std::span<const core::Member<Entity>> common_entity_members() noexcept { return kCommonMembers; }

}  // namespace kestrel::memcad
