#include "bridge/c_kestrel.h"

#include "core/trap.h"

namespace kestrel::bridge {

c_Kestrel::c_Kestrel(Module& module) : module_(module) {
  try {
    aCad_ = std::make_unique<exporting::f_Acad>(module, this);
    aCad_->load();
  } catch (...) {
    const core::Error e = core::current_error();
    (void)core::attempt([&] {
      module_.error_log.log("Inicializa " + e.source() + " Error nº: " + e.description(), e.source());
    });
  }
}

c_Kestrel::~c_Kestrel() {
  (void)core::attempt([&] { aCad().unload(); });
}

void c_Kestrel::LongToRGB(std::int32_t RGBval) {
  // Integer division truncates toward zero before the mask: -1 gives 255, 0, 0.
  red_ = static_cast<std::int16_t>(RGBval & 255);
  green_ = static_cast<std::int16_t>((RGBval / 256) & 255);
  blue_ = static_cast<std::int16_t>((RGBval / 65536) & 255);
}

std::int32_t c_Kestrel::percentage(std::int32_t total, std::int32_t current) {
  const std::int32_t scaled = core::checked_mul(current, 100);
  if (total == 0) core::raise(core::kDivisionByZero);
  return static_cast<std::int32_t>(core::vb_int(static_cast<double>(scaled) / total));
}

void c_Kestrel::Obten_objetos1(const core::Obj&, std::int32_t&, VbArray<double>&, VbArray<double>&,
                               VbArray<double>&) {}

model::t_Datos c_Kestrel::Example_Documents(const core::Obj&) { return {}; }

model::t_Dibujo c_Kestrel::Copia_Todo1(const core::Obj&, std::int32_t&) { return {}; }

void c_Kestrel::Obten_objetos(const core::Obj&, std::int32_t&, VbArray<double>&, VbArray<double>&,
                              VbArray<double>&, std::int32_t&, VbArray<double>&, VbArray<double>&,
                              VbArray<double>&) {}

model::t_Dibujo c_Kestrel::Copia_Todo2(const core::Obj&, std::string&, VbBool*) { return {}; }

void c_Kestrel::Bloques_descompon() {}


}  // namespace kestrel::bridge
