// The class factory of c_Kestrel. There is one, living as long as the
// library; its reference count does not keep the library loaded, its
// LockServer does.
#pragma once

#include <unknwn.h>

namespace kestrel::server {

[[nodiscard]] IClassFactory& class_factory() noexcept;

}  // namespace kestrel::server
