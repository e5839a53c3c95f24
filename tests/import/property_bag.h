// An entity made of named values, for type names and members that no
// in-memory CAD entity has: get answers the stored value (438 for a
// missing member), "Coordinate"(i) answers vertex i of "Coordinates".
#pragma once

#include <map>
#include <string>
#include <utility>

#include "core/dispatch.h"
#include "core/object.h"

namespace kestrel::import_test {

class PropertyBag final : public core::Object {
 public:
  PropertyBag& with(std::string member, core::Variant value) {
    values_[std::move(member)] = std::move(value);
    return *this;
  }
  [[nodiscard]] std::string_view type_name() const override { return "IAcadEntity"; }
  core::Variant get(std::string_view member) override {
    const auto it = values_.find(std::string(member));
    if (it == values_.end()) core::raise_unknown_member(type_name(), member);
    return it->second;
  }
  void put(std::string_view member, const core::Variant& value) override { values_[std::string(member)] = value; }
  core::Variant call(std::string_view member, std::span<core::Variant> args) override {
    if (member != "Coordinate") return get(member);
    const auto c = get("Coordinates").to_double_array();
    const std::int32_t i = core::argument(args, 1).to_int32();
    return core::VbArray<double>(0, {c[3 * i], c[3 * i + 1], c[3 * i + 2]});
  }

 private:
  std::map<std::string, core::Variant> values_;
};

inline core::VbArray<double> xyz(double x, double y, double z) { return core::VbArray<double>(0, {x, y, z}); }
inline core::VbArray<double> values(std::vector<double> v) { return core::VbArray<double>(0, std::move(v)); }

}  // namespace kestrel::import_test
