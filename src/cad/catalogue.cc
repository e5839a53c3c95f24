#include "cad/catalogue.h"

namespace kestrel::cad {

namespace {

struct Row {
  std::string_view label;
  std::string_view application_class;  // empty: as for a label outside the catalogue
  std::string_view family;             // empty: unchanged
  std::string_view colour_class;
};

// One row per label; the application and colour lookups differ only where
// the rows say so ("AutoCad 2004-6(x32)" keeps the 2000 colour class,
// "AutoCad 2018(x64)v2" connects as an unknown label).
constexpr Row kRows[] = {
    {"ZWCAD Classic", "ZWCAD.Application", kFamilyZwcad, "ZWCAD.ZcCmColor"},
    {"ZWCAD 2017(x32)", "ZWCAD.Application.2017", kFamilyZwcad, "ZWCAD.ZcCmColor.2017"},
    {"ZWCAD 2017(x64)", "ZWCAD.Application.2017", kFamilyZwcad, "ZWCAD.ZcCmColor.2017"},
    {"ZWCAD 2018(x32)", "ZWCAD.Application.2018", kFamilyZwcad, "ZWCAD.ZcCmColor.2018"},
    {"ZWCAD 2018(x64)", "ZWCAD.Application.2018", kFamilyZwcad, "ZWCAD.ZcCmColor.2018"},
    {"ZWCAD 2019(x32)", "ZWCAD.Application.2019", kFamilyZwcad, "ZWCAD.ZcCmColor.2019"},
    {"ZWCAD 2019(x64)", "ZWCAD.Application.2019", kFamilyZwcad, "ZWCAD.ZcCmColor.2019"},
    {"ZWCAD 2020(x32)", "ZWCAD.Application.2020", kFamilyZwcad, "ZWCAD.ZcCmColor.2020"},
    {"ZWCAD 2020(x64)", "ZWCAD.Application.2020", kFamilyZwcad, "ZWCAD.ZcCmColor.2020"},
    {"ZWCAD 2021(x64)", "ZWCAD.Application.2021", kFamilyZwcad, "ZWCAD.ZcCmColor.2021"},
    {"AutoCad 2000-2(x32)", "AutoCAD.Application.15", kFamilyAutocad, "AutoCAD.AcCmColor.15"},
    {"AutoCad 2004-6(x32)", "AutoCAD.Application.16", kFamilyAutocad, "AutoCAD.AcCmColor.15"},
    {"AutoCad 2007-9(x32)", "AutoCAD.Application.17", kFamilyAutocad, "AutoCAD.AcCmColor.17"},
    {"AutoCad 2007-9(x64)", "AutoCAD.Application.17", kFamilyAutocad, "AutoCAD.AcCmColor.17"},
    {"AutoCad 2010-12(x32)", "AutoCAD.Application.18", kFamilyAutocad, "AutoCAD.AcCmColor.18"},
    {"AutoCad 2010-12(x64)", "AutoCAD.Application.18", kFamilyAutocad, "AutoCAD.AcCmColor.18"},
    {"AutoCad 2013-14(x32)", "AutoCAD.Application.19", kFamilyAutocad, "AutoCAD.AcCmColor.19"},
    {"AutoCad 2013-14(x64)", "AutoCAD.Application.19", kFamilyAutocad, "AutoCAD.AcCmColor.19"},
    {"AutoCad 2015-16(x32)", "AutoCAD.Application.20", kFamilyAutocad, "AutoCAD.AcCmColor.20"},
    {"AutoCad 2015-16(x64)", "AutoCAD.Application.20", kFamilyAutocad, "AutoCAD.AcCmColor.20"},
    {"AutoCad 2017(x32)", "AutoCAD.Application.21", kFamilyAutocad, "AutoCAD.AcCmColor.21"},
    {"AutoCad 2017(x64)", "AutoCAD.Application.21", kFamilyAutocad, "AutoCAD.AcCmColor.21"},
    {"AutoCad 2018(x32)", "AutoCAD.Application.22", kFamilyAutocad, "AutoCAD.AcCmColor.22"},
    {"AutoCad 2018(x64)", "AutoCAD.Application.22", kFamilyAutocad, "AutoCAD.AcCmColor.22"},
    {"AutoCad 2018(x64)v2", "", "", "AutoCAD.AcCmColor.22"},
    {"AutoCad 2019(x64)", "AutoCAD.Application.23", kFamilyAutocad, "AutoCAD.AcCmColor.23"},
    {"AutoCad 2020(x64)", "AutoCAD.Application.23", kFamilyAutocad, "AutoCAD.AcCmColor.23"},
    {"AutoCad 2021(x64)", "AutoCAD.Application.24", kFamilyAutocad, "AutoCAD.AcCmColor.24"},
};

const Row* find(std::string_view label) {
  if (label.empty()) return nullptr;
  for (const Row& row : kRows) {
    if (row.label == label) return &row;
  }
  return nullptr;
}

bool starts_with_zwcad(std::string_view label) { return label.substr(0, 5) == "ZWCAD"; }

}  // namespace

ApplicationEntry application_for(std::string_view label) {
  const Row* row = find(label);
  if (row && !row->application_class.empty()) {
    return {std::string(row->application_class), std::string(row->family)};
  }
  return {starts_with_zwcad(label) ? "ZWCAD.Application" : "AutoCAD.Application", std::nullopt};
}

std::string colour_class_for(std::string_view label) {
  if (const Row* row = find(label)) return std::string(row->colour_class);
  return starts_with_zwcad(label) ? "ZWCAD.ZcCmColor" : "AutoCAD.AcCmColor";
}

}  // namespace kestrel::cad
