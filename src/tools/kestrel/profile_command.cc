#include <iostream>
#include <memory>

#include "bridge/c_kestrel.h"
#include "cad/memcad/picker.h"
#include "tools/kestrel/cad_run.h"
#include "tools/kestrel/cli_files.h"
#include "tools/kestrel/profile_cli.h"
#include "tools/kestrel/profile_csv.h"
#include "tools/kestrel/terminal_services.h"

namespace kestrel::cli {

int run_profile(const CommonOptions& common, const ProfileOptions& options) {
  check_input(options.input);
  platform::SafeFileOutput output = open_output(options.output, options.input);
  Profile profile = parse_profile_csv(read_input(options.input), input_name(options.input));
  TerminalServices terminal(common.settings_file, false);
  Module module(terminal.services());
  bridge::c_Kestrel kestrel(module);
  const std::shared_ptr<memcad::Application> cad =
      connect_embedded_cad(terminal.automation(), kestrel, options.cad_label);
  if (!cad) return kExitNoSession;

  // The user's click on the insertion point, answered in advance.
  auto picker = std::make_shared<memcad::ScriptedPicker>();
  const std::array<double, 2> at = options.at.value_or(std::array<double, 2>{profile.Pk[1], profile.Ct[1]});
  picker->push_point({at[0], at[1], 0});
  cad->set_picker(picker);

  kestrel.Dibuja_perfil(profile.Ptos, profile.Pk, profile.Ct);
  return save_drawing(module, *cad, output, "profile", options.quiet);
}

}  // namespace kestrel::cli
