// The trapped run-time error: a number, the name of the component that
// raised it, and a Spanish description, as the host's run time reports them.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kestrel::core {

// Standard error numbers of the automation run time.
enum ErrorNumber : std::int32_t {
  kInvalidCall = 5,
  kOverflow = 6,
  kOutOfMemory = 7,
  kSubscriptOutOfRange = 9,
  kDivisionByZero = 11,
  kTypeMismatch = 13,
  kInternalError = 51,
  kFileNotFound = 53,
  kPathFileAccess = 75,
  kCannotCreateObject = 429,
  kObjectNotSet = 91,
  kMemberNotSupported = 438,
  kArgumentNotOptional = 449,
  kAutomationError = -2147467259,  // E_FAIL, what a CAD answers for a refused call
};

// The component name used as the source of run-time errors raised by Kestrel.
inline constexpr const char* kRuntimeSource = "Mvx4_Kestrel";

// The Spanish description the run time gives a standard error number;
// "Error definido por la aplicación o el objeto" for any other number.
[[nodiscard]] std::string standard_description(std::int32_t number);

class Error : public std::runtime_error {
 public:
  Error(std::int32_t number, std::string source, std::string description);

  // An error with the standard description of `number`.
  [[nodiscard]] static Error standard(std::int32_t number, std::string source = kRuntimeSource);

  [[nodiscard]] std::int32_t number() const noexcept { return number_; }
  [[nodiscard]] const std::string& source() const noexcept { return source_; }
  [[nodiscard]] const std::string& description() const noexcept { return description_; }

 private:
  std::int32_t number_;
  std::string source_;
  std::string description_;
};

// Throws the standard error `number` (never returns).
[[noreturn]] void raise(std::int32_t number, std::string source = kRuntimeSource);

}  // namespace kestrel::core
