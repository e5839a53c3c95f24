// The scene every import test starts from: a module on scripted services
// bound to an in-memory CAD with one open drawing, the import state, and
// the host's progress form.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cad/memcad/memcad.h"
#include "import/entities.h"
#include "import/import_state.h"
#include "import/scripted_progress_form.h"
#include "support/scripted_module.h"

namespace kestrel::import_test {

class ImportTest : public ::testing::Test {
 protected:
  ImportTest() {
    const core::Obj application(app);
    module.cad.Aplicacion = application;
    module.cad.Documento = application.object("ActiveDocument");
    module.cad.EspacioModelo = module.cad.Documento.object("ModelSpace");
    module.cad.FamiliaCad = "ZWCad";
    state.NombreCad = "ZWCAD 2021";
  }

  memcad::Document& doc() { return *app->active_document(); }
  memcad::Block& space() { return doc().model_space(); }
  // Hands each model-space entity to ENTIDADES, as a walk does.
  void import_all(bool Blq = false) {
    for (const auto& entity : space().entities())
      importing::ENTIDADES(ctx, core::Variant(memcad::hand_out(*entity)), Blq);
  }
  [[nodiscard]] std::vector<std::string> messages() const {
    std::vector<std::string> texts;
    for (const auto& shown : scripted.message_box.shown()) texts.push_back(shown.text);
    return texts;
  }

  std::shared_ptr<memcad::Application> app = memcad::Application::create();
  test_support::ScriptedModule scripted;
  Module& module = scripted.module;
  model::DrawingModel& model = module.model;
  importing::ImportState state;
  importing::ImportContext ctx{module, state};
  std::shared_ptr<ScriptedProgressForm> form = std::make_shared<ScriptedProgressForm>();
};

}  // namespace kestrel::import_test
