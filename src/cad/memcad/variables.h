// System variables of a drawing (PDMODE, PDSIZE, MODEMACRO ...), by name
// without regard to case. A variable keeps the type it was created with:
// setting it converts the value to that type, and a value that does not
// convert is refused as a CAD refuses it.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "core/variant.h"

namespace kestrel::memcad {

class Variables {
 public:
  // The variables of a new drawing: PDMODE (Integer 0), PDSIZE (Double 0),
  // MODEMACRO (""), CLAYER ("0"), TEXTSTYLE ("Standard"), TEXTSIZE (2.5),
  // LTSCALE (1), INSUNITS (Integer 6), CECOLOR ("BYLAYER").
  Variables();

  // Sets `name`: an existing variable keeps its type; a new one takes the value's.
  void set(std::string_view name, const core::Variant& value);
  // Null when there is no such variable.
  [[nodiscard]] const core::Variant* find(std::string_view name) const;
  // The value; raises the CAD's refusal when there is no such variable.
  [[nodiscard]] const core::Variant& get(std::string_view name) const;

  // Every variable by upper-case name, for writing a drawing's header.
  [[nodiscard]] const std::map<std::string, core::Variant, std::less<>>& all() const noexcept { return values_; }

 private:
  std::map<std::string, core::Variant, std::less<>> values_;
};

}  // namespace kestrel::memcad
