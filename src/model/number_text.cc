#include "model/number_text.h"

#include <algorithm>

#include "core/error.h"
#include "core/numeric.h"
#include "core/text.h"

namespace kestrel::model {

namespace {

// The most decimals a format pattern holds ("0." and fifteen zeros).
constexpr int kMaxDecimals = 15;

// The text with its first "," made a ".".
std::string first_comma_as_point(std::string text) {
  const std::size_t comma = text.find(',');
  if (comma != std::string::npos) text[comma] = '.';
  return text;
}

}  // namespace

std::string Formato_Numero(const core::Variant& value, std::int16_t decimals, std::int16_t width) {
  const double number = core::val(first_comma_as_point(value.to_string()));
  const int places = decimals >= 1 ? std::min<int>(decimals, kMaxDecimals) : 0;
  std::string result = core::format_fixed(number, places);
  if (width <= 0) return result;
  // The integer part's length is measured with the decimals asked for, not
  // the ones written, so more than 15 decimals pad less.
  result = core::trim(result);
  std::int32_t integer_length = core::len(result);
  if (decimals > 0) integer_length -= decimals + 1;
  if (width > integer_length) result.insert(0, static_cast<std::size_t>(width - integer_length), ' ');
  return result;
}

double Valor_Numero(std::string_view text) noexcept {
  try {
    return core::val(first_comma_as_point(std::string(text)));
  } catch (...) {
    return 0;
  }
}

}  // namespace kestrel::model
