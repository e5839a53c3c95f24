#include "platform/posix/font_text_measure.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_ADVANCES_H

#include <cmath>
#include <cstdlib>

#include "core/cp1252.h"
#include "core/error.h"
#include "core/numeric.h"
#include "core/utf8.h"

namespace kestrel::platform {

namespace {

[[noreturn]] void no_face(std::string_view name, std::string_view why) {
  throw core::Error(core::kFileNotFound, core::kRuntimeSource,
                    "No se encuentra la fuente " + std::string(name) + ": " + std::string(why));
}

// Opens a face for the time it takes to read its metrics.
class OpenFace {
 public:
  OpenFace(FT_Library library, const std::string& file, int index, std::string_view name) {
    if (FT_New_Face(library, file.c_str(), index, &face_) != 0) no_face(name, file);
  }
  ~OpenFace() { FT_Done_Face(face_); }
  OpenFace(const OpenFace&) = delete;
  OpenFace& operator=(const OpenFace&) = delete;
  [[nodiscard]] FT_Face get() const noexcept { return face_; }

 private:
  FT_Face face_ = nullptr;
};

// The height a positive logical font height stands for: the Windows ascent
// plus descent of the OS/2 table, the hhea figures when the face has none.
double cell_height(FT_Face face) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    return static_cast<double>(os2->usWinAscent) + os2->usWinDescent;
  }
  return static_cast<double>(face->ascender) - face->descender;
}

// Advances in font units by Windows-1252 byte; a character the face lacks
// takes the advance of its missing-glyph box (glyph 0), as drawn.
std::array<double, 256> advances(FT_Face face) {
  std::array<double, 256> out{};
  for (unsigned byte = 0; byte < 256; ++byte) {
    const FT_UInt glyph = FT_Get_Char_Index(face, core::cp1252_char(static_cast<std::uint8_t>(byte)));
    FT_Fixed advance = 0;
    if (FT_Get_Advance(face, glyph, FT_LOAD_NO_SCALE, &advance) == 0) out[byte] = static_cast<double>(advance);
  }
  return out;
}

}  // namespace

struct FontTextMeasure::Library {
  Library() {
    if (FT_Init_FreeType(&freetype) != 0) no_face("FreeType", "no se inicia");
    config = FcInitLoadConfigAndFonts();
  }
  ~Library() {
    if (config != nullptr) FcConfigDestroy(config);
    FT_Done_FreeType(freetype);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // The file and face index fontconfig matches for family `name`.
  std::pair<std::string, int> match(std::string_view name) const {
    if (config == nullptr) no_face(name, "fontconfig no tiene configuración");
    FcPattern* pattern = FcPatternCreate();
    const std::string family(name);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    std::pair<std::string, int> out{std::string(), 0};
    FcChar8* file = nullptr;
    if (found != nullptr && FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch) {
      out.first = reinterpret_cast<const char*>(file);
      FcPatternGetInteger(found, FC_INDEX, 0, &out.second);
    }
    if (found != nullptr) FcPatternDestroy(found);
    if (out.first.empty()) no_face(name, "ninguna fuente");
    return out;
  }

  FT_Library freetype = nullptr;
  FcConfig* config = nullptr;
};

FontTextMeasure::FontTextMeasure() = default;
FontTextMeasure::~FontTextMeasure() = default;

const FaceMetrics& FontTextMeasure::face(std::string_view name) {
  if (last_face_ != nullptr && name == last_name_) return *last_face_;
  auto it = faces_.find(std::string(name));
  if (it == faces_.end()) {
    // Font machinery starts on the first face asked for, not before.
    if (!library_) library_ = std::make_unique<Library>();
    const auto [file, index] = library_->match(name);
    const OpenFace open(library_->freetype, file, index, name);
    FaceMetrics metrics{file, static_cast<double>(open.get()->units_per_EM), cell_height(open.get()),
                        advances(open.get())};
    if (metrics.units_per_em <= 0 || metrics.cell_height <= 0) no_face(name, file + " sin métricas");
    it = faces_.emplace(std::string(name), std::move(metrics)).first;
  }
  last_name_.assign(name);
  last_face_ = &it->second;
  return *last_face_;
}

double FontTextMeasure::width(std::string_view text, double size, std::string_view face_name) {
  // A positive font height is the cell height, a negative one the em.
  const std::int32_t height = core::clng(size * 1.6 / 0.01);
  if (height == 0 || text.empty()) return 0;
  const FaceMetrics& f = face(face_name);
  const double em = height > 0 ? height * f.units_per_em / f.cell_height : -static_cast<double>(height);
  const double scale = em / f.units_per_em;
  double units = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const core::Utf8Char c = core::decode_char(text, pos);
    pos += c.size;
    const std::uint8_t byte = core::cp1252_byte(c.code).value_or(static_cast<std::uint8_t>('?'));
    units += std::nearbyint(f.advance[byte] * scale);
  }
  return units * 0.01;
}

}  // namespace kestrel::platform
