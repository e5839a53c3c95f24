#include "export/f_acad.h"

#include <charconv>

namespace kestrel::exporting {

namespace {

Control make(ControlKind kind, std::string caption = {}) {
  Control c;
  c.kind = kind;
  c.caption = std::move(caption);
  return c;
}

using K = ControlKind;

// Control name → member, for lookups by name (scripted users, the CLI).
struct NamedControl {
  std::string_view name;
  Control f_Acad::*single = nullptr;
  Control* (*element)(f_Acad&, std::size_t) = nullptr;
  std::size_t count = 1;
};

template <auto Member>
Control* element_of(f_Acad& d, std::size_t i) {
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

f_Acad::f_Acad(Module& module, FAcadEvents* listener)
    : Frame1(make(K::kFrame, "Selecciona Entidades")),
      chkPtos(make(K::kCheckBox, "Puntos -")),
      chkPoli(make(K::kCheckBox, "Polilíneas -")),
      chkSombrea(make(K::kCheckBox, "No hacer sombreados")),
      chkTria(make(K::kCheckBox, "MDT -")),
      FraTri(make(K::kFrame)),
      Option1{make(K::kOptionButton, "3D"), make(K::kOptionButton, "3D Renderizado"),
              make(K::kOptionButton, "2D Sólido"), make(K::kOptionButton, "2D Renderizado y sombreado en color")},
      chkCurv(make(K::kCheckBox, "Curvas -")),
      chkText(make(K::kCheckBox, "Textos -")),
      chkBlo(make(K::kCheckBox, "Inserta Bloques -")),
      fraAtri(make(K::kFrame)),
      ChkNu(make(K::kCheckBox, "Número")),
      chkNo(make(K::kCheckBox, "Nombre")),
      chkCod(make(K::kCheckBox, "Código")),
      ChkX(make(K::kCheckBox, "X")),
      ChkY(make(K::kCheckBox, "Y")),
      ChkZ(make(K::kCheckBox, "Z")),
      TextX(make(K::kTextBox)),
      TextY(make(K::kTextBox)),
      TextZ(make(K::kTextBox)),
      Label2{make(K::kLabel, "Decimales"), make(K::kLabel, "Decimales"), make(K::kLabel, "Decimales")},
      txtAltura(make(K::kTextBox)),
      labAtri(make(K::kLabel, "Altura Textos (m)")),
      CmbOrient(make(K::kComboBox)),
      Label3(make(K::kLabel, "Orientación textos")),
      ChkAtri(make(K::kCheckBox, "Crear atributos en una sola capa")),
      FraOpcion(make(K::kFrame, "Opciones")),
      chkCap(make(K::kCheckBox, "Prefijo para los nombres de las capas")),
      txtCap(make(K::kTextBox)),
      Chk_Capas(make(K::kCheckBox, "No crear capas desactivadas  ni sus Entidades.")),
      Op3D{make(K::kOptionButton, "Entidades en 2D"), make(K::kOptionButton, "Entidades en 3D ")},
      Combo1(make(K::kComboBox)),
      Label1(make(K::kLabel, "Deformación en Z")),
      labPtos(make(K::kLabel)),
      labPoli(make(K::kLabel)),
      labTria(make(K::kLabel)),
      labCurv(make(K::kLabel)),
      labRotulos(make(K::kLabel)),
      labBloques(make(K::kLabel)),
      labMandando(make(K::kLabel, "Autocad ya está cargado.")),
      proBarra(make(K::kProgressBar)),
      cmdDatosaceptar(make(K::kButton, "Generar")),
      bt_salir(make(K::kButton, "Cancelar")),
      module_(module),
      listener_(listener) {
  CmbOrient.items = {"Horizontal", "Vertical"};
}

Control* f_Acad::control(std::string_view name) {
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

}  // namespace kestrel::exporting
