#include "import/reports.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "import/import_fixture.h"
#include "platform/report_window.h"

namespace kestrel::import_test {
namespace {

using namespace importing;
using platform::ReportRowStyle;
using platform::ReportWindow;

// The rows as "label|value" ("#label" for a section, "[x]label" for an option).
std::vector<std::string> row_texts(const ReportWindow& report) {
  std::vector<std::string> out;
  for (const auto& r : report.rows()) {
    if (r.style == ReportRowStyle::kSection) out.push_back("#" + r.label);
    if (r.style == ReportRowStyle::kPlain) out.push_back(r.label + "|" + r.value);
    if (r.style == ReportRowStyle::kOption) out.push_back((r.checked ? "[x]" : "[ ]") + r.label);
  }
  return out;
}

class ReportsTest : public ImportTest {
 protected:
  ReportsTest() {
    scripted.dialogs.on_show(std::string(ReportWindow::kFormName), [this](platform::Form& f) {
      auto& report = dynamic_cast<ReportWindow&>(f);
      caption = report.caption();
      rows = row_texts(report);
      if (answer) answer(report);
    });
  }
  std::string caption;
  std::vector<std::string> rows;
  std::function<void(ReportWindow&)> answer;
  core::VbBool salir = core::kFalse;
};

TEST_F(ReportsTest, AnalysisSplitsModelSpaceFromBlocksInRowOrderUnlessEmptyOrCancelled) {
  memcad::Block& block = doc().blocks().add("B");
  block.add<memcad::Circle>(memcad::Vec3{0, 0, 0}, 1.0);
  block.add<memcad::Line>(memcad::Vec3{0, 0, 0}, memcad::Vec3{1, 0, 0});
  doc().blocks().add_reserved("*U3").add<memcad::Circle>(memcad::Vec3{0, 0, 0}, 1.0);  // not counted
  Analiza__Todo(ctx, core::Obj(form), salir);  // an empty model space sets salir
  EXPECT_EQ(std::exchange(salir, core::kFalse), core::kTrue);
  state.Datos = {};  // the empty drawing it appended
  space().add<memcad::Circle>(memcad::Vec3{5, 5, 0}, 2.0);
  space().add<memcad::Circle>(memcad::Vec3{6, 5, 0}, 2.0);
  space().add<memcad::Polyline3d>(std::vector<double>{0, 0, 0, 1, 1, 1, 2, 2, 2});
  space().add<memcad::BlockReference>(&block, memcad::Vec3{9, 9, 0});
  Analiza__Todo(ctx, core::Obj(form), salir);
  EXPECT_EQ(std::tuple(salir, caption), std::tuple(core::kFalse, "Información del DWG de ZWCAD 2021:"));
  // By hand: block B holds a circle (3 vertices) and a line (2); model
  // space 2 circles (6), a 3D polyline counted by halves of its 9
  // coordinates (4.5, rounded to even: 4) and an insertion (1) -> 5 in
  // blocks, 16 in all; points 16 + 1 insertion - 5 = 12 outside blocks.
  const std::vector<std::string> expected{
      "Nombre del Dibujo |Dibujo1.dwg",
      "Objetos  |4",
      "Bloques  |1",
      "Capas    |1",
      "#Entidades en AutoCad",
      "Arcos |        -",
      "Círculos |        2   en Bloques =         1",
      "Poliliíneas|        1     Vertic.=16",
      "PoliCara3D|        -",
      "3DCara|        -",
      "Textos|        -",
      "Insercciones de Blq.|        1",
      "#Entidades en Merivox",
      "Dibujos |2",
      "Puntos |       12   en Bloques =         5",
      "Polilíneas |        3   en Bloques =         1",
      "Textos |        -",
      "Triángulos |        -",
  };
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(std::tuple(state.Datos.NuDibujos, state.Datos.Dibujos[1].Texto1), std::tuple(1, "PLANTA"));
  answer = [](ReportWindow& r) { r.cancel(); };  // so does a cancelled report
  Analiza__Todo(ctx, core::Obj(form), salir);
  EXPECT_EQ(salir, core::kTrue);
}

// Without layers or blocks the copy report shows only the selection; its options answer the copy.
TEST_F(ReportsTest, CopyReportOptionsAnswerTheCopy) {
  core::VbBool no_blocks = core::kFalse;
  EXPECT_FALSE(Propiedades_Cad(ctx, core::Obj(form), 5, 0, 0, no_blocks));
  EXPECT_EQ(std::tuple(caption, rows, state.CopiarDesactivadas),
            std::tuple("Copiar - Dibujo1.dwg", std::vector<std::string>{"Entidades Selecc.|5"}, ""));
  EXPECT_FALSE(Propiedades_Cad(ctx, core::Obj(form), 4, 2, 0, no_blocks, 6));  // blocks but no layers
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.front(), "Entidades Selecc.|4");
  answer = [](ReportWindow& r) {
    r.set_checked(kOptionCopyOffLayers, false);
    r.set_checked(kOptionCopyBlocks, false);
  };
  no_blocks = core::kFalse;
  EXPECT_FALSE(Propiedades_Cad(ctx, core::Obj(form), 7, 2, 3, no_blocks, 11));
  ASSERT_GE(rows.size(), 9u);
  EXPECT_EQ(std::vector<std::string>(rows.begin(), rows.begin() + 9),
            (std::vector<std::string>{"Nº de Entidades  |7", "Capas    |3", "Bloques |2", "Entidades en Bloques|11",
                                      "#Opciones", "[x]Copiar Entidades desact", "[x]Copiar Bloques",
                                      "#Entidades en AutoCad", "Círculos y Arcos |        -"}));
  EXPECT_EQ(std::tuple(state.CopiarDesactivadas, no_blocks), std::tuple("0", core::kTrue));
}

}  // namespace
}  // namespace kestrel::import_test
