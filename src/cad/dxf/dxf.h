// Loading and saving memcad drawings as DXF files.
//
// Saving writes AutoCAD R2000 (AC1015) ASCII DXF: header variables, the
// symbol tables, blocks, entities and the objects an R2000 reader expects.
// Loading reads ASCII DXF from R12 to R2018 into a new drawing. See
// docs/dxf-mapping.md for the mapping of each member to its group codes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <istream>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cad/memcad/document.h"
#include "core/byte_sink.h"

namespace kestrel::dxf {

// What a load met that the drawing does not hold as the file had it.
struct LoadReport {
  std::string acad_version;  // "$ACADVER" as found ("" without a header)
  // Entities of kinds memcad does not model, by DXF type ("SPLINE"): they are
  // in the drawing as unknown entities, countable and with their groups.
  std::map<std::string, std::size_t> unknown_entities;
  // Records and entities left out of the drawing, by DXF type, and why.
  std::map<std::string, std::size_t> skipped;
  // Everything else worth knowing, in Spanish, one line each (encoding
  // fallbacks, layouts read as plain blocks, OCS coordinates kept ...).
  std::vector<std::string> notes;
};

// What a save left out: unknown entities are not written (their groups may
// refer to objects this writer does not produce).
struct SaveReport {
  std::map<std::string, std::size_t> skipped;
};

// Loads a DXF file into a new standalone drawing named after the file.
// Raises core::Error 53 when the file does not exist, and an automation
// error naming the file and the line for a file that cannot be read
// (binary DXF, truncated, malformed groups, counts beyond the file ...).
[[nodiscard]] std::shared_ptr<memcad::Document> load_dxf(const std::filesystem::path& file,
                                                        LoadReport* report = nullptr);
// The same for DXF text already in memory; `name` stands for the file in messages.
[[nodiscard]] std::shared_ptr<memcad::Document> load_dxf_text(std::string_view text, std::string name,
                                                             LoadReport* report = nullptr);
// The same for DXF text read from a seekable stream, `window` bytes at a time
// (a window grows for a record that does not fit). The file is never held
// whole in memory; a second pass over the stream checks its encoding only
// when the file declares a code page and holds text that is not ASCII.
[[nodiscard]] std::shared_ptr<memcad::Document> load_dxf_stream(std::istream& in, std::string name,
                                                               LoadReport* report = nullptr,
                                                               std::size_t window = std::size_t{4} << 20);

// Saves `doc` as an R2000 DXF file through platform::SafeFileOutput: a
// failed save (core::Error naming the file) leaves an existing file as it
// was and no temporary file behind.
void save_dxf(const memcad::Document& doc, const std::filesystem::path& file, SaveReport* report = nullptr);
// Writes the same DXF text to `output` (the caller owns where it goes).
void save_dxf(const memcad::Document& doc, core::ByteSink& output, SaveReport* report = nullptr);
// The DXF text `save_dxf` writes.
[[nodiscard]] std::string save_dxf_text(const memcad::Document& doc, SaveReport* report = nullptr);

}  // namespace kestrel::dxf
