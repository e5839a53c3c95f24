#include "core/error.h"

namespace kestrel::core {

std::string standard_description(std::int32_t number) {
  switch (number) {
    case kInvalidCall: return "Argumento o llamada a procedimiento no válida";
    case kOverflow: return "Desbordamiento";
    case kOutOfMemory: return "Memoria insuficiente";
    case kSubscriptOutOfRange: return "El subíndice está fuera del intervalo";
    case kDivisionByZero: return "División por cero";
    case kTypeMismatch: return "No coinciden los tipos";
    case kInternalError: return "Error interno";
    case kFileNotFound: return "No se ha encontrado el archivo";
    case kPathFileAccess: return "Error de acceso a la ruta o al archivo";
    case kObjectNotSet: return "Variable de tipo Object o la variable de bloque With no está establecida";
    case kCannotCreateObject: return "El componente ActiveX no puede crear el objeto";
    case kMemberNotSupported: return "El objeto no acepta esta propiedad o método";
    case kArgumentNotOptional: return "Argumento no opcional";
    case kAutomationError: return "Error de automatización";
    default: return "Error definido por la aplicación o el objeto";
  }
}

Error::Error(std::int32_t number, std::string source, std::string description)
    : std::runtime_error(description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

Error Error::standard(std::int32_t number, std::string source) {
  return Error(number, std::move(source), standard_description(number));
}

void raise(std::int32_t number, std::string source) { throw Error::standard(number, std::move(source)); }

}  // namespace kestrel::core
