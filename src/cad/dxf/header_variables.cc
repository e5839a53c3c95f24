#include "cad/dxf/header_variables.h"

#include <algorithm>
#include <array>
#include <string>

namespace kestrel::dxf {

namespace {

using enum HeaderType;

// Sorted by name. $ACADVER, $DWGCODEPAGE, $HANDSEED, $EXTMIN/$EXTMAX and
// $LIMMIN/$LIMMAX are not here: the writer derives them from the drawing.
constexpr std::array kCatalogue = {
    HeaderVariable{"ANGBASE", 50, kReal},      HeaderVariable{"ANGDIR", 70, kInt16},
    HeaderVariable{"ATTMODE", 70, kInt16},     HeaderVariable{"AUNITS", 70, kInt16},
    HeaderVariable{"AUPREC", 70, kInt16},      HeaderVariable{"CECOLOR", 62, kColor},
    HeaderVariable{"CELTSCALE", 40, kReal},    HeaderVariable{"CELTYPE", 6, kText},
    HeaderVariable{"CELWEIGHT", 370, kInt16},  HeaderVariable{"CHAMFERA", 40, kReal},
    HeaderVariable{"CHAMFERB", 40, kReal},     HeaderVariable{"CHAMFERC", 40, kReal},
    HeaderVariable{"CHAMFERD", 40, kReal},     HeaderVariable{"CLAYER", 8, kText},
    HeaderVariable{"CMLJUST", 70, kInt16},     HeaderVariable{"CMLSCALE", 40, kReal},
    HeaderVariable{"DIMASZ", 40, kReal},       HeaderVariable{"DIMSCALE", 40, kReal},
    HeaderVariable{"DIMSTYLE", 2, kText},      HeaderVariable{"DIMTXT", 40, kReal},
    HeaderVariable{"ELEVATION", 40, kReal},    HeaderVariable{"FILLETRAD", 40, kReal},
    HeaderVariable{"FILLMODE", 70, kInt16},    HeaderVariable{"HYPERLINKBASE", 1, kText},
    HeaderVariable{"INSBASE", 10, kPoint3},    HeaderVariable{"INSUNITS", 70, kInt16},
    HeaderVariable{"LIMCHECK", 70, kInt16},    HeaderVariable{"LTSCALE", 40, kReal},
    HeaderVariable{"LUNITS", 70, kInt16},      HeaderVariable{"LUPREC", 70, kInt16},
    HeaderVariable{"LWDISPLAY", 290, kInt16},  HeaderVariable{"MEASUREMENT", 70, kInt16},
    HeaderVariable{"MIRRTEXT", 70, kInt16},    HeaderVariable{"ORTHOMODE", 70, kInt16},
    HeaderVariable{"PDMODE", 70, kInt16},      HeaderVariable{"PDSIZE", 40, kReal},
    HeaderVariable{"PELEVATION", 40, kReal},   HeaderVariable{"PLINEGEN", 70, kInt16},
    HeaderVariable{"PLINEWID", 40, kReal},     HeaderVariable{"PROJECTNAME", 1, kText},
    HeaderVariable{"PSLTSCALE", 70, kInt16},   HeaderVariable{"QTEXTMODE", 70, kInt16},
    HeaderVariable{"REGENMODE", 70, kInt16},   HeaderVariable{"SKETCHINC", 40, kReal},
    HeaderVariable{"SPLINESEGS", 70, kInt16},  HeaderVariable{"SPLINETYPE", 70, kInt16},
    HeaderVariable{"SURFTAB1", 70, kInt16},    HeaderVariable{"SURFTAB2", 70, kInt16},
    HeaderVariable{"TEXTSIZE", 40, kReal},     HeaderVariable{"TEXTSTYLE", 7, kText},
    HeaderVariable{"THICKNESS", 40, kReal},    HeaderVariable{"TILEMODE", 70, kInt16},
    HeaderVariable{"TRACEWID", 40, kReal},     HeaderVariable{"UCSORG", 10, kPoint3},
    HeaderVariable{"UNITMODE", 70, kInt16},    HeaderVariable{"USERI1", 70, kInt16},
    HeaderVariable{"USERI2", 70, kInt16},      HeaderVariable{"USERI3", 70, kInt16},
    HeaderVariable{"USERI4", 70, kInt16},      HeaderVariable{"USERI5", 70, kInt16},
    HeaderVariable{"USERR1", 40, kReal},       HeaderVariable{"USERR2", 40, kReal},
    HeaderVariable{"USERR3", 40, kReal},       HeaderVariable{"USERR4", 40, kReal},
    HeaderVariable{"USERR5", 40, kReal},       HeaderVariable{"WORLDVIEW", 70, kInt16},
};

constexpr bool sorted_by_name() {
  for (std::size_t i = 1; i < kCatalogue.size(); ++i) {
    if (!(kCatalogue[i - 1].name < kCatalogue[i].name)) return false;
  }
  return true;
}
static_assert(sorted_by_name(), "the catalogue is searched by halves");

}  // namespace

std::optional<HeaderVariable> find_header_variable(std::string_view name) noexcept {
  if (name.empty() || name.size() > 16) return std::nullopt;
  char upper[16];
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    upper[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  const std::string_view key(upper, name.size());
  const auto it = std::lower_bound(kCatalogue.begin(), kCatalogue.end(), key,
                                   [](const HeaderVariable& v, std::string_view k) { return v.name < k; });
  if (it == kCatalogue.end() || it->name != key) return std::nullopt;
  return *it;
}

}  // namespace kestrel::dxf
