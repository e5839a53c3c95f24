#include "core/trap.h"

#include <exception>
#include <new>

namespace kestrel::core {

Error current_error() {
  try {
    throw;
  } catch (const Error& e) {
    return e;
  } catch (const std::bad_alloc&) {
    return Error::standard(kOutOfMemory);
  } catch (const std::exception& e) {
    return Error(kInternalError, kRuntimeSource, standard_description(kInternalError) + ": " + e.what());
  } catch (...) {
    return Error::standard(kInternalError);
  }
}

std::string number_text(std::int32_t number) {
  std::string s = std::to_string(number);
  if (number >= 0) s.insert(0, 1, ' ');
  return s;
}

std::string compose_message(const TrapMessage& format, const Error& error) {
  std::string m;
  m.reserve(format.prefix.size() + error.description().size() + format.suffix.value_or("").size() + 16);
  m.append(format.prefix).append(number_text(error.number())).append(format.separator).append(error.description());
  if (format.suffix) m.append(" ").append(*format.suffix);
  return m;
}

void report(ErrorLogger& log, const TrapMessage& format, const Error& error) noexcept {
  try {
    log.log(compose_message(format, error), error.source());
  } catch (...) {
    // The log itself failed (no memory left for the message): nothing to do.
  }
}

}  // namespace kestrel::core
