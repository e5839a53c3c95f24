// The process-wide Module of the automation library: the drawing model and
// the CAD session every c_Kestrel of the process shares, with the Windows
// services. Created at the first object, kept until the library unloads.
#pragma once

#include "module/module.h"

namespace kestrel::server {

[[nodiscard]] Module& server_module();

}  // namespace kestrel::server
