// The CAD session: the connected application and the objects of its active
// document at connection time, shared by every c_Kestrel of the process.
#pragma once

#include <string>

#include "core/object.h"

namespace kestrel::cad {

struct CadSession {
  core::Obj Aplicacion;
  core::Obj Documento;
  core::Obj EspacioModelo;
  core::Obj EspacioPapel;
  std::string VersionCad;  // the version label last given to IniciaAutocad
  std::string FamiliaCad;  // "ZWCad" or "AutoCad"; unchanged by labels outside the catalogue
};

}  // namespace kestrel::cad
