// A CLI run of the engine over DXF drawings: the drawings are read, the
// embedded CAD is installed with them open (the last one active), and the
// bridge class is connected to it as the host would.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bridge/c_kestrel.h"
#include "cad/memcad/application.h"
#include "tools/kestrel/commands.h"
#include "tools/kestrel/host_progress_form.h"
#include "tools/kestrel/terminal_services.h"

namespace kestrel::cli {

// Reads one DXF drawing (warning on stderr about kinds that are not read).
// Throws std::runtime_error naming the input when it cannot be read.
[[nodiscard]] std::shared_ptr<memcad::Document> read_drawing(const std::filesystem::path& input);

class CadDocuments {
 public:
  CadDocuments(const CommonOptions& common, bool show_progress,
               std::vector<std::shared_ptr<memcad::Document>> drawings);
  CadDocuments(const CadDocuments&) = delete;
  CadDocuments& operator=(const CadDocuments&) = delete;

  // IniciaAutocad with `cad_label`; false (after a message) when no session came.
  bool connect(const std::string& cad_label);

  TerminalServices& terminal() noexcept { return terminal_; }
  Module& module() noexcept { return *module_; }
  bridge::c_Kestrel& kestrel() noexcept { return *kestrel_; }
  [[nodiscard]] const std::shared_ptr<memcad::Application>& application() const noexcept { return app_; }
  [[nodiscard]] core::Obj form() const { return core::Obj(form_); }
  // Starts and stops drawing the form's progress on the terminal.
  void watch_progress() { terminal_.pump().watch(&form_->bar(), &form_->status()); }
  void finish_progress() { terminal_.pump().finish(); }

 private:
  TerminalServices terminal_;
  std::vector<std::shared_ptr<memcad::Document>> drawings_;
  std::shared_ptr<memcad::Application> app_;
  std::unique_ptr<Module> module_;
  std::unique_ptr<bridge::c_Kestrel> kestrel_;
  std::shared_ptr<HostProgressForm> form_ = HostProgressForm::create();
};

}  // namespace kestrel::cli
