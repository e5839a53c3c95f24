// The inputs of the text-style step: the font table (`fuentes_.txt`, style
// names mapped to font file names) and the fonts folder.
#pragma once

#include <cstdint>
#include <string>

#include "core/vb_array.h"
#include "module/module.h"

namespace kestrel::exporting {

// Entries 1..count of names and files (lists 0..500).
struct FontTable {
  std::int32_t count = 0;
  core::VbArray<std::string> names{0, 500};
  core::VbArray<std::string> files{0, 500};
};

// `Lee_Fuentes`: appends the records of the font table file to `table`.
// The file is the setting "fichero" of "Merivox Fuentes", else
// "fuentes_.txt" beside the program. One record a line: the style name
// (its last two characters dropped, the rest trimmed) and the font file
// name without ".TTF", comma-separated, each optionally in double quotes;
// blank lines are not records. A missing file, a first field shorter than
// two characters or a 501st record stop the reading with a logged error
// ("Lee:  Error nº  " …); the records read before it stay.
void Lee_Fuentes(Module& module, FontTable& table);

// `Dir_Win`: the fonts folder, the setting "carpeta" of "Merivox Fuentes"
// or else the system's (platform/fonts_folder.h), ending in one separator:
// "/" is added unless it already ends in a slash or a backslash.
[[nodiscard]] std::string Dir_Win(Module& module);

// The font file a new style called `style` takes: the table's file for that
// exact name (trimmed), else the style name itself, + ".TTF" in `folder`,
// found without regard to case; empty when there is no such file.
[[nodiscard]] std::string style_font_file(const FontTable& table, const std::string& folder, const std::string& style);

}  // namespace kestrel::exporting
