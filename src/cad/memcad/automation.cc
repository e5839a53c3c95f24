#include "cad/memcad/automation.h"

#include "cad/memcad/errors.h"

namespace kestrel::memcad {

void rethrow_with_source(const core::Error& error, const Session* session) {
  throw core::Error(error.number(), session ? session->error_source() : std::string(kStandaloneSource),
                    error.description());
}

}  // namespace kestrel::memcad
