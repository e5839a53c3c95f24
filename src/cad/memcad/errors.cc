#include "cad/memcad/errors.h"

namespace kestrel::memcad {

void raise_refused(std::string description) { throw core::Error(kRefused, {}, std::move(description)); }

void raise_not_found(std::string_view what) {
  throw core::Error(kNotFound, {}, "No se encuentra " + std::string(what));
}

void raise_cancelled() { throw core::Error(kRefused, {}, "Cancelado por el usuario"); }

// A detached object no longer knows its application, so these name memcad itself.
void raise_erased() { throw core::Error(kRefused, kStandaloneSource, "El objeto ha sido borrado"); }

void raise_drawing_closed() {
  throw core::Error(kRefused, kStandaloneSource, "El dibujo del objeto está cerrado");
}

}  // namespace kestrel::memcad
