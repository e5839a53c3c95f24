#include "core/variant.h"

#include "core/numeric.h"
#include "core/object.h"
#include "core/text.h"

namespace kestrel::core {

namespace {

template <class... F>
struct Overload : F... {
  using F::operator()...;
};
template <class... F>
Overload(F...) -> Overload<F...>;  // clang 14 lacks aggregate deduction

// An object where a value is wanted: a null reference is error 91; an object
// has no default value here, so it does not convert (13).
[[noreturn]] void raise_object_as_value(const ObjectRef& object) {
  raise(object ? kTypeMismatch : kObjectNotSet);
}

// CBool of a text: "True"/"False" in any case (or the Spanish names the
// host's locale gives them), "#TRUE#"/"#FALSE#" exactly, or a number.
bool string_to_bool(const std::string& s) {
  const std::string lower = lcase(s);
  if (lower == "true" || lower == "verdadero" || s == "#TRUE#") return true;
  if (lower == "false" || lower == "falso" || s == "#FALSE#") return false;
  return to_number(s) != 0;
}

}  // namespace

bool Variant::is_numeric() const noexcept {
  const VarType t = type();
  return t == VarType::kBoolean || t == VarType::kInteger || t == VarType::kLong || t == VarType::kDouble;
}

double Variant::to_double() const {
  return std::visit(Overload{
                        [](Empty) { return 0.0; },
                        [](bool b) { return b ? -1.0 : 0.0; },
                        [](std::int16_t v) { return static_cast<double>(v); },
                        [](std::int32_t v) { return static_cast<double>(v); },
                        [](double v) { return v; },
                        [](const std::string& s) { return to_number(s); },
                        [](const ObjectRef& o) -> double { raise_object_as_value(o); },
                        [](const auto&) -> double { raise(kTypeMismatch); },
                    },
                    value_);
}

bool Variant::to_bool() const {
  return std::visit(Overload{
                        [](Empty) { return false; },
                        [](bool b) { return b; },
                        [](std::int16_t v) { return v != 0; },
                        [](std::int32_t v) { return v != 0; },
                        [](double v) { return v != 0; },
                        [](const std::string& s) { return string_to_bool(s); },
                        [](const ObjectRef& o) -> bool { raise_object_as_value(o); },
                        [](const auto&) -> bool { raise(kTypeMismatch); },
                    },
                    value_);
}

std::int16_t Variant::to_int16() const {
  if (const auto* v = std::get_if<std::int16_t>(&value_)) return *v;
  return cint(to_double());
}

std::int32_t Variant::to_int32() const {
  if (const auto* v = std::get_if<std::int32_t>(&value_)) return *v;
  if (const auto* v = std::get_if<std::int16_t>(&value_)) return *v;
  return clng(to_double());
}

std::string Variant::to_string() const {
  return std::visit(Overload{
                        [](Empty) { return std::string(); },
                        [](bool b) { return std::string(b ? "True" : "False"); },
                        [](std::int16_t v) { return std::to_string(v); },
                        [](std::int32_t v) { return std::to_string(v); },
                        [](double v) { return format_general(v); },
                        [](const std::string& s) { return s; },
                        [](const ObjectRef& o) -> std::string { raise_object_as_value(o); },
                        [](const auto&) -> std::string { raise(kTypeMismatch); },
                    },
                    value_);
}

ObjectRef Variant::to_object() const {
  if (const auto* o = std::get_if<ObjectRef>(&value_)) return *o;
  raise(kTypeMismatch);
}

VbArray<double> Variant::to_double_array() const {
  if (const auto* a = std::get_if<VbArray<double>>(&value_)) return *a;
  auto convert = [](const auto& source) {
    VbArray<double> out;
    if (!source.allocated()) return out;
    out.redim(source.lbound(), source.ubound());
    for (std::int32_t i = source.lbound(); i <= source.ubound(); ++i) {
      out[i] = Variant(source[i]).to_double();
    }
    return out;
  };
  if (const auto* a = std::get_if<VbArray<Variant>>(&value_)) return convert(*a);
  if (const auto* a = std::get_if<VbArray<std::int32_t>>(&value_)) return convert(*a);
  if (const auto* a = std::get_if<VbArray<std::int16_t>>(&value_)) return convert(*a);
  raise(kTypeMismatch);
}

std::string_view type_name(VarType type) noexcept {
  switch (type) {
    case VarType::kEmpty: return "Empty";
    case VarType::kBoolean: return "Boolean";
    case VarType::kInteger: return "Integer";
    case VarType::kLong: return "Long";
    case VarType::kDouble: return "Double";
    case VarType::kString: return "String";
    case VarType::kObject: return "Object";
    case VarType::kDoubleArray: return "Double()";
    case VarType::kIntegerArray: return "Integer()";
    case VarType::kLongArray: return "Long()";
    case VarType::kStringArray: return "String()";
    case VarType::kVariantArray: return "Variant()";
    case VarType::kObjectArray: return "Object()";
  }
  return "?";
}

}  // namespace kestrel::core
