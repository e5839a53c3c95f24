#include <iostream>

#include "bridge/c_kestrel.h"
#include "tools/kestrel/cad_install.h"
#include "tools/kestrel/commands.h"
#include "tools/kestrel/terminal_services.h"

namespace kestrel::cli {

int run_session(const CommonOptions& common, const SessionOptions& options) {
  TerminalServices terminal(common.settings_file, false);
  install_memcad(terminal.automation(), options.cad_label);
  Module module(terminal.services());
  bridge::c_Kestrel kestrel(module);

  core::VbBool sigue = core::kFalse;
  std::string caption, version;
  kestrel.IniciaAutocad(sigue, options.cad_label, nullptr, &caption, &version);
  if (sigue == core::kFalse) {
    std::cerr << "kestrel: no CAD session could be opened for \"" << options.cad_label << "\"\n";
    return 2;
  }
  kestrel.Color_True();
  std::cout << "CAD:           " << caption << "\n"
            << "Version:       " << version << "\n"
            << "Family:        " << (module.cad.FamiliaCad.empty() ? "(not in the catalogue)" : module.cad.FamiliaCad)
            << "\n"
            << "Class:         " << kestrel.application_class() << "\n"
            << "Connected:     " << (kestrel.Mira() ? "yes" : "no") << "\n"
            << "Colour object: " << (kestrel.colour_object() ? "yes" : "no") << "\n"
            << "Status:        " << kestrel.aCad().labMandando.caption << "\n";
  return 0;
}

}  // namespace kestrel::cli
