#include "tools/kestrel/points_csv.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>

#include "model/options.h"

namespace kestrel::cli {
namespace {

// The message parse_points_csv gives for `text`, or "" when it reads it.
std::string error_of(const std::string& text) {
  try {
    (void)parse_points_csv(text, "f.csv");
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

TEST(PointsCsv, ReadsTheFormsInstrumentsAndSpreadsheetsWrite) {
  struct Case {
    const char* text;
    double x2, z2;
    const char* name1;
    const char* code2;
  };
  const Case cases[] = {
      {"1,100.5,200,10\n2,101.25,201,11.5,ARB\n", 101.25, 11.5, "1", "ARB"},
      {"Nombre;X;Y;Z;Codigo\r\n1;100,5;200;10;\r\n2;101,25;201;11,5;ARB\r\n", 101.25, 11.5, "1", "ARB"},
      {"1\t100.5\t200\t10\n\n \t \r\n2\t101.25\t201\t11.5\tARB\n", 101.25, 11.5, "1", "ARB"},
      {"\"1\",\"100.5\",\"200\",\"10\"\n\"2\",101.25, 201 , 11.5 ,\"ARB\"\n", 101.25, 11.5, "1", "ARB"},
      // RFC 4180 quoting: the separator and doubled quotes inside quotes
      {"\"Pozo, norte\",1,2,3\n\"P \"\"2\"\"\", 101.25 ,201,11.5,\"a,b\"\n", 101.25, 11.5, "Pozo, norte", "a,b"},
      {"\"a;b\",1,2,3\n2,101.25,201,11.5,ARB\n", 101.25, 11.5, "a;b", "ARB"},  // ";" inside quotes is no separator
      {"\xEF\xBB\xBFN,X,Y,Z\nA,1,2,3\n2,101.25,201,11.5,ARB", 101.25, 11.5, "A", "ARB"},  // byte-order mark
      {"1;1e2;2;3\n2;+101.25;201;1.15E1;ARB\n", 101.25, 11.5, "1", "ARB"},
      {"1\t,5\t2\t3\n2\t101,25\t201\t11,5\tARB\n", 101.25, 11.5, "1", "ARB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const model::t_Dibujo d = parse_points_csv(c.text, "dir/campo.csv");
    ASSERT_EQ(std::tuple(d.NuPun, d.X.lbound(), d.X.ubound()), std::tuple(2, 1, 2));
    EXPECT_EQ(std::tuple(d.X[2], d.Z[2], d.Nmb[1], d.Cd[1], d.Cd[2], d.Capa[2]),
              std::tuple(c.x2, c.z2, c.name1, "", c.code2, 1));
  }
  EXPECT_DOUBLE_EQ(parse_points_csv("1\t,5\t2\t3\n", "f").X[1], 0.5);
  EXPECT_EQ(parse_points_csv("1,1e-999,2,3\n", "f").X[1], 0.0);  // too small for a double
  // One layer that is on, named after the file; points, names and elevations ticked.
  const model::t_Dibujo d = parse_points_csv("A,1,2,3\n", "dir/campo.csv");
  ASSERT_EQ(d.nuCapas, 1);
  EXPECT_EQ(std::tuple(d.Texto2, d.Capas1[1].Nombre, d.Capas1[1].Encendida),
            std::tuple("campo", "PUNTOS", core::kTrue));
  EXPECT_TRUE(d.Opciones.ticked(model::kChkPtos) && d.Opciones.ticked(model::kChkNo) &&
              d.Opciones.ticked(model::kChkZ));
  EXPECT_FALSE(d.Opciones.ticked(model::kChkNu));
}

TEST(PointsCsv, BadLinesAreNamedByFileAndLineAndFieldsShownSafely) {
  using namespace std::string_literals;
  struct Case {
    std::string text;
    const char* message;
  };
  const Case cases[] = {
      {"1,2,3\n", "f.csv:1: expected name, x, y, z[, code]; found 3 field(s)"},
      {"1,2,3,4\n2,5,x6,7\n", "f.csv:2: y is not a number: \"x6\""},
      {"1,2,3,4\n\n2,abc,6,7\n", "f.csv:3: x is not a number: \"abc\""},
      {"1,2,3,4\n2,5,6,\n", "f.csv:2: z is not a number: \"\""},
      {"1,2.5.1,3,4\n", "f.csv:1: x is not a number: \"2.5.1\""},  // not a header: y and z are numbers
      {"1,2,3,4\r\n\t\r\n2,1e999,6,7\r\n", "f.csv:3: x is out of range: \"1e999\""},
      {"", "f.csv: no points"},
      {"name,x,y,z\n", "f.csv: no points"},
      {"\xFF\xFE"
       "1\0,\0"s,
       "f.csv: UTF-16 text; save the file as UTF-8 or ANSI text"},
      {"1,2,3,4\n\"P,2,5,6,7\n3,1,2,3\n", "f.csv:2: a quoted field is not closed on its line"},
      {"1,2,3,4\n\"P\"2,5,6,7\n", "f.csv:2: field 1 has text after its closing quote"},
      {"1,2,3,4\n2,5,\"6\" x,7\n", "f.csv:2: field 3 has text after its closing quote"},
      // With "," separating fields, "," cannot be the decimal point: five fields here.
      {"1,100,5,200,10\n", ""},
      {"1;2;3;4\n2;1,2,3;6;7\n", "f.csv:2: x is not a number: \"1,2,3\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(error_of(c.text), c.message);
  }
  // Only a plain number is a coordinate; the rest is refused and shown safely.
  struct Field {
    std::string field;
    std::string shown;  // as the message quotes it
  };
  const Field fields[] = {
      {"&HFF", "\"&HFF\""},
      {"1d3", "\"1d3\""},
      {"1 000", "\"1 000\""},
      {"inf", "\"inf\""},
      {"0x10", "\"0x10\""},
      {"1e", "\"1e\""},
      {"\x1B[31mRED", "\"\\x1B[31mRED\""},
      {"a\xE2\x80\xAE"
       "b\xC2\x85\xFF",
       "\"a\\xE2\\x80\\xAEb\\xC2\\x85\\xFF\""},  // RLO, NEL, a stray byte
      {"ñandú", "\"ñandú\""},
      {std::string(1'000'000, '7') + "x", "\"" + std::string(40, '7') + "…\""},
      {std::string(30, 'a') + "\x01\x02\x03", "\"" + std::string(30, 'a') + "\\x01\\x02…\""},
  };
  for (const Field& f : fields) {
    SCOPED_TRACE(f.shown);
    EXPECT_EQ(error_of("1,2,3,4\n2," + f.field + ",5,6\n"), "f.csv:2: x is not a number: " + f.shown);
  }
}

}  // namespace
}  // namespace kestrel::cli
