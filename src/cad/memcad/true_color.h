// True colour: the colour object a CAD hands out through
// GetInterfaceObject and through an entity's or layer's TrueColor. It is a
// value: reading TrueColor gives a copy, assigning one copies it back.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "cad/memcad/automation.h"

namespace kestrel::memcad {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// How a colour is given (the CAD's colour method numbers).
enum ColorMethod : std::int32_t {
  kMethodByLayer = 192,
  kMethodByBlock = 193,
  kMethodByRgb = 194,
  kMethodByAci = 195,
};

struct ColorValue {
  std::int32_t method = kMethodByAci;
  std::int16_t index = 7;
  Rgb rgb{255, 255, 255};
};

// The colour value an entity (colour number plus optional true colour) shows.
[[nodiscard]] ColorValue color_value(std::int16_t index, const std::optional<Rgb>& rgb) noexcept;

class TrueColor final : public Automated<TrueColor> {
 public:
  explicit TrueColor(std::shared_ptr<Session> session, ColorValue value = {}) noexcept
      : session_(std::move(session)), value_(value) {}

  [[nodiscard]] const ColorValue& value() const noexcept { return value_; }
  void set_rgb(Rgb rgb) noexcept {
    value_.method = kMethodByRgb;
    value_.rgb = rgb;
  }
  void set_index(std::int16_t index);
  void set_method(std::int32_t method);
  // The packed entity colour: method in the high byte, then red, green, blue
  // (or the colour index for the index methods).
  [[nodiscard]] std::int32_t entity_color() const noexcept;
  void set_entity_color(std::int32_t packed);

  [[nodiscard]] std::string_view type_name() const override { return "IAcadAcCmColor"; }
  static const core::MemberTable<TrueColor>& member_table();
  [[nodiscard]] Session* call_session() const noexcept { return session_.get(); }

 private:
  std::shared_ptr<Session> session_;
  ColorValue value_;
};

// The true colour object behind a TrueColor put; anything else is a type mismatch.
[[nodiscard]] const TrueColor& true_color_value(const Variant& value);

}  // namespace kestrel::memcad
