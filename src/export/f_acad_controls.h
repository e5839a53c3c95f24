// The controls of the export dialog as designed: what a freshly loaded
// dialog shows before its load handler reads the saved options. Unloading
// the dialog brings every control back to this state.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "export/control.h"

namespace kestrel::exporting {

struct FAcadControls {
  using K = ControlKind;
  static Control designed(K kind, std::string caption = {}, std::vector<std::string> items = {}) {
    Control c;
    c.kind = kind;
    c.caption = std::move(caption);
    c.items = std::move(items);
    return c;
  }

  std::string Caption = "Pegar en Autocad";

  Control Frame1 = designed(K::kFrame, "Selecciona Entidades");
  Control chkPtos = designed(K::kCheckBox, "Puntos -");
  Control chkPoli = designed(K::kCheckBox, "Polilíneas -");
  Control chkSombrea = designed(K::kCheckBox, "No hacer sombreados");
  Control chkTria = designed(K::kCheckBox, "MDT -");
  Control FraTri = designed(K::kFrame);
  std::array<Control, 4> Option1{{designed(K::kOptionButton, "3D"),
                                  designed(K::kOptionButton, "3D Renderizado"),
                                  designed(K::kOptionButton, "2D Sólido"),
                                  designed(K::kOptionButton, "2D Renderizado y sombreado en color")}};
  Control chkCurv = designed(K::kCheckBox, "Curvas -");
  Control chkText = designed(K::kCheckBox, "Textos -");
  Control chkBlo = designed(K::kCheckBox, "Inserta Bloques -");
  Control fraAtri = designed(K::kFrame);
  Control ChkNu = designed(K::kCheckBox, "Número");
  Control chkNo = designed(K::kCheckBox, "Nombre");
  Control chkCod = designed(K::kCheckBox, "Código");
  Control ChkX = designed(K::kCheckBox, "X");
  Control ChkY = designed(K::kCheckBox, "Y");
  Control ChkZ = designed(K::kCheckBox, "Z");
  Control TextX = designed(K::kTextBox);
  Control TextY = designed(K::kTextBox);
  Control TextZ = designed(K::kTextBox);
  std::array<Control, 3> Label2{{designed(K::kLabel, "Decimales"),
                                 designed(K::kLabel, "Decimales"),
                                 designed(K::kLabel, "Decimales")}};
  Control txtAltura = designed(K::kTextBox);
  Control labAtri = designed(K::kLabel, "Altura Textos (m)");
  Control CmbOrient = designed(K::kComboBox, {}, {"Horizontal", "Vertical"});
  Control Label3 = designed(K::kLabel, "Orientación textos");
  Control ChkAtri = designed(K::kCheckBox, "Crear atributos en una sola capa");
  Control FraOpcion = designed(K::kFrame, "Opciones");
  Control chkCap = designed(K::kCheckBox, "Prefijo para los nombres de las capas");
  Control txtCap = designed(K::kTextBox);
  Control Chk_Capas = designed(K::kCheckBox, "No crear capas desactivadas  ni sus Entidades.");
  std::array<Control, 2> Op3D{{designed(K::kOptionButton, "Entidades en 2D"),
                               designed(K::kOptionButton, "Entidades en 3D ")}};
  Control Combo1 = designed(K::kComboBox);
  Control Label1 = designed(K::kLabel, "Deformación en Z");
  Control labPtos = designed(K::kLabel);
  Control labPoli = designed(K::kLabel);
  Control labTria = designed(K::kLabel);
  Control labCurv = designed(K::kLabel);
  Control labRotulos = designed(K::kLabel);
  Control labBloques = designed(K::kLabel);
  Control labMandando = designed(K::kLabel, "Autocad ya está cargado.");
  Control proBarra = designed(K::kProgressBar);
  Control cmdDatosaceptar = designed(K::kButton, "Generar");
  Control bt_salir = designed(K::kButton, "Cancelar");
};

}  // namespace kestrel::exporting
