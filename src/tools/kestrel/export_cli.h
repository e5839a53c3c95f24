// The `export` subcommand's command line.
#pragma once

#include <CLI/CLI.hpp>

#include "tools/kestrel/export_options.h"

namespace kestrel::cli {

// Declares `kestrel export` and its options on `app`, filling `options`.
CLI::App* add_export_command(CLI::App& app, ExportOptions& options);

}  // namespace kestrel::cli
