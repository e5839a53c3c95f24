// The raw record images: sizes, offsets of the fields the host and the
// server rely on, and round trips of the fixed part of every record.
#include "model/layout.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/error_number.h"
#include "model/little_endian.h"
#include "model/record_ops.h"
#include "model/sample_records.h"

namespace kestrel::model {
namespace {

using testing::counting_bytes;
using testing::full_drawing;
using core::testing_support::error_number;

template <class T>
T value_at(std::span<const std::byte> image, std::size_t offset) {
  return load_le<T>(image.subspan(offset));
}

// The fixed part: what survives an image round trip (references do not).
t_Dibujo fixed_part(t_Dibujo d) {
  d.Texto1 = d.Texto2 = d.Cabecera.text4 = d.Cabecera.text48 = "";
  d.Nmb = d.Cd = d.infor = {};
  d.X = d.Y = d.Z = {};
  d.Capa = {};
  d.B1 = d.B2 = d.B3 = {};
  d.poli = {};
  d.Rotulo = {};
  d.Capas1 = {};
  d.Curvado.Curvas = {};
  return d;
}

TEST(RecordImage, FieldsSitAtTheirOffsetsLittleEndianWithZeroPadding) {
  const t_Dibujo d = full_drawing(3);
  const auto image = to_image(d);
  const std::span<const std::byte> bytes(image);
  const std::pair<std::size_t, std::int32_t> longs[] = {
      {108, d.NuPun}, {140, d.Nutria}, {156, d.colTrilat}, {180, d.CapaActual}, {188, d.Curvado.NuCurvas}};
  for (const auto& [offset, value] : longs) EXPECT_EQ(value_at<std::int32_t>(bytes, offset), value) << offset;
  EXPECT_EQ(value_at<double>(bytes, 188 + 4), d.Curvado.Param1);
  EXPECT_EQ(value_at<std::int16_t>(bytes, 188 + 52), d.Curvado.Param9);
  EXPECT_EQ(value_at<double>(bytes, 376), d.Opciones.get(kFactor));
  const std::pair<std::size_t, std::byte> carried[] = {{248, d.Opciones.piece248[0]}, {635, d.Opciones.piece580[55]},
                                                       {8, d.Cabecera.bytes0[0]},     {16, d.Cabecera.bytes8[0]},
                                                       {107, d.Cabecera.bytes52[47]}, {639, d.Extra[3]}};
  for (const auto& [offset, value] : carried) EXPECT_EQ(bytes[offset], value) << offset;
  // Reference slots are left for the server: strings and arrays are zero.
  for (std::size_t slot : {0u, 4u, 12u, 56u, 112u, 116u, 136u, 144u, 164u, 172u, 184u, 188u + 56u}) {
    EXPECT_EQ(value_at<std::int32_t>(bytes, slot), 0) << "slot " << slot;
  }
  // Padding is zero and values are little-endian.
  const auto layer = to_image(t_Capa{"x", core::kTrue, 0x11223344, -2, counting_bytes<6>(0xA0)});
  EXPECT_EQ(value_at<std::int16_t>(layer, 4), -1);  // Encendida
  EXPECT_EQ(value_at<std::int16_t>(layer, 6), 0);   // padding
  EXPECT_EQ(layer[8], std::byte{0x44});              // low byte first
  EXPECT_EQ(layer[19], std::byte{0xA5});             // carried bytes 14..19
  t_Rotulo r;
  r.carried92 = counting_bytes<2>(0x92);
  r.DeCurva = 1;
  r.Yc = 2.5;
  const auto text = to_image(r);
  EXPECT_EQ(value_at<std::int16_t>(text, 94), 1);
  EXPECT_EQ(value_at<double>(text, 104), 2.5);
}

// The records a drawing holds (polylines, layers, contours, texts) round
// trip inside it; references do not survive.
TEST(RecordImage, FixedPartOfEveryRecordRoundTrips) {
  const t_Dibujo d = full_drawing(5);
  EXPECT_EQ(from_image<t_Dibujo>(to_image(d)), fixed_part(d));
  const t_Datos set{3, 2, {}};
  EXPECT_EQ(from_image<t_Datos>(to_image(set)), set);
  const t_Poli poli{4, {}, 0x123456, 7};
  EXPECT_EQ(from_image<t_Poli>(to_image(poli)), poli);
  const t_Capa capa{"", core::kFalse, 99, 12, counting_bytes<6>(1)};
  EXPECT_EQ(from_image<t_Capa>(to_image(capa)), capa);
  const t_Curva curva{5, {}, 0xABCDEF, 1};
  EXPECT_EQ(from_image<t_Curva>(to_image(curva)), curva);
  t_Rotulo rotulo = d.Rotulo[1];
  rotulo.Texto = rotulo.Estilo = rotulo.Texto3 = "";
  EXPECT_EQ(from_image<t_Rotulo>(to_image(rotulo)), rotulo);
}

TEST(RecordImage, NamedOptionsUseTheRecordOffsetsAndWrongOnesAreRefused) {
  const std::array<std::byte, 15> short_image{};
  EXPECT_EQ(error_number([&] { (void)from_image<t_Poli>(short_image); }), 5);
  Opciones o;
  const auto piece = counting_bytes<60>(1);
  copy_bytes(piece, o.piece460);
  EXPECT_EQ(o.get(kTrianglesPresent), 0x04030201);
  EXPECT_EQ(error_number([&] { copy_bytes(piece, o.piece580); }), 5);
  for (std::int32_t offset : {240, 382, 454, 636}) {  // before, across 384, across 456, after
    EXPECT_EQ(error_number([&] { (void)o.get(LongOption{offset}); }), 5) << offset;
  }
  // Named options use the record's offsets.
  o = {};
  const std::pair<DoubleOption, double> doubles[] = {{kFactor, 2.5}, {kXMax, -1.0}, {kOriginX, 1e6}};
  const std::pair<LongOption, std::int32_t> longs[] = {{kChkPtos, 1}, {kChkZ, 1}, {kChkPoli, -1},
                                                        {kTrianglesPresent, 7}, {kTriangulationColour, 0x00FF00},
                                                        {kTrianglesPresent2, -1}};
  for (const auto& [option, value] : doubles) o.set(option, value);
  for (const auto& [option, value] : longs) o.set(option, value);
  const auto image = to_image(o);  // offsets in the image are relative to 248
  const std::pair<std::size_t, double> at_double[] = {{376, 2.5}, {248, -1.0}, {332, 1e6}};
  for (const auto& [offset, value] : at_double) EXPECT_EQ(value_at<double>(image, offset - 248), value) << offset;
  const std::pair<std::size_t, std::int32_t> at_long[] = {{384, 1}, {448, 1}, {456, -1}, {460, 7}, {484, 0x00FF00},
                                                          {516, -1}};
  for (const auto& [offset, value] : at_long) EXPECT_EQ(value_at<std::int32_t>(image, offset - 248), value) << offset;
  EXPECT_TRUE(o.ticked(kChkPtos));
  EXPECT_FALSE(o.ticked(kChkPoli));  // a flag counts only when exactly one
  EXPECT_FALSE(o.ticked(kChkText));
  EXPECT_EQ(o.get(dialog_flag(16)), 1);  // ChkZ is flag 16
}

}  // namespace
}  // namespace kestrel::model
