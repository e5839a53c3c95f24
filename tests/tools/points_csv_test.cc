#include "tools/kestrel/points_csv.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "model/options.h"

namespace kestrel::cli {
namespace {

TEST(PointsCsv, ReadsTheFormsInstrumentsAndSpreadsheetsWrite) {
  struct Case {
    const char* text;
    double x2, z2;
    const char* code2;
  };
  const Case cases[] = {
      {"1,100.5,200,10\n2,101.25,201,11.5,ARB\n", 101.25, 11.5, "ARB"},
      {"Nombre;X;Y;Z;Codigo\r\n1;100,5;200;10;\r\n2;101,25;201;11,5;ARB\r\n", 101.25, 11.5, "ARB"},
      {"1\t100.5\t200\t10\n\n2\t101.25\t201\t11.5\tARB\n", 101.25, 11.5, "ARB"},
      {"\"1\",\"100.5\",\"200\",\"10\"\n\"2\",101.25, 201 , 11.5 ,\"ARB\"\n", 101.25, 11.5, "ARB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const model::t_Dibujo d = parse_points_csv(c.text, "dir/campo.csv");
    ASSERT_EQ(d.NuPun, 2);
    EXPECT_EQ(d.X.lbound(), 1);
    EXPECT_EQ(d.X.ubound(), 2);
    EXPECT_DOUBLE_EQ(d.X[2], c.x2);
    EXPECT_DOUBLE_EQ(d.Z[2], c.z2);
    EXPECT_EQ(d.Nmb[2], "2");
    EXPECT_EQ(d.Cd[2], c.code2);
    EXPECT_EQ(d.Cd[1], "");
    EXPECT_EQ(d.Capa[2], 1);
  }
}

TEST(PointsCsv, MakesOneLayerAndTicksNamesCodesAndElevations) {
  const model::t_Dibujo d = parse_points_csv("A,1,2,3\n", "dir/campo.csv");
  EXPECT_EQ(d.Texto2, "campo");
  ASSERT_EQ(d.nuCapas, 1);
  EXPECT_EQ(d.Capas1[1].Nombre, "PUNTOS");
  EXPECT_EQ(d.Capas1[1].Encendida, core::kTrue);
  EXPECT_TRUE(d.Opciones.ticked(model::kChkPtos));
  EXPECT_TRUE(d.Opciones.ticked(model::kChkNo));
  EXPECT_TRUE(d.Opciones.ticked(model::kChkZ));
  EXPECT_FALSE(d.Opciones.ticked(model::kChkNu));
}

TEST(PointsCsv, BadLinesAreNamedByFileAndLine) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"1,2,3\n", "f.csv:1: expected name, x, y, z[, code]; found 3 field(s)"},
      {"1,2,3,4\n2,5,x6,7\n", "f.csv:2: y is not a number: \"x6\""},
      {"1,2,3,4\n\n2,abc,6,7\n", "f.csv:3: x is not a number: \"abc\""},
      {"1,2,3,4\n2,5,6,\n", "f.csv:2: z is not a number: \"\""},
      {"1,2,3,4\n2,1,5,6\n", nullptr},
      {"1,2.5.1,3,4\n", "f.csv:1: x is not a number: \"2.5.1\""},  // not a header: y and z are numbers
      {"", "f.csv: no points"},
      {"name,x,y,z\n", "f.csv: no points"},
      // With "," separating fields, "," cannot be the decimal point.
      {"1,100,5,200,10\n", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    if (!c.message) {
      EXPECT_NO_THROW((void)parse_points_csv(c.text, "f.csv"));
      continue;
    }
    try {
      (void)parse_points_csv(c.text, "f.csv");
      ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace kestrel::cli
