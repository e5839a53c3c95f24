// Installs the in-memory CAD in an automation host under the application
// class of a version label, presenting itself as that product and version.
#pragma once

#include <memory>
#include <string_view>

#include "cad/memcad/application.h"
#include "platform/automation_host.h"

namespace kestrel::cli {

// How the in-memory CAD presents itself for `label`: "ZWCAD 2021(x64)" gives
// product "ZWCAD 2021" and version "21.0"; "AutoCad 2018(x64)" gives
// "AutoCAD 2018" and "22.0".
[[nodiscard]] memcad::ApplicationInfo application_info_for(std::string_view label);

// Installs the in-memory CAD as the creatable class of `label`. The created
// application is handed to `on_create` (nullptr: ignored).
void install_memcad(platform::InProcessAutomationHost& host, std::string_view label,
                    std::function<void(const std::shared_ptr<memcad::Application>&)> on_create = {});

}  // namespace kestrel::cli
