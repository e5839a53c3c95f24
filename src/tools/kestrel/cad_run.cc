#include "tools/kestrel/cad_run.h"

#include <iostream>

#include "cad/dxf/dxf.h"
#include "tools/kestrel/cad_install.h"

namespace kestrel::cli {

std::shared_ptr<memcad::Application> connect_embedded_cad(platform::InProcessAutomationHost& host,
                                                          bridge::c_Kestrel& kestrel, const std::string& label) {
  // The host keeps the factory after this returns: the holder is shared, not a local.
  auto created = std::make_shared<std::shared_ptr<memcad::Application>>();
  install_memcad(host, label, [created](const std::shared_ptr<memcad::Application>& app) { *created = app; });
  core::VbBool sigue = core::kFalse;
  kestrel.IniciaAutocad(sigue, label);
  std::shared_ptr<memcad::Application> cad = *created;
  if (sigue == core::kFalse || !cad) {
    std::cerr << "kestrel: no CAD session could be opened for \"" << label << "\"\n";
    return nullptr;
  }
  return cad;
}

int save_drawing(const Module& module, const memcad::Application& cad, platform::SafeFileOutput& output,
                 std::string_view what, bool quiet) {
  // Options that could not be saved in the settings file take nothing from
  // the drawing: they are reported, and the drawing is still written.
  const ErrorLog& log = module.error_log;
  if (const std::size_t errors = log.count() - log.failed_saves(); errors > 0) {
    std::cerr << "kestrel: the " << what << " reported " << errors << " error(s)"
              << (log.ran_out_of_memory() ? " and ran out of memory" : "") << "; " << output.target().string()
              << " was not written\n";
    return kExitEngineErrors;
  }
  try {
    dxf::save_dxf(*cad.active_document(), output);
    output.commit();
  } catch (const core::Error& e) {
    std::cerr << "kestrel: " << e.description() << "\n";
    return kExitNotWritable;
  }
  if (log.failed_saves() > 0) {
    std::cerr << "kestrel: warning: the options could not be saved in the settings file (see above); "
              << output.target().string() << " was written\n";
  }
  if (!quiet) std::cerr << "kestrel: wrote " << output.target().string() << "\n";
  return kExitWritten;
}

}  // namespace kestrel::cli
