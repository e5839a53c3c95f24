#include "cad/catalogue.h"

#include <gtest/gtest.h>

namespace kestrel::cad {
namespace {

// A label of the catalogue, the one whose colour class is another version's,
// and the rule for labels outside it (the first five characters decide).
struct CatalogueRow {
  const char* label;
  const char* application_class;
  const char* family;  // nullptr: the family is left unchanged
  const char* colour_class;
};

constexpr CatalogueRow kRows[] = {
    {"ZWCAD 2020(x32)", "ZWCAD.Application.2020", "ZWCad", "ZWCAD.ZcCmColor.2020"},
    {"AutoCad 2004-6(x32)", "AutoCAD.Application.16", "AutoCad", "AutoCAD.AcCmColor.15"},  // the 2000 colour class
    {"AutoCad 2018(x64)v2", "AutoCAD.Application", nullptr, "AutoCAD.AcCmColor.22"},  // connects as unknown
    {"ZWCAD 2022(x64)", "ZWCAD.Application", nullptr, "ZWCAD.ZcCmColor"},
    {"zwcad 2021(x64)", "AutoCAD.Application", nullptr, "AutoCAD.AcCmColor"},  // case matters
    {"ZWCAD 2021(x64) ", "ZWCAD.Application", nullptr, "ZWCAD.ZcCmColor"},     // so do blanks
    {"ZWCA", "AutoCAD.Application", nullptr, "AutoCAD.AcCmColor"},
    {"", "AutoCAD.Application", nullptr, "AutoCAD.AcCmColor"},
};

TEST(VersionCatalogue, LabelsGiveTheirClassesAndFamily) {
  for (const CatalogueRow& row : kRows) {
    SCOPED_TRACE(row.label);
    const ApplicationEntry entry = application_for(row.label);
    EXPECT_EQ(entry.class_name, row.application_class);
    EXPECT_EQ(entry.family.value_or("<unchanged>"), row.family ? row.family : "<unchanged>");
    EXPECT_EQ(colour_class_for(row.label), row.colour_class);
  }
}

}  // namespace
}  // namespace kestrel::cad
