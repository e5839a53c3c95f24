// Record files: canonical round trips, bounds, opaque bytes, and the errors
// a bad file gives (field and position named, never a partial record).
#include "recordfile/record_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "core/error.h"
#include "core/error_number.h"
#include "model/loading.h"
#include "recordfile/json_out.h"
#include "recordfile/record_json.h"
#include "model/sample_records.h"
#include "platform/temp_folder.h"

namespace kestrel::model {
namespace {

using testing::full_drawing;
using testing::full_set;
using testing::small_drawing;
using core::testing_support::caught;
using core::testing_support::error_number;

std::string replaced(std::string text, std::string_view from, std::string_view to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

core::Error read_error(std::string_view text) { return caught([&] { (void)from_json(text); }); }

t_Datos two_small_drawings() {
  return t_Datos{2, 1, VbArray<t_Dibujo>(1, {small_drawing("a", 3, 1), small_drawing("b", 5, 2)})};
}

std::string survey_text() { return platform::read_bytes(std::string(KESTREL_EXAMPLES) + "/survey.json"); }

TEST(RecordFile, EveryFieldRoundTripsWithIdenticalBytes) {
  const t_Datos set = full_set();
  const std::string first = to_json(set);
  EXPECT_EQ(std::get<t_Datos>(from_json(first)), set);
  EXPECT_EQ(to_json(from_json(first)), first);
  const t_Dibujo drawing = full_drawing(9);
  EXPECT_EQ(std::get<t_Dibujo>(from_json(to_json(drawing))), drawing);
  const std::string example = survey_text();  // the bundled example is canonical
  EXPECT_EQ(to_json(from_json(example)), example);
}

// The writer's text for bounds, vertex lists, unusual numbers and Booleans
// the host stored as 1, and the record read back from it.
TEST(RecordFile, EdgeValuesAreWrittenAsDocumentedAndReadBack) {
  t_Dibujo bare;
  bare.X = VbArray<double>(1, 0);  // allocated, no items
  bare.Y = VbArray<double>(0, 0);  // allocated, one item at 0
  bare.Curvado.Param1 = 1e21;
  bare.Curvado.Param7 = -0.0;
  bare.Curvado.Param8 = 0.1 + 0.2;
  const t_Dibujo full = full_drawing(1);
  const std::string text = to_json(bare) + to_json(full);
  for (const char* part : {"\"X\": []", "\"Y\": {\"lbound\": 0, \"items\": [0]}", "\"Z\": null",
                           "\"Vert\": [-60, 1, 2]", "\"VertC\": [[1, 2, 600], [3, 4, 600], [5, 6.5, 600]]",
                           "\"Param1\": 1e+21", "\"Param7\": -0", "\"Param8\": 0.30000000000000004",
                           "\"TipoC\": true", "\"TipoC\": 1"}) {
    EXPECT_NE(text.find(part), std::string::npos) << part;
  }
  const t_Dibujo back = std::get<t_Dibujo>(from_json(to_json(bare)));
  EXPECT_EQ(back, bare);
  EXPECT_TRUE(std::signbit(back.Curvado.Param7));
  EXPECT_EQ(std::get<t_Dibujo>(from_json(to_json(full))).Curvado.Curvas[2].TipoC, 1);
}

// Numbers are written as std::to_chars writes them (the shortest text that
// reads back), whichever way the writer gets there.
TEST(RecordFile, NumbersAreTheShortestTextThatReadsBack) {
  std::mt19937_64 random(20240601);
  const json_detail::PathNode root;
  for (int i = 0; i < 200000; ++i) {
    double v = 0;
    if (i % 2 == 0) {  // survey numbers: a few decimals at every scale
      v = static_cast<double>(static_cast<std::int64_t>(random() % 2000000000) - 1000000000) /
          std::pow(10.0, static_cast<int>(random() % 12));
    } else {  // any finite double
      const std::uint64_t bits = random();
      std::memcpy(&v, &bits, sizeof v);
      if (!std::isfinite(v) || (v == 0 && std::signbit(v))) v = 1;
    }
    json_detail::JsonOut out;
    out.number(v, root);
    char reference[32];
    ASSERT_EQ(out.take(), std::string_view(reference, std::to_chars(reference, reference + 32, v).ptr)) << v;
  }
}

// A drawing file reads as a set of one; a set may keep a spare drawing.
TEST(RecordFile, DrawingFilesSparesAndLargeDrawingsReadBack) {
  const t_Dibujo solo = small_drawing("solo", 2, 0);
  EXPECT_EQ(as_drawing_set(from_json(to_json(solo))), (t_Datos{1, 1, VbArray<t_Dibujo>(1, {solo})}));
  t_Datos spare = two_small_drawings();
  spare.NuDibujos = 1;
  EXPECT_EQ(std::get<t_Datos>(from_json(to_json(spare))), spare);
  // A drawing larger than the writer's chunk streams in pieces that join into
  // the text written whole.
  const t_Datos set{1, 1, VbArray<t_Dibujo>(1, {small_drawing("grande", 40000, 0)})};
  core::StringSink sink;
  write_json(sink, set);
  ASSERT_GT(sink.text().size(), std::size_t{1} << 20);
  EXPECT_EQ(sink.text(), to_json(set));
  EXPECT_EQ(std::get<t_Datos>(from_json(sink.text())), set);
}

// What a record file cannot hold fails the write naming the field, whether
// the text is built whole or streamed.
TEST(RecordFile, WriterRefusesWhatAFileCannotHoldAndStopsAtTheSizeLimit) {
  const struct {
    void (*spoil)(t_Datos&);
    const char* description;
  } cases[] = {
      {[](t_Datos& s) { s.Dibujos[2].Cd[3] = "\xC3("; }, "Dibujos[2].Cd[3]: el texto no es UTF-8 válido"},
      {[](t_Datos& s) { s.Dibujos[2].X[4] = std::nan(""); },
       "Dibujos[2].X[4]: no se puede escribir un número no finito (NaN)"},
      {[](t_Datos& s) {
         s.Dibujos[1].Curvado.Curvas = VbArray<t_Curva>(1, 1);
         s.Dibujos[1].Curvado.Curvas[1].VertC = VbArray<Vertex3>(0, {{1, 2, INFINITY}});
       },
       "Dibujos[1].Curvado.Curvas[1].VertC[0][2]: no se puede escribir un número no finito (Infinity)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.description);
    t_Datos set = two_small_drawings();
    c.spoil(set);
    for (const bool streamed : {false, true}) {
      core::StringSink sink;
      const core::Error e = caught([&] { streamed ? write_json(sink, set) : (void)to_json(set); });
      EXPECT_EQ(e.number(), 5);
      EXPECT_EQ(e.description(), c.description);
    }
  }
  // A text beyond the limit is refused before anything beyond it is written.
  const t_Datos set = two_small_drawings();
  const std::string text = to_json(set);
  for (const bool streamed : {false, true}) {
    SCOPED_TRACE(streamed);
    core::StringSink sink;
    json_detail::JsonOut exact(streamed ? &sink : nullptr, text.size());
    json_detail::write_document(exact, set);
    EXPECT_EQ(streamed ? sink.text() : exact.take(), text);
    core::StringSink short_sink;
    json_detail::JsonOut one_short(streamed ? &short_sink : nullptr, text.size() - 1);
    const core::Error e = caught([&] { json_detail::write_document(one_short, set), (void)one_short.take(); });
    EXPECT_EQ(e.number(), 5);
    EXPECT_EQ(e.description(), "JSON demasiado grande: el documento pasa de " + std::to_string(text.size() - 1) + " bytes");
    EXPECT_TRUE(short_sink.text().empty());
  }
}

struct BadText {
  std::string text;
  std::int32_t number;
  std::string description;  // the expected description, or a part of it
};

std::vector<BadText> bad_texts() {
  const std::string good = to_json(two_small_drawings());
  const auto record = [](void (*spoil)(t_Datos&)) {
    t_Datos set = two_small_drawings();
    spoil(set);
    return to_json(set);
  };
  const auto with = [&](std::string_view from, std::string_view to) { return replaced(good, from, to); };
  const std::string x = "[1001, 1002, 1003, 1004, 1005]";
  const auto x_with = [&](std::string_view third) {
    return with(x, "[1001, 1002, " + std::string(third) + ", 1004, 1005]");
  };
  const auto lines = std::count(good.begin(), good.end(), '\n');
  return {
      // The JSON itself; a header value followed by a colon was found by fuzzing.
      {with("\"NuDibujos\": 2,", "\"NuDibujos\": 2,,"), 5, "JSON mal formado en la línea 5, columna 18"},
      {good.substr(0, good.size() / 2), 5, "JSON incompleto: el texto se corta en la línea"},
      {with("\"Texto2\": \"b\"", "\"Texto2\": \"ñ\" x"), 5, ", columna 21"},  // columns count characters
      {with("\"Texto2\": \"b\"", "\"Texto2\": \"\xC3(\""), 5, "texto UTF-8 no válido"},
      {with("\"kind\": \"t_Datos\",", "\"kind\": \"t_Datos\": 1,"), 5, "JSON mal formado en la línea 4, columna 20"},
      {good + "}", 5, "JSON mal formado en la línea " + std::to_string(lines + 1) + ", columna 1"},
      // A text that is not JSON says so, though a record error comes first.
      {replaced(with("\"NuPun\": 5", "\"Nupun\": 5"), "\n}\n", ",\n}\n"), 5, "JSON mal formado en la línea"},
      {with(x, std::string(40, '[') + std::string(40, ']')), 5, "JSON anidado a más de 32 niveles en la línea"},
      // Values.
      {"[1, 2]", 13, "(documento): se esperaba un objeto y hay una lista"},
      {with("\"NuPun\": 5", "\"NuPun\": \"5\""), 13,
       "Dibujos[2].NuPun: se esperaba un entero de 32 bits y hay un texto"},
      {x_with("true"), 13, "Dibujos[2].X[3]: se esperaba un número y hay un valor lógico"},
      {with("\"Nutria\": 2", "\"Nutria\": 2.5"), 13,
       "Dibujos[2].Nutria: se esperaba un entero de 32 bits y hay un número con decimales"},
      {with("\"Capa\": [1, 1, 1, 1, 1]", "\"Capa\": [1, 1, 40000, 1, 1]"), 13,
       "Dibujos[2].Capa[3]: un entero de 16 bits, no cabe 40000"},
      {with("\"NuPun\": 5", "\"NuPun\": 99999999999999999999"), 13,
       "Dibujos[2].NuPun: un entero de 32 bits, no cabe 99999999999999999999"},
      {x_with("-1e999"), 13, "Dibujos[2].X[3]: se esperaba un número finito y hay -1e999"},
      {x_with("\"NaN\""), 13, "Dibujos[2].X[3]: se esperaba un número finito y hay \"NaN\""},
      {x_with("\"3\""), 13, "Dibujos[2].X[3]: se esperaba un número y hay un texto"},
      {with("\"X\": " + x, "\"X\": true"), 13, "Dibujos[2].X: se esperaba una lista"},
      {with("\"Curvas\": null", "\"Curvas\": [{\"NuVertC\": 0, \"VertC\": [[1, 2]]}]"), 13,
       "Dibujos[1].Curvado.Curvas[1].VertC[0]: se esperaba una lista de tres números [x, y, z] y hay 2"},
      {with("\"Extra\": \"00000000\"", "\"Extra\": \"00\""), 13,
       "Dibujos[1].Extra: se esperaban 4 bytes en hexadecimal (8 cifras) y hay 2 cifras"},
      {with("\"Extra\": \"00000000\"", "\"Extra\": \"000g0000\""), 13,
       "Dibujos[1].Extra: cifra hexadecimal no válida en la posición 3"},
      // Fields and header.
      {with("\"NuPun\": 5", "\"NuPun\": 5, \"Nupun\": 5"), 5, "Dibujos[2].Nupun: campo desconocido en t_Dibujo"},
      {with("\"NuPun\": 5", "\"NuPun\": 5, \"NuPun\": 4"), 5, "Dibujos[2].NuPun: campo repetido"},
      {with("\"X\": " + x, "\"X\": {\"lbound\": 1, \"item\": []}"), 5, "Dibujos[2].X.item: campo desconocido"},
      {with("\"version\": 1", "\"version\": 2"), 5, "version: versión 2 no admitida; se lee la versión 1"},
      {with("\"version\": 1,", "\"version\": 1, \"kind\": \"t_Datos\","), 5, "kind: campo repetido"},
      {with("kestrel-records", "kestrel-recs"), 5, "format: se esperaba \"kestrel-records\""},
      {with("\"kind\": \"t_Datos\"", "\"kind\": \"t_Capa\""), 5,
       "kind: se esperaba \"t_Datos\" o \"t_Dibujo\" y hay \"t_Capa\""},
      {"{\"NuDibujos\": 0}", 5, "format: falta en el documento"},
      // Records whose counts, bounds or layers do not agree.
      {record([](t_Datos& s) { s.Dibujos[2].X.redim_preserve(4); }), 9,
       "Dibujos[2].X: 4 elementos (1..4), NuPun dice 5"},
      {record([](t_Datos& s) { s.Dibujos[1].Nutria = 0; }), 9, "Dibujos[1].B1: 1 elemento (1..1), Nutria dice 0"},
      {record([](t_Datos& s) { s.Dibujos[2].Nmb = {}; }), 9, "Dibujos[2].Nmb: sin dimensionar, NuPun dice 5"},
      {record([](t_Datos& s) { s.Dibujos[1].NuRotulos = -1; }), 9, "Dibujos[1].NuRotulos: número negativo (-1)"},
      {record([](t_Datos& s) { s.Dibujos[2].Capa[4] = 2; }), 9,
       "Dibujos[2].Capa[4]: la capa 2 no existe (nuCapas dice 1)"},
      {record([](t_Datos& s) { s.Dibujos[1].Capa[2] = -3; }), 9, "Dibujos[1].Capa[2]: la capa -3"},
      {record([](t_Datos& s) { s.Dibujos[1].poli[1].Vert = VbArray<std::int32_t>(1, 2); }), 9,
       "Dibujos[1].poli[1].Vert: límite inferior 1, debe ser 0"},
      {record([](t_Datos& s) { s.Dibujos[1].poli[1].NuVert = 3; }), 9,
       "Dibujos[1].poli[1].Vert: 3 elementos (0..2), NuVert dice 3"},
      {record([](t_Datos& s) { s.Dibujos[1].Z = VbArray<double>(2, 3); }), 9,
       "Dibujos[1].Z: límite inferior 2, debe ser 0 o 1"},
      {record([](t_Datos& s) { s.NuDibujos = 3; }), 9, "Dibujos: 2 elementos (1..2), NuDibujos dice 3"},
  };
}

// Text the writer never makes but JSON allows reads as the canonical text.
TEST(RecordFile, LooserTextReadsTheSame) {
  const t_Datos set = two_small_drawings();
  const std::string good = to_json(set);
  const std::string header = "\"format\": \"kestrel-records\",\n  \"version\": 1,\n  \"kind\": \"t_Datos\",";
  const std::string variants[] = {
      "\xEF\xBB\xBF" + good,  // a byte order mark
      replaced(replaced(good, header, ""), "\n}\n", ",\n" + header.substr(0, header.size() - 1) + "}"),  // header last
      replaced(good, "\"NuPun\": 5", "\"\\u004EuPun\": 5"),  // an escaped key
      replaced(good, "\"X\": [1001, 1002, 1003, 1004, 1005]",
               "\"X\": {\"items\": [1001, 1002, 1003, 1004, 1005], \"\\u006cbound\": 1}"),  // items first, key escaped
      replaced(good, "\"colTrilat\": 0,", ""),                                              // a field left out
  };
  for (const std::string& text : variants) {
    SCOPED_TRACE(text.substr(0, 200));
    EXPECT_EQ(std::get<t_Datos>(from_json(text)), set);
  }
}

TEST(RecordFile, BadOrCutTextOrRecordNamesTheFieldAndPosition) {
  for (const BadText& bad : bad_texts()) {
    SCOPED_TRACE(bad.description);
    const core::Error e = read_error(bad.text);
    EXPECT_EQ(e.number(), bad.number);
    EXPECT_NE(e.description().find(bad.description), std::string::npos) << e.description();
  }
  // Every truncation is reported as incomplete.
  const std::string text = survey_text();
  ASSERT_GT(text.size(), 1000u);
  for (std::size_t cut = 0; cut + 2 < text.size(); cut += text.size() / 97 + 1) {
    const core::Error e = read_error(std::string_view(text).substr(0, cut));
    EXPECT_EQ(e.number(), 5) << "cut at " << cut;
    EXPECT_EQ(e.description().rfind("JSON incompleto", 0), 0u) << e.description();
  }
}

TEST(RecordFile, FilesRoundTripAndMissingFilesFail) {
  const platform::TempFolder temp;
  const auto& folder = temp.path();
  const auto path = folder / "set.json";
  const t_Datos set = full_set();
  write_record_file(path, set);
  EXPECT_EQ(std::get<t_Datos>(read_record_file(path)), set);
  EXPECT_FALSE(std::filesystem::exists(folder / "set.json.tmp"));
  EXPECT_EQ(error_number([&] { (void)read_record_file(folder / "missing.json"); }), 53);
  // A file beyond the size limit is refused before it is read (a sparse file).
  const auto huge = folder / "huge.json";
  std::ofstream(huge).put('{');
  std::filesystem::resize_file(huge, (std::uintmax_t{1} << 31) + 1);
  const core::Error e = caught([&] { (void)read_record_file(huge); });
  EXPECT_EQ(e.number(), 5);
  EXPECT_EQ(e.description(), "JSON demasiado grande: 2147483649 bytes, más de 2147483648");
  EXPECT_EQ(error_number([&] { write_record_file(folder / "no-such-folder" / "x.json", set); }), 75);
}

}  // namespace
}  // namespace kestrel::model
