#include "cad/catalogue.h"

#include <gtest/gtest.h>

namespace kestrel::cad {
namespace {

struct CatalogueRow {
  const char* label;
  const char* application_class;
  const char* family;  // nullptr: the family is left unchanged
  const char* colour_class;
};

constexpr CatalogueRow kRows[] = {
    {"ZWCAD Classic", "ZWCAD.Application", "ZWCad", "ZWCAD.ZcCmColor"},
    {"ZWCAD 2017(x32)", "ZWCAD.Application.2017", "ZWCad", "ZWCAD.ZcCmColor.2017"},
    {"ZWCAD 2017(x64)", "ZWCAD.Application.2017", "ZWCad", "ZWCAD.ZcCmColor.2017"},
    {"ZWCAD 2018(x32)", "ZWCAD.Application.2018", "ZWCad", "ZWCAD.ZcCmColor.2018"},
    {"ZWCAD 2018(x64)", "ZWCAD.Application.2018", "ZWCad", "ZWCAD.ZcCmColor.2018"},
    {"ZWCAD 2019(x32)", "ZWCAD.Application.2019", "ZWCad", "ZWCAD.ZcCmColor.2019"},
    {"ZWCAD 2019(x64)", "ZWCAD.Application.2019", "ZWCad", "ZWCAD.ZcCmColor.2019"},
    // The 32-bit 2020 label has no colour class of its own; it takes its 64-bit twin's.
    {"ZWCAD 2020(x32)", "ZWCAD.Application.2020", "ZWCad", "ZWCAD.ZcCmColor.2020"},
    {"ZWCAD 2020(x64)", "ZWCAD.Application.2020", "ZWCad", "ZWCAD.ZcCmColor.2020"},
    {"ZWCAD 2021(x64)", "ZWCAD.Application.2021", "ZWCad", "ZWCAD.ZcCmColor.2021"},
    {"AutoCad 2000-2(x32)", "AutoCAD.Application.15", "AutoCad", "AutoCAD.AcCmColor.15"},
    {"AutoCad 2004-6(x32)", "AutoCAD.Application.16", "AutoCad", "AutoCAD.AcCmColor.15"},
    {"AutoCad 2007-9(x32)", "AutoCAD.Application.17", "AutoCad", "AutoCAD.AcCmColor.17"},
    {"AutoCad 2007-9(x64)", "AutoCAD.Application.17", "AutoCad", "AutoCAD.AcCmColor.17"},
    {"AutoCad 2010-12(x32)", "AutoCAD.Application.18", "AutoCad", "AutoCAD.AcCmColor.18"},
    {"AutoCad 2010-12(x64)", "AutoCAD.Application.18", "AutoCad", "AutoCAD.AcCmColor.18"},
    {"AutoCad 2013-14(x32)", "AutoCAD.Application.19", "AutoCad", "AutoCAD.AcCmColor.19"},
    {"AutoCad 2013-14(x64)", "AutoCAD.Application.19", "AutoCad", "AutoCAD.AcCmColor.19"},
    {"AutoCad 2015-16(x32)", "AutoCAD.Application.20", "AutoCad", "AutoCAD.AcCmColor.20"},
    {"AutoCad 2015-16(x64)", "AutoCAD.Application.20", "AutoCad", "AutoCAD.AcCmColor.20"},
    {"AutoCad 2017(x32)", "AutoCAD.Application.21", "AutoCad", "AutoCAD.AcCmColor.21"},
    {"AutoCad 2017(x64)", "AutoCAD.Application.21", "AutoCad", "AutoCAD.AcCmColor.21"},
    {"AutoCad 2018(x32)", "AutoCAD.Application.22", "AutoCad", "AutoCAD.AcCmColor.22"},
    {"AutoCad 2018(x64)", "AutoCAD.Application.22", "AutoCad", "AutoCAD.AcCmColor.22"},
    {"AutoCad 2018(x64)v2", "AutoCAD.Application", nullptr, "AutoCAD.AcCmColor.22"},
    {"AutoCad 2019(x64)", "AutoCAD.Application.23", "AutoCad", "AutoCAD.AcCmColor.23"},
    {"AutoCad 2020(x64)", "AutoCAD.Application.23", "AutoCad", "AutoCAD.AcCmColor.23"},
    {"AutoCad 2021(x64)", "AutoCAD.Application.24", "AutoCad", "AutoCAD.AcCmColor.24"},
    // Labels outside the catalogue: the first five characters decide.
    {"ZWCAD 2022(x64)", "ZWCAD.Application", nullptr, "ZWCAD.ZcCmColor"},
    {"ZWCADX", "ZWCAD.Application", nullptr, "ZWCAD.ZcCmColor"},
    {"zwcad 2021(x64)", "AutoCAD.Application", nullptr, "AutoCAD.AcCmColor"},  // case matters
    {"ZWCAD 2021(x64) ", "ZWCAD.Application", nullptr, "ZWCAD.ZcCmColor"},     // so do blanks
    {"AutoCad 2022(x64)", "AutoCAD.Application", nullptr, "AutoCAD.AcCmColor"},
    {"ZWCA", "AutoCAD.Application", nullptr, "AutoCAD.AcCmColor"},
    {"", "AutoCAD.Application", nullptr, "AutoCAD.AcCmColor"},
};

TEST(VersionCatalogue, EveryLabelGivesItsClassesAndFamily) {
  for (const CatalogueRow& row : kRows) {
    SCOPED_TRACE(row.label);
    const ApplicationEntry entry = application_for(row.label);
    EXPECT_EQ(entry.class_name, row.application_class);
    if (row.family) {
      ASSERT_TRUE(entry.family.has_value());
      EXPECT_EQ(*entry.family, row.family);
    } else {
      EXPECT_FALSE(entry.family.has_value());
    }
    EXPECT_EQ(colour_class_for(row.label), row.colour_class);
  }
}

}  // namespace
}  // namespace kestrel::cad
