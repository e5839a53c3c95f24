#include "export/color_true.h"

#include <string>

#include "cad/catalogue.h"
#include "core/trap.h"

namespace kestrel::exporting {

void Color_True(Module& module, ExportState& state) {
  state.Busy = core::kTrue;
  const std::string run_prefix = "1 - " + module.cad.VersionCad;
  try {
    const std::string colour_class = cad::colour_class_for(module.cad.VersionCad);
    state.ColorObject = module.cad.Aplicacion.call("GetInterfaceObject", colour_class).to_object();
    state.Busy = core::kFalse;
  } catch (...) {
    const core::Error e = core::current_error();
    module.error_log.log("Color_True en " + run_prefix + " - Error    nº " + core::number_text(e.number()) +
                             e.description() + " " + module.model.MsgVersion,
                         e.source());
  }
}

}  // namespace kestrel::exporting
