#include "tools/kestrel/export_options.h"

#include <algorithm>

namespace kestrel::cli {

namespace {

void tick(exporting::f_Acad& dialog, const char* name, const std::optional<bool>& choice) {
  if (choice) dialog.set_value(name, *choice ? 1 : 0);
}

void apply_triangles(const std::string& mode, exporting::f_Acad& dialog) {
  if (mode == "none") {
    dialog.set_value("chkTria", 0);
    return;
  }
  dialog.set_value("chkTria", 1);
  const auto index = std::find(kTriangleModes.begin(), kTriangleModes.end(), mode) - kTriangleModes.begin() - 1;
  dialog.set_value("Option1(" + std::to_string(index) + ")", 1);
}

void apply_labels(const std::vector<std::string>& kinds, exporting::f_Acad& dialog) {
  auto wants = [&](const char* kind) { return std::find(kinds.begin(), kinds.end(), kind) != kinds.end(); };
  dialog.set_value("chkNo", wants("name"));
  dialog.set_value("ChkNu", wants("number"));
  dialog.set_value("chkCod", wants("code"));
  dialog.set_value("ChkX", wants("x"));
  dialog.set_value("ChkY", wants("y"));
  dialog.set_value("ChkZ", wants("z"));
}

}  // namespace

void apply_to_dialog(const ExportOptions& o, exporting::f_Acad& dialog) {
  tick(dialog, "chkPtos", o.points);
  tick(dialog, "chkPoli", o.polylines);
  if (o.hatches) dialog.set_value("chkSombrea", *o.hatches ? 0 : 1);
  tick(dialog, "chkCurv", o.contours);
  tick(dialog, "chkText", o.texts);
  tick(dialog, "chkBlo", o.blocks);
  if (o.triangles) apply_triangles(*o.triangles, dialog);
  if (o.three_d) dialog.set_value(*o.three_d ? "Op3D(1)" : "Op3D(0)", 1);
  if (o.z_exaggeration) dialog.set_text("Combo1", " x " + std::to_string(*o.z_exaggeration));
  if (o.layer_prefix) {
    dialog.set_value("chkCap", o.layer_prefix->empty() ? 0 : 1);
    dialog.set_text("txtCap", *o.layer_prefix);
  }
  if (o.skip_off_layers) dialog.set_value("Chk_Capas", 1);
  if (o.labels) apply_labels(*o.labels, dialog);
  if (o.decimals_x) dialog.set_text("TextX", std::to_string(*o.decimals_x));
  if (o.decimals_y) dialog.set_text("TextY", std::to_string(*o.decimals_y));
  if (o.decimals_z) dialog.set_text("TextZ", std::to_string(*o.decimals_z));
  if (o.label_height) dialog.set_text("txtAltura", *o.label_height);
  if (o.orientation) dialog.set_text("CmbOrient", *o.orientation == "vertical" ? "Vertical" : "Horizontal");
  tick(dialog, "ChkAtri", o.label_layers);
}

}  // namespace kestrel::cli
