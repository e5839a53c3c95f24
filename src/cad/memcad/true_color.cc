#include "cad/memcad/true_color.h"

#include "cad/memcad/arguments.h"
#include "cad/memcad/errors.h"

namespace kestrel::memcad {

namespace {

std::uint8_t component(Args args, std::size_t position) {
  const std::int32_t v = long_argument(args, position);
  check_range(v, 0, 255, "componente de color");
  return static_cast<std::uint8_t>(v);
}

Variant set_rgb(TrueColor& c, Args args) {
  c.set_rgb({component(args, 1), component(args, 2), component(args, 3)});
  return {};
}

const core::Member<TrueColor> kMembers[] = {
    {"SetRGB", nullptr, nullptr, &set_rgb},
    {"Red", [](TrueColor& c) { return Variant(std::int32_t{c.value().rgb.red}); }},
    {"Green", [](TrueColor& c) { return Variant(std::int32_t{c.value().rgb.green}); }},
    {"Blue", [](TrueColor& c) { return Variant(std::int32_t{c.value().rgb.blue}); }},
    {"ColorIndex", [](TrueColor& c) { return Variant(std::int32_t{c.value().index}); },
     [](TrueColor& c, const Variant& v) { c.set_index(v.to_int16()); }},
    {"ColorMethod", [](TrueColor& c) { return Variant(c.value().method); },
     [](TrueColor& c, const Variant& v) { c.set_method(v.to_int32()); }},
    {"EntityColor", [](TrueColor& c) { return Variant(c.entity_color()); },
     [](TrueColor& c, const Variant& v) { c.set_entity_color(v.to_int32()); }},
    {"ColorName", [](TrueColor&) { return Variant(""); }},
    {"BookName", [](TrueColor&) { return Variant(""); }},
};

}  // namespace

ColorValue color_value(std::int16_t index, const std::optional<Rgb>& rgb) noexcept {
  if (rgb) return {kMethodByRgb, index, *rgb};
  if (index == 256) return {kMethodByLayer, index, {}};
  if (index == 0) return {kMethodByBlock, index, {}};
  return {kMethodByAci, index, {}};
}

void TrueColor::set_index(std::int16_t index) {
  check_range(index, 0, 256, "índice de color");
  value_ = color_value(index, std::nullopt);
}

void TrueColor::set_method(std::int32_t method) {
  switch (method) {
    case kMethodByLayer: value_.index = 256; break;
    case kMethodByBlock: value_.index = 0; break;
    case kMethodByRgb:
    case kMethodByAci: break;
    default: raise_refused("Método de color no válido");
  }
  value_.method = method;
}

std::int32_t TrueColor::entity_color() const noexcept {
  const auto method = static_cast<std::uint32_t>(value_.method) << 24;
  if (value_.method == kMethodByRgb) {
    const Rgb& c = value_.rgb;
    return static_cast<std::int32_t>(method | (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue);
  }
  return static_cast<std::int32_t>(method | static_cast<std::uint16_t>(value_.index));
}

void TrueColor::set_entity_color(std::int32_t packed) {
  const auto bits = static_cast<std::uint32_t>(packed);
  const auto method = static_cast<std::int32_t>(bits >> 24);
  if (method == kMethodByRgb) {
    set_rgb({static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 8),
             static_cast<std::uint8_t>(bits)});
    return;
  }
  set_method(method);
  if (method == kMethodByAci) set_index(static_cast<std::int16_t>(bits & 0xFFFF));
}

const core::MemberTable<TrueColor>& TrueColor::member_table() {
  static const core::MemberTable<TrueColor> table{std::span<const core::Member<TrueColor>>(kMembers)};
  return table;
}

const TrueColor& true_color_value(const Variant& value) {
  const auto* color = dynamic_cast<const TrueColor*>(object_value(value).get());
  if (!color) core::raise(core::kTypeMismatch);
  return *color;
}

}  // namespace kestrel::memcad
