#include "core/object.h"

namespace kestrel::core {

const Variant& argument(std::span<Variant> args, std::size_t position) {
  if (position == 0 || position > args.size()) {
    throw Error(kArgumentNotOptional, kRuntimeSource,
                standard_description(kArgumentNotOptional) + " (argumento " + std::to_string(position) + ")");
  }
  return args[position - 1];
}

void raise_argument_error(std::int32_t number, std::size_t position) {
  throw Error(number, kRuntimeSource,
              standard_description(number) + " (argumento " + std::to_string(position) + ")");
}

}  // namespace kestrel::core
