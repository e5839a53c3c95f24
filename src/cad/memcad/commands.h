// The command line behind Document.SendCommand. Each carriage return (or
// line feed, or blank) is an Enter. The only command acted on is explode
// ("DESCOMP", "EXPLODE", with any "_", "." or "-" prefix), whose object
// selection takes windows given as two points ("-5000000,-5000000" then
// "+5000000,+5000000": a window when the second point lies to the right of
// the first, a crossing window otherwise) or "ALL"/"TODO", and ends with an
// empty Enter; it explodes the selected block references and polylines of
// model space. Everything else is ignored (the document logs every text).
#pragma once

#include <optional>
#include <string_view>

#include "cad/memcad/geometry.h"

namespace kestrel::memcad {

class Document;

// Runs the command line `text` on `doc`.
void run_command_line(Document& doc, std::string_view text);

// A point typed at a prompt: "x,y" or "x,y,z" with "." decimals; nullopt otherwise.
[[nodiscard]] std::optional<Vec3> parse_typed_point(std::string_view text);

}  // namespace kestrel::memcad
