#include "tools/kestrel/cad_documents.h"

#include <iostream>

#include "cad/dxf/dxf.h"
#include "tools/kestrel/cad_install.h"
#include "tools/kestrel/cli_files.h"

namespace kestrel::cli {

std::shared_ptr<memcad::Document> read_drawing(const std::filesystem::path& input) {
  check_input(input);
  dxf::LoadReport report;
  std::shared_ptr<memcad::Document> drawing;
  try {
    drawing = is_standard_stream(input) ? dxf::load_dxf_text(read_input(input), input_name(input), &report)
                                        : dxf::load_dxf(input, &report);
  } catch (const core::Error& e) {
    throw std::runtime_error(e.description());
  }
  if (!report.unknown_entities.empty()) {
    std::string kinds;
    for (const auto& [kind, count] : report.unknown_entities) {
      kinds += (kinds.empty() ? "" : ", ") + kind + " " + std::to_string(count);
    }
    std::cerr << "kestrel: " << input_name(input) << ": entities of kinds that are not read, left out (blocks included): "
              << kinds << "\n";
  }
  return drawing;
}

CadDocuments::CadDocuments(const CommonOptions& common, bool show_progress,
                           std::vector<std::shared_ptr<memcad::Document>> drawings)
    : terminal_(common.settings_file, show_progress), drawings_(std::move(drawings)) {
  terminal_.message_box().set_unattended_answer(platform::kYes);
}

bool CadDocuments::connect(const std::string& cad_label) {
  // The application the session creates opens the drawings read, in order,
  // in place of its own empty one.
  install_memcad(terminal_.automation(), cad_label, [this](const std::shared_ptr<memcad::Application>& app) {
    if (memcad::Document* empty = app->active_document()) app->close_document(*empty);
    for (const auto& drawing : drawings_) app->open_document(drawing);
    app_ = app;
  });
  module_ = std::make_unique<Module>(terminal_.services());
  kestrel_ = std::make_unique<bridge::c_Kestrel>(*module_);
  core::VbBool sigue = core::kFalse;
  kestrel_->IniciaAutocad(sigue, cad_label);
  if (sigue != core::kFalse && app_) return true;
  std::cerr << "kestrel: no CAD session could be opened for \"" << cad_label << "\"\n";
  return false;
}

}  // namespace kestrel::cli
