#include "cad/memcad/arguments.h"

#include <cmath>

#include "cad/memcad/errors.h"

namespace kestrel::memcad {

namespace {

Vec3 point_from(const core::VbArray<double>& a, std::size_t position) {
  if (a.size() != 3) {
    raise_refused("Se esperaba un punto de tres coordenadas (argumento " + std::to_string(position) + ")");
  }
  const auto items = a.items();
  return {items[0], items[1], items[2]};
}

}  // namespace

const core::Variant* optional_argument(Args args, std::size_t position) noexcept {
  if (position == 0 || position > args.size() || args[position - 1].is_empty()) return nullptr;
  return &args[position - 1];
}

double double_argument(Args args, std::size_t position) {
  return core::convert_argument(args, position, [](const core::Variant& v) { return v.to_double(); });
}

std::int32_t long_argument(Args args, std::size_t position) {
  return core::convert_argument(args, position, [](const core::Variant& v) { return v.to_int32(); });
}

bool bool_argument(Args args, std::size_t position) {
  return core::convert_argument(args, position, [](const core::Variant& v) { return v.to_bool(); });
}

std::string string_argument(Args args, std::size_t position) {
  return core::convert_argument(args, position, [](const core::Variant& v) { return v.to_string(); });
}

ShortText text_argument(Args args, std::size_t position) {
  if (const auto* s = core::argument(args, position).get_if<std::string>()) return ShortText(*s);
  return ShortText(string_argument(args, position));
}

core::ObjectRef object_argument(Args args, std::size_t position) {
  return core::convert_argument(args, position, [](const core::Variant& v) { return object_value(v); });
}

Vec3 point_argument(Args args, std::size_t position) {
  // The usual case, a Double array, is read in place.
  if (const auto* a = core::argument(args, position).get_if<core::VbArray<double>>()) return point_from(*a, position);
  const auto a = core::convert_argument(args, position, [](const core::Variant& v) { return v.to_double_array(); });
  return point_from(a, position);
}

std::vector<double> numbers_argument(Args args, std::size_t position) {
  return core::convert_argument(args, position, [](const core::Variant& v) { return numbers_value(v); });
}

Vec3 point_value(const core::Variant& value) {
  if (const auto* a = value.get_if<core::VbArray<double>>()) return point_from(*a, 1);
  core::VbArray<double> a;
  try {
    a = value.to_double_array();
  } catch (const core::Error& e) {
    core::raise_argument_error(e.number(), 1);
  }
  return point_from(a, 1);
}

Vec3 normal_value(const core::Variant& value) {
  const Vec3 v = point_value(value);
  const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (!(length > 0) || !std::isfinite(length)) raise_refused("La normal no puede ser un vector nulo");
  return {v.x / length, v.y / length, v.z / length};
}

std::vector<double> numbers_value(const core::Variant& value) {
  if (const auto* a = value.get_if<core::VbArray<double>>()) return {a->items().begin(), a->items().end()};
  const auto a = value.to_double_array();
  return {a.items().begin(), a.items().end()};
}

core::ObjectRef object_value(const core::Variant& value) {
  core::ObjectRef ref = value.to_object();
  if (!ref) core::raise(core::kTypeMismatch);
  return ref;
}

core::Variant point_variant(const Vec3& p) { return core::VbArray<double>(0, std::vector<double>{p.x, p.y, p.z}); }

core::Variant numbers_variant(std::span<const double> values) {
  return core::VbArray<double>(0, std::vector<double>(values.begin(), values.end()));
}

void check_range(double value, double low, double high, const char* what) {
  if (!(value >= low && value <= high)) raise_refused(std::string("Valor no válido: ") + what);
}

}  // namespace kestrel::memcad
