// The two ends every drawing-producing command shares: connecting the
// engine to the embedded CAD, and saving what the engine drew as DXF only
// when it reported no error.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "bridge/c_kestrel.h"
#include "cad/memcad/application.h"
#include "module/module.h"
#include "platform/automation_host.h"
#include "platform/posix/safe_output.h"

namespace kestrel::cli {

// Installs the embedded CAD under `label` in `host` and connects `kestrel`
// to it with IniciaAutocad, as the host does. Returns the CAD application,
// or nullptr (with a message on stderr) when no session could be opened.
[[nodiscard]] std::shared_ptr<memcad::Application> connect_embedded_cad(platform::InProcessAutomationHost& host,
                                                                        bridge::c_Kestrel& kestrel,
                                                                        const std::string& label);

// Exit codes of the drawing-producing commands.
inline constexpr int kExitWritten = 0;
inline constexpr int kExitBadInput = 1;
inline constexpr int kExitNoSession = 3;
inline constexpr int kExitEngineErrors = 5;
inline constexpr int kExitNotWritable = 6;

// Saves the active drawing of `cad` into `output` and commits it when
// `module` logged no error; `what` names the run in messages ("export",
// "profile"). Uncommitted, the output leaves its target as it was. Returns
// kExitWritten, kExitEngineErrors (nothing written) or kExitNotWritable.
[[nodiscard]] int save_drawing(const Module& module, const memcad::Application& cad,
                               platform::SafeFileOutput& output, std::string_view what, bool quiet);

}  // namespace kestrel::cli
