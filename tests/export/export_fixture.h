// A module on scripted services with the in-memory CAD bound as the CAD
// session, a small drawing set to load, and the export context the
// generators run in. Results are read through memcad's typed API.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "cad/memcad/memcad.h"
#include "core/object.h"
#include "export/export_state.h"
#include "export/f_acad.h"
#include "export/surface_colours.h"
#include "model/loading.h"
#include "module/module.h"
#include "platform/automation_host.h"
#include "platform/settings.h"
#include "support/scripted_module.h"

namespace kestrel::exporting::testing {

struct LayerSpec {
  std::string name;
  bool on = true;
  std::int32_t colour = 0;  // packed 0xBBGGRR
};

struct PointSpec {
  std::string name;
  double x, y, z;
  std::string code{};
  std::int16_t layer = 1;
};

struct PolySpec {
  std::int32_t code;                   // shape code, Vert(0)
  std::vector<std::int32_t> vertices;  // point indices
  std::int32_t colour = 0;
  std::int32_t layer = 1;
};

// A stored drawing named `name` with these layers and points (arrays 1..n).
model::t_Dibujo drawing(const std::string& name, const std::vector<LayerSpec>& layers,
                        const std::vector<PointSpec>& points);

// `count` points on layer 1, point k at (k, 2k, 3k) named "P<k>" and coded "C".
std::vector<PointSpec> numbered_points(std::int32_t count);

// Polyline records naming the loaded points by index.
void set_polylines(model::DrawingModel& m, const std::vector<PolySpec>& specs);

// A failure injected into the CAD at the `call`-th use of `member`: the
// message the run shows and the item count the model keeps afterwards.
struct InjectedError {
  const char* member;
  int call;
  std::int32_t number;
  std::string message;
  std::int32_t count_left;
};

// Sets the Abort flag of the model when a key arrives, as the dialog does
// once the user has confirmed the abort question.
class CancelOnKey final : public platform::KeyTarget {
 public:
  explicit CancelOnKey(model::DrawingModel& model) : model_(model) {}
  void key_press(int) override { model_.Cancelar = core::kTrue; }

 private:
  model::DrawingModel& model_;
};

class ExportTest : public ::testing::Test, protected test_support::ScriptedModule {
 protected:
  ExportTest();

  // Loads the set as `Mete` does, drawing `current` selected.
  void load(std::vector<model::t_Dibujo> drawings, std::int32_t current = 1);

  [[nodiscard]] memcad::Document& document() const { return *app->active_document(); }
  [[nodiscard]] const memcad::Layer* layer(const std::string& name) const { return document().layers().find(name); }
  // The entities of model space of one type, in drawing order.
  template <class E>
  [[nodiscard]] std::vector<const E*> entities() const {
    std::vector<const E*> found;
    for (const auto& e : document().model_space().entities()) {
      if (const auto* typed = dynamic_cast<const E*>(e.get())) found.push_back(typed);
    }
    return found;
  }
  [[nodiscard]] std::vector<const memcad::Point*> points() const { return entities<memcad::Point>(); }
  [[nodiscard]] std::vector<const memcad::Text*> texts() const { return entities<memcad::Text>(); }
  [[nodiscard]] std::size_t drawn() const { return document().model_space().entities().size(); }
  // The texts of the message boxes shown so far.
  [[nodiscard]] std::vector<std::string> messages() const;

  std::shared_ptr<memcad::Application> app = memcad::Application::create();
  f_Acad dialog{module, nullptr};
  ExportState state;
  ExportContext ctx{module, dialog, state};
};

// A triangulated surface: triangles numbered from 0, as the host numbers them.
class SurfaceTest : public ExportTest {
 protected:
  // Triangles t = 0..n-1 (NumTriangulos = n - 1), each naming point indices.
  void set_triangles(const std::vector<std::array<std::int32_t, 3>>& triangles);
  // `count` copies of the triangle on points 1, 2, 3.
  void same_triangles(std::int32_t count) {
    set_triangles(std::vector<std::array<std::int32_t, 3>>(static_cast<std::size_t>(count), {1, 2, 3}));
  }

  SurfaceColours surface;
};

}  // namespace kestrel::exporting::testing
