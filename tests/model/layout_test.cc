// The raw record images: sizes, offsets of the fields the host and the
// server rely on, and round trips of the fixed part of every record.
#include "model/layout.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "model/little_endian.h"
#include "model/record_ops.h"
#include "model/sample_records.h"

namespace kestrel::model {
namespace {

using testing::counting_bytes;
using testing::full_drawing;

template <class T>
T value_at(std::span<const std::byte> image, std::size_t offset) {
  return load_le<T>(image.subspan(offset));
}

// The fixed part: what survives an image round trip (references do not).
t_Dibujo fixed_part(t_Dibujo d) {
  d.Texto1.clear();
  d.Texto2.clear();
  d.Cabecera.text4.clear();
  d.Cabecera.text48.clear();
  d.Nmb = {};
  d.X = {};
  d.Y = {};
  d.Z = {};
  d.Cd = {};
  d.infor = {};
  d.Capa = {};
  d.B1 = d.B2 = d.B3 = {};
  d.poli = {};
  d.Rotulo = {};
  d.Capas1 = {};
  d.Curvado.Curvas = {};
  return d;
}

TEST(RecordImage, SizesAreTheHostLayout) {
  EXPECT_EQ(Image<t_Dibujo>{}.size(), 640u);
  EXPECT_EQ(Image<t_Datos>{}.size(), 12u);
  EXPECT_EQ(Image<t_Poli>{}.size(), 16u);
  EXPECT_EQ(Image<t_Capa>{}.size(), 20u);
  EXPECT_EQ(Image<t_Curvado>{}.size(), 60u);
  EXPECT_EQ(Image<t_Curva>{}.size(), 16u);
  EXPECT_EQ(Image<t_Rotulo>{}.size(), 112u);
  EXPECT_EQ(Image<Cabecera>{}.size(), 100u);
  EXPECT_EQ(Image<Opciones>{}.size(), 388u);
}

TEST(RecordImage, DrawingFieldsSitAtTheirOffsets) {
  const t_Dibujo d = full_drawing(3);
  const auto image = to_image(d);
  const std::span<const std::byte> bytes(image);
  EXPECT_EQ(value_at<std::int32_t>(bytes, 108), d.NuPun);
  EXPECT_EQ(value_at<std::int32_t>(bytes, 140), d.Nutria);
  EXPECT_EQ(value_at<std::int32_t>(bytes, 156), d.colTrilat);
  EXPECT_EQ(value_at<std::int32_t>(bytes, 180), d.CapaActual);
  EXPECT_EQ(value_at<std::int32_t>(bytes, 188), d.Curvado.NuCurvas);  // Curvado starts at 188
  EXPECT_EQ(value_at<double>(bytes, 188 + 4), d.Curvado.Param1);
  EXPECT_EQ(value_at<std::int16_t>(bytes, 188 + 52), d.Curvado.Param9);
  EXPECT_EQ(value_at<double>(bytes, 376), d.Opciones.get(kFactor));
  EXPECT_EQ(bytes[248], d.Opciones.piece248[0]);
  EXPECT_EQ(bytes[635], d.Opciones.piece580[55]);
  EXPECT_EQ(bytes[8], d.Cabecera.bytes0[0]);  // Cabecera at 8
  EXPECT_EQ(bytes[8 + 8], d.Cabecera.bytes8[0]);
  EXPECT_EQ(bytes[8 + 99], d.Cabecera.bytes52[47]);
  EXPECT_EQ(bytes[636], d.Extra[0]);
  EXPECT_EQ(bytes[639], d.Extra[3]);
  // Reference slots are left for the server: strings and arrays are zero.
  for (std::size_t slot : {0u, 4u, 12u, 56u, 112u, 116u, 136u, 144u, 164u, 172u, 184u, 188u + 56u}) {
    EXPECT_EQ(value_at<std::int32_t>(bytes, slot), 0) << "slot " << slot;
  }
}

TEST(RecordImage, PaddingIsZeroAndValuesAreLittleEndian) {
  t_Capa capa{"x", core::kTrue, 0x11223344, -2, counting_bytes<6>(0xA0)};
  const auto image = to_image(capa);
  EXPECT_EQ(image[4], std::byte{0xFF});  // Encendida -1
  EXPECT_EQ(image[5], std::byte{0xFF});
  EXPECT_EQ(image[6], std::byte{0});  // padding
  EXPECT_EQ(image[7], std::byte{0});
  EXPECT_EQ(image[8], std::byte{0x44});  // low byte first
  EXPECT_EQ(image[11], std::byte{0x11});
  EXPECT_EQ(image[14], std::byte{0xA0});  // carried bytes 14..19
  EXPECT_EQ(image[19], std::byte{0xA5});

  t_Rotulo r;
  r.CapaR = 3;
  r.carried92 = counting_bytes<2>(0x92);
  r.DeCurva = 1;
  r.Yc = 2.5;
  const auto text = to_image(r);
  EXPECT_EQ(value_at<std::int16_t>(text, 4), 3);
  EXPECT_EQ(text[92], std::byte{0x92});
  EXPECT_EQ(value_at<std::int16_t>(text, 94), 1);
  EXPECT_EQ(value_at<double>(text, 104), 2.5);
}

TEST(RecordImage, FixedPartOfEveryRecordRoundTrips) {
  const t_Dibujo d = full_drawing(5);
  EXPECT_EQ(from_image<t_Dibujo>(to_image(d)), fixed_part(d));

  t_Datos set{3, 2, {}};
  EXPECT_EQ(from_image<t_Datos>(to_image(set)), set);

  t_Poli poli{4, {}, 0x123456, 7};
  EXPECT_EQ(from_image<t_Poli>(to_image(poli)), poli);

  t_Capa capa{"", core::kFalse, 99, 12, counting_bytes<6>(1)};
  EXPECT_EQ(from_image<t_Capa>(to_image(capa)), capa);

  t_Curva curva{5, {}, 0xABCDEF, 1};
  EXPECT_EQ(from_image<t_Curva>(to_image(curva)), curva);

  t_Curvado curvado = d.Curvado;
  curvado.Curvas = {};
  EXPECT_EQ(from_image<t_Curvado>(to_image(curvado)), curvado);

  t_Rotulo rotulo = d.Rotulo[1];
  rotulo.Texto.clear();
  rotulo.Estilo.clear();
  rotulo.Texto3.clear();
  EXPECT_EQ(from_image<t_Rotulo>(to_image(rotulo)), rotulo);

  Cabecera cabecera{counting_bytes<4>(3), "", counting_bytes<40>(9), "", counting_bytes<48>(77)};
  EXPECT_EQ(from_image<Cabecera>(to_image(cabecera)), cabecera);

  EXPECT_EQ(from_image<Opciones>(to_image(d.Opciones)), d.Opciones);
}

TEST(RecordImage, ReadingDropsReferences) {
  const t_Dibujo back = from_image<t_Dibujo>(to_image(full_drawing(1)));
  EXPECT_TRUE(back.Texto1.empty());
  EXPECT_FALSE(back.X.allocated());
  EXPECT_FALSE(back.Curvado.Curvas.allocated());
}

TEST(RecordImage, WrongImageSizeIsRefused) {
  const std::array<std::byte, 15> short_image{};
  try {
    (void)from_image<t_Poli>(short_image);
    FAIL() << "expected error 5";
  } catch (const core::Error& e) {
    EXPECT_EQ(e.number(), 5);
  }
}

TEST(RecordOps, ByteBlocksCopyOnlyBetweenEqualSizes) {
  Opciones o;
  const auto piece = counting_bytes<60>(1);
  copy_bytes(piece, o.piece460);
  EXPECT_EQ(o.get(kTrianglesPresent), 0x04030201);
  try {
    copy_bytes(piece, o.piece580);
    ADD_FAILURE() << "expected error 5";
  } catch (const core::Error& e) {
    EXPECT_EQ(e.number(), 5);
  }
}

TEST(Options, NamedValuesUseTheRecordOffsets) {
  Opciones o;
  o.set(kFactor, 2.5);
  o.set(kXMax, -1.0);
  o.set(kOriginX, 1e6);
  o.set(kChkPtos, 1);
  o.set(kChkZ, 1);
  o.set(kChkPoli, 1);
  o.set(kTrianglesPresent, 7);
  o.set(kTriangulationColour, 0x00FF00);
  o.set(kTrianglesPresent2, -1);
  const auto image = to_image(o);  // offsets in the image are relative to 248
  EXPECT_EQ(value_at<double>(image, 376 - 248), 2.5);
  EXPECT_EQ(value_at<double>(image, 0), -1.0);
  EXPECT_EQ(value_at<double>(image, 332 - 248), 1e6);
  EXPECT_EQ(value_at<std::int32_t>(image, 384 - 248), 1);
  EXPECT_EQ(value_at<std::int32_t>(image, 448 - 248), 1);
  EXPECT_EQ(value_at<std::int32_t>(image, 456 - 248), 1);
  EXPECT_EQ(value_at<std::int32_t>(image, 460 - 248), 7);
  EXPECT_EQ(value_at<std::int32_t>(image, 484 - 248), 0x00FF00);
  EXPECT_EQ(value_at<std::int32_t>(image, 516 - 248), -1);
  EXPECT_TRUE(o.ticked(kChkPtos));
  EXPECT_FALSE(o.ticked(kChkText));
  EXPECT_EQ(o.get(dialog_flag(16)), 1);  // ChkZ is flag 16
}

TEST(Options, FlagCountsOnlyWhenExactlyOne) {
  Opciones o;
  o.set(kChkCod, -1);
  EXPECT_FALSE(o.ticked(kChkCod));
  o.set(kChkCod, 1);
  EXPECT_TRUE(o.ticked(kChkCod));
}

TEST(Options, OffsetsOutsideOnePieceAreRefused) {
  Opciones o;
  for (std::int32_t offset : {240, 382, 454, 636}) {  // before, across 384, across 456, after
    try {
      (void)o.get(LongOption{offset});
      ADD_FAILURE() << "offset " << offset;
    } catch (const core::Error& e) {
      EXPECT_EQ(e.number(), 5);
    }
  }
}

}  // namespace
}  // namespace kestrel::model
