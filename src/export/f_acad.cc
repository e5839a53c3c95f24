#include "export/f_acad.h"

#include <charconv>
#include <utility>

namespace kestrel::exporting {

namespace {

// Control name → member, for lookups by name (scripted users, the CLI).
struct NamedControl {
  std::string_view name;
  Control FAcadControls::*single = nullptr;
  const Control* (*element)(const f_Acad&, std::size_t) = nullptr;
  std::size_t count = 1;
};

template <auto Member>
const Control* element_of(const f_Acad& d, std::size_t i) {
  auto& array = d.*Member;
  return i < array.size() ? &array[i] : nullptr;
}

constexpr NamedControl kControls[] = {
    {"Frame1", &f_Acad::Frame1}, {"chkPtos", &f_Acad::chkPtos}, {"chkPoli", &f_Acad::chkPoli},
    {"chkSombrea", &f_Acad::chkSombrea}, {"chkTria", &f_Acad::chkTria}, {"FraTri", &f_Acad::FraTri},
    {"Option1", nullptr, &element_of<&f_Acad::Option1>, 4}, {"chkCurv", &f_Acad::chkCurv},
    {"chkText", &f_Acad::chkText}, {"chkBlo", &f_Acad::chkBlo}, {"fraAtri", &f_Acad::fraAtri},
    {"ChkNu", &f_Acad::ChkNu}, {"chkNo", &f_Acad::chkNo}, {"chkCod", &f_Acad::chkCod}, {"ChkX", &f_Acad::ChkX},
    {"ChkY", &f_Acad::ChkY}, {"ChkZ", &f_Acad::ChkZ}, {"TextX", &f_Acad::TextX}, {"TextY", &f_Acad::TextY},
    {"TextZ", &f_Acad::TextZ}, {"Label2", nullptr, &element_of<&f_Acad::Label2>, 3},
    {"txtAltura", &f_Acad::txtAltura}, {"labAtri", &f_Acad::labAtri}, {"CmbOrient", &f_Acad::CmbOrient},
    {"Label3", &f_Acad::Label3}, {"ChkAtri", &f_Acad::ChkAtri}, {"FraOpcion", &f_Acad::FraOpcion},
    {"chkCap", &f_Acad::chkCap}, {"txtCap", &f_Acad::txtCap}, {"Chk_Capas", &f_Acad::Chk_Capas},
    {"Op3D", nullptr, &element_of<&f_Acad::Op3D>, 2}, {"Combo1", &f_Acad::Combo1}, {"Label1", &f_Acad::Label1},
    {"labPtos", &f_Acad::labPtos}, {"labPoli", &f_Acad::labPoli}, {"labTria", &f_Acad::labTria},
    {"labCurv", &f_Acad::labCurv}, {"labRotulos", &f_Acad::labRotulos}, {"labBloques", &f_Acad::labBloques},
    {"labMandando", &f_Acad::labMandando}, {"proBarra", &f_Acad::proBarra},
    {"cmdDatosaceptar", &f_Acad::cmdDatosaceptar}, {"bt_salir", &f_Acad::bt_salir},
};

}  // namespace

f_Acad::f_Acad(Module& module, FAcadEvents* listener) : module_(module), listener_(listener) {}

Control* f_Acad::control(std::string_view name) {
  return const_cast<Control*>(std::as_const(*this).control(name));
}

const Control* f_Acad::control(std::string_view name) const {
  std::size_t index = 0;
  bool indexed = false;
  if (const auto open = name.find('('); open != std::string_view::npos && name.back() == ')') {
    const std::string_view digits = name.substr(open + 1, name.size() - open - 2);
    const auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (ec != std::errc() || p != digits.data() + digits.size()) return nullptr;
    name = name.substr(0, open);
    indexed = true;
  }
  for (const NamedControl& c : kControls) {
    if (c.name != name) continue;
    if (c.single) return indexed ? nullptr : &(this->*c.single);
    return indexed ? c.element(*this, index) : nullptr;
  }
  return nullptr;
}

bool f_Acad::within_reach(std::string_view name) const {
  const Control* c = control(name);
  return loaded_ && visible_ && c && c->enabled && c->visible;
}

}  // namespace kestrel::exporting
