#include "cad/memcad/variables.h"

#include "cad/memcad/errors.h"

namespace kestrel::memcad {

namespace {

std::string upper(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return out;
}

core::Variant converted(const core::Variant& old_value, const core::Variant& value) {
  switch (old_value.type()) {
    case core::VarType::kInteger: return value.to_int16();
    case core::VarType::kLong: return value.to_int32();
    case core::VarType::kDouble: return value.to_double();
    case core::VarType::kString: return value.to_string();
    case core::VarType::kDoubleArray: return value.to_double_array();
    default: return value;
  }
}

}  // namespace

Variables::Variables() {
  set("PDMODE", std::int16_t{0});
  set("PDSIZE", 0.0);
  set("MODEMACRO", "");
  set("CLAYER", "0");
  set("TEXTSTYLE", "Standard");
  set("TEXTSIZE", 2.5);
  set("LTSCALE", 1.0);
  set("INSUNITS", std::int16_t{6});
  set("CECOLOR", "BYLAYER");
}

void Variables::set(std::string_view name, const core::Variant& value) {
  if (name.empty()) raise_refused("Nombre de variable vacío");
  std::string key = upper(name);
  auto it = values_.find(key);
  if (it == values_.end()) {
    values_.emplace(std::move(key), value);
    return;
  }
  try {
    it->second = converted(it->second, value);
  } catch (const core::Error&) {
    raise_refused("Error al establecer la variable del sistema " + key);
  }
}

const core::Variant* Variables::find(std::string_view name) const {
  auto it = values_.find(upper(name));
  return it == values_.end() ? nullptr : &it->second;
}

const core::Variant& Variables::get(std::string_view name) const {
  const core::Variant* v = find(name);
  if (!v) raise_refused("Error al obtener la variable del sistema " + upper(name));
  return *v;
}

}  // namespace kestrel::memcad
