// Module: the state shared by every c_Kestrel of one process — the drawing
// model, the CAD session and the platform services — and the error log all
// trapped errors go to. The process-wide default module serves the
// automation server; tests and the CLI build their own.
#pragma once

#include "cad/session.h"
#include "model/drawing_model.h"
#include "module/error_log.h"
#include "module/services.h"

namespace kestrel {

class Module {
 public:
  explicit Module(Services services)
      : services(services), error_log(services.message_box, services.settings, model.Cancelar) {}
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  Services services;
  model::DrawingModel model;
  cad::CadSession cad;
  // After the model: an out-of-memory error sets the model's Cancelar.
  ErrorLog error_log;
};

}  // namespace kestrel
