// Shared pieces of the DXF tests: a drawing with one entity of every kind
// and every table, and the external reader (python3-ezdxf) used as referee.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cad/memcad/document.h"
#include "platform/temp_folder.h"

namespace kestrel::dxf::test {

// Every entity kind the writer knows, every table, non-ASCII names
// (ñ, á, º), characters outside Windows-1252, true colours, a block with
// an attribute definition and a reference with attributes, paper space,
// and planar entities whose normal is not +Z.
[[nodiscard]] std::shared_ptr<memcad::Document> every_kind_drawing();

// The DXF type a CAD file holds for a memcad entity ("POLYLINE" for every
// heavy polyline kind; an unknown entity's own type).
[[nodiscard]] std::string_view dxf_type(const memcad::Entity& e);

// A fresh empty folder under the system temporary folder, removed by the destructor.
using TempFolder = platform::TempFolder;

// Runs a command line; its standard output, or nullopt when it fails.
[[nodiscard]] std::optional<std::string> run(const std::string& command);

// Debian's python with ezdxf importable, or a reason to skip.
[[nodiscard]] std::optional<std::string> ezdxf_missing();

}  // namespace kestrel::dxf::test
