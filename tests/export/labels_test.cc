// Labels: styles and font files, the placement of the kinds (by hand, with a
// measure of 0.5 × size per character) and the drawing loop. Where they land
// in a DXF file is checked against ezdxf in tests/tools/cli_labels_test.py.
#include <gtest/gtest.h>

#include <cmath>

#include "export/label_fonts.h"
#include "export/label_placement.h"
#include "export/labels.h"
#include "export_fixture.h"
#include "module/settings_access.h"
#include "platform/temp_folder.h"

namespace kestrel::exporting::testing {
namespace {

using model::t_Rotulo;

t_Rotulo label(std::string text, double x, double y, std::string kind = "", std::int16_t layer = 1) {
  t_Rotulo r;
  r.Texto = std::move(text);
  r.Xr = x;
  r.Yr = y;
  r.Texto3 = std::move(kind);
  r.CapaR = layer;
  r.Altura = 1;
  r.Estilo = "Arial";
  return r;
}

t_Rotulo between(std::string kind, double x1, double y1, double x2, double y2) {
  t_Rotulo r = label("", x1, y1, std::move(kind));
  r.Xr2 = x2;
  r.Yr2 = y2;
  return r;
}

class LabelsTest : public ExportTest {
 protected:
  LabelsTest() {
    model::DrawingModel& m = module.model;
    m.NumCapas = 2;
    m.Capas = core::VbArray<model::t_Capa>(1, {{"UNO", core::kTrue, 0, 0, {}}, {"DOS", core::kFalse, 0, 0, {}}});
    save_setting(settings, "Fuentes", "fichero", "/dev/null");  // an empty font table
  }
  void give(std::vector<t_Rotulo> labels) {
    module.model.NumRotulos = static_cast<std::int32_t>(labels.size());
    module.model.Rotulos = core::VbArray<t_Rotulo>(1, std::move(labels));
  }
  void generate(bool in_block = false) { Autocad_Genera_Rotulos(ctx, core::to_vb_bool(in_block)); }
  std::vector<std::string> text_strings() const {
    std::vector<std::string> out;
    for (const memcad::Text* t : texts()) out.push_back(t->text.str());
    return out;
  }
};

TEST_F(LabelsTest, StylesAreMadeOnceEachAtMostFiveHundred) {
  std::vector<t_Rotulo> labels{label("a", 0, 0), label("b", 0, 0), label("c", 0, 0)};
  labels[0].Estilo = "LEROY";
  labels[1].Estilo = "";
  for (int k = 1; k <= 501; ++k) {
    labels.push_back(label("s", 0, 0));
    labels.back().Estilo = "S" + std::to_string(k);
  }
  give(labels);
  const core::Obj layers = module.cad.Documento.object("Layers");
  layers.call("Add", std::string("UNO"));
  document().create_missing_records = false;  // as a CAD does: an unknown style is refused
  generate();
  const auto made = [&](const char* style) { return document().text_styles().find(style) != nullptr; };
  // Arial is the 1st, S499 the 500th.
  EXPECT_EQ((std::vector{made("Arial"), made("LEROY"), made("S499"), made("S500")}),
            (std::vector{true, false, true, false}));
  const auto drawn = texts();
  // The label of the style never made is added, then refused its style, and that ends the run.
  ASSERT_EQ(drawn.size(), 3u + 499u + 1u);
  EXPECT_EQ(std::tuple(drawn[0]->style_name(), drawn[1]->style_name()), std::tuple("Arial", "Arial"));
  ASSERT_EQ(messages().size(), 1u) << messages()[0];
  EXPECT_TRUE(messages()[0].starts_with("Textos - Error   nº ")) << messages()[0];
}

// The fonts folder ends in one separator; a bad font table is reported and
// the labels still drawn.
TEST_F(LabelsTest, FontsFolderAndTable) {
  for (const auto& [setting, folder] : {std::pair{"fonts", "fonts/"}, std::pair{"fonts/", "fonts/"},
                                        std::pair{"C:\\Windows\\Fonts\\", "C:\\Windows\\Fonts\\"}}) {
    save_setting(settings, "Fuentes", "carpeta", setting);
    EXPECT_EQ(exporting::Dir_Win(module), folder);
  }
  platform::TempFolder folder;
  for (const char* table : {"", "\"Bueno  \",arial\nX,y\n"}) {
    SCOPED_TRACE(table);
    platform::write_bytes(folder.path() / "f.txt", table);
    save_setting(settings, "Fuentes", "fichero", (folder.path() / "f.txt").string());
    const std::size_t before = messages().size();
    give({label("a", 0, 0)});
    generate();
    EXPECT_EQ(messages().size(), before + (*table ? 1u : 0u));
    if (*table) {
      EXPECT_TRUE(messages().back().starts_with("Lee:  Error nº   5")) << messages().back();
    }
  }
  save_setting(settings, "Fuentes", "fichero", (folder.path() / "none.txt").string());
  generate();
  EXPECT_TRUE(messages().back().starts_with("Lee:  Error nº   53")) << messages().back();
  EXPECT_EQ(texts().size(), 3u);
}

struct Placed {
  t_Rotulo r;
  const char* text;
  double xc, yc, giro;
};

TEST_F(LabelsTest, DimensionTextsMeasureTheirLinesAndSitCentredAboveThemOrBeyond) {
  // Hand placements: width 0.5 per character at size 1, 0.25 above the line.
  const Placed cases[] = {
      {between("6", 0, 0, 10, 0), "10.00", 3.75, 0.25, 0},  // fits: (10 − 2.5) / 2
      {between("6", 0, 0, 3, 0), "3.00", 4.0, 0.25, 0},     // 2 + 2 ≥ 3, one size past the end
      // 12.345 − 10.0 is 2.34499… in binary, taken at 15 digits (2.345) and
      // rounded half away from zero, as the host formats numbers.
      {between("6", 10.0, 0, 12.345, 0), "2.35", 13.345, 0.25, 0},
      {between("7", 0, 0, 0, 10), "10.00", -0.25, 3.75, 300},  // reads upwards, left of its line
      {between("5", 0, 0, 10, 10), "14.14", 5 - 1.25 * std::sqrt(0.5) - 0.25 * std::sqrt(0.5),
       5 - 1.25 * std::sqrt(0.5) + 0.25 * std::sqrt(0.5), 350},
  };
  for (const Placed& c : cases) {
    SCOPED_TRACE(c.r.Texto3 + " to " + std::to_string(c.r.Xr2) + "," + std::to_string(c.r.Yr2));
    give({c.r});
    LabelWorkspace ws{module.model, text_measure, true, {}};
    Prepara_Rotulos(ws);
    const t_Rotulo& placed = module.model.Rotulos[1];
    EXPECT_EQ(placed.Texto, c.text);
    // Directions come from the bearing rule, whose circle is 6.283185308.
    EXPECT_NEAR(std::hypot(placed.Xc - c.xc, placed.Yc - c.yc), 0, 1e-7);
    EXPECT_NEAR(placed.Giro, c.giro, 1e-7);
    EXPECT_EQ(module.model.Registros.NumFlechasR, 2);
  }
}

TEST_F(LabelsTest, MultiLineLabelsAreSplitOnlyOnce) {
  give({label("Calle#Mayor", 10, 20)});
  generate();
  generate();  // the second run finds nothing more to split
  EXPECT_EQ(module.model.NumRotulos, 2);
  EXPECT_EQ(text_strings(), (std::vector<std::string>{"Calle", "Mayor", "Calle", "Mayor"}));
}

TEST_F(LabelsTest, BadLabelsNeverCrash) {
  t_Rotulo point_grid = between("11", 7, 7, 7, 7);
  t_Rotulo far_layer = label("lejos", 0, 0, "", 9);  // above the table: the last layer
  give({point_grid, label("", 0, 0), far_layer});
  generate();
  EXPECT_EQ(texts().size(), 8u + 2u) << (messages().empty() ? "" : messages()[0]);
  // The grid's own labels come after the given ones.
  EXPECT_EQ(std::tuple(texts()[1]->text, texts()[1]->layer()), std::tuple("lejos", "DOS"));
  EXPECT_TRUE(messages().empty());
  // A CAD refuses a text of height 0 or below; a layer index below the table has no name.
  t_Rotulo flat = between("6", 0, 0, 5, 0);
  flat.Altura = 0;
  t_Rotulo negative = between("5", 0, 0, 5, 5);
  negative.Altura = -2;
  for (const t_Rotulo& bad : {flat, negative, label("cero", 0, 0, "", 0)}) {
    const std::size_t shown = messages().size();
    give({label("antes", 0, 0), bad, label("después", 0, 0)});
    generate();
    ASSERT_EQ(messages().size(), shown + 1);
    EXPECT_TRUE(messages().back().starts_with("Textos - Error   nº ")) << messages().back();
    EXPECT_NE(text_strings().back(), "después");
  }
  EXPECT_TRUE(messages().back().starts_with("Textos - Error   nº  9: ")) << messages().back();
}

}  // namespace
}  // namespace kestrel::exporting::testing
