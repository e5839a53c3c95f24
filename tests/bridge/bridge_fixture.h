// A module on scripted services, with the in-memory CAD installed under a
// version label's class: the host's view of c_Kestrel.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bridge/c_kestrel.h"
#include "cad/catalogue.h"
#include "cad/memcad/memcad.h"
#include "module/settings_access.h"
#include "platform/automation_host.h"
#include "platform/settings.h"
#include "support/scripted_module.h"

namespace kestrel::bridge {

// A drawing named `name` of `points` points at the origin, named "<name>-<i>".
inline model::t_Dibujo points_drawing(const std::string& name, int points) {
  model::t_Dibujo d;
  d.Texto2 = name;
  d.NuPun = points;
  for (auto* a : {&d.X, &d.Y, &d.Z}) a->redim(1, points);
  for (auto* a : {&d.Nmb, &d.Cd, &d.infor}) a->redim(1, points);
  d.Capa.redim(1, points);
  for (int i = 1; i <= points; ++i) d.Nmb[i] = name + "-" + std::to_string(i);
  return d;
}

// The set of `drawings` as the host hands it over, drawing `current` selected.
inline model::t_Datos drawing_set(std::vector<model::t_Dibujo> drawings, int current) {
  model::t_Datos set;
  set.NuDibujos = static_cast<std::int32_t>(drawings.size());
  set.DibujoAct = current;
  set.Dibujos = core::VbArray<model::t_Dibujo>(1, std::move(drawings));
  return set;
}

class BridgeTest : public ::testing::Test, protected test_support::ScriptedModule {
 protected:
  static constexpr const char* kLabel = "ZWCAD 2021(x64)";

  // Installs the in-memory CAD under the application class of `label`;
  // every application created is kept in `created`.
  void install_cad(const std::string& label = kLabel, memcad::ApplicationInfo info = {}) {
    host.install(cad::application_for(label).class_name, [this, info] {
      auto app = memcad::Application::create(info);
      created.push_back(app);
      return core::ObjectRef(app);
    });
  }

  // Connects as the host does; returns `sigue`.
  bool connect(const std::string& label = kLabel, bool silent = false) {
    core::VbBool sigue = core::kFalse;
    core::VbBool comprueba = core::to_vb_bool(silent);
    kestrel->IniciaAutocad(sigue, label, &comprueba);
    return sigue == core::kTrue;
  }

  [[nodiscard]] std::string error_setting(const std::string& key) {
    return read_setting(settings, "Errores", key, "<missing>");
  }
  // The texts of the message boxes shown so far.
  [[nodiscard]] std::vector<std::string> shown_texts() const {
    std::vector<std::string> texts;
    for (const auto& box : message_box.shown()) texts.push_back(box.text);
    return texts;
  }

  std::vector<std::shared_ptr<memcad::Application>> created;
  std::unique_ptr<c_Kestrel> kestrel = std::make_unique<c_Kestrel>(module);
};

// Connected to a started in-memory CAD, its drawing at hand.
class ConnectedTest : public BridgeTest {
 protected:
  void SetUp() override {
    install_cad();
    ASSERT_TRUE(connect());
  }
  memcad::Document& drawing() { return *created.back()->active_document(); }
};

}  // namespace kestrel::bridge
