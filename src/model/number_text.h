// Numbers as the drawing's texts carry them: labels always write "." as the
// decimal point, and numbers typed by users may use "," as well.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/variant.h"

namespace kestrel::model {

// `Formato_Numero`: `value` (a number or a numeric text, "," or "." as the
// decimal point) written with `decimals` decimals (at most 15; below 1 the
// number is rounded to a whole number), halves away from zero, "." as the
// decimal point. With width > 0 the integer part is padded on the left with
// blanks to `width` characters (the integer part is taken as the length
// less decimals + 1). A text that is not a number formats as 0.
// Raises error 6 only for a numeric text beyond the Double range.
[[nodiscard]] std::string Formato_Numero(const core::Variant& value, std::int16_t decimals, std::int16_t width);

// `Valor_Numero`: the leading number of `text` with its first "," taken as
// the decimal point ("0,5" and "0.5" give 0.5). Never fails: an empty,
// non-numeric or out-of-range text gives 0.
[[nodiscard]] double Valor_Numero(std::string_view text) noexcept;

}  // namespace kestrel::model
