#include "tools/kestrel/cad_install.h"

#include <string>

#include "cad/catalogue.h"

namespace kestrel::cli {

namespace {

// The release number a class name ends with: "ZWCAD.Application.2021" → 21,
// "AutoCAD.Application.22" → 22; 0 when it has none.
int release_of(std::string_view class_name) {
  const auto dot = class_name.rfind('.');
  if (dot == std::string_view::npos) return 0;
  int number = 0;
  for (char c : class_name.substr(dot + 1)) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + (c - '0');
  }
  return number >= 2000 ? number - 2000 : number;
}

}  // namespace

memcad::ApplicationInfo application_info_for(std::string_view label) {
  const cad::ApplicationEntry entry = cad::application_for(label);
  const bool zwcad = entry.class_name.starts_with("ZWCAD");
  memcad::ApplicationInfo info;
  std::string product(label.substr(0, label.find('(')));
  while (!product.empty() && product.back() == ' ') product.pop_back();
  if (product.starts_with("AutoCad")) product.replace(0, 7, "AutoCAD");
  info.product = product.empty() ? (zwcad ? "ZWCAD" : "AutoCAD") : product;
  const int release = release_of(entry.class_name);
  info.version = std::to_string(release == 0 ? 20 : release) + ".0";
  info.error_source = entry.class_name;
  info.drawing_prefix = zwcad ? "Dibujo" : "Drawing";
  return info;
}

void install_memcad(platform::InProcessAutomationHost& host, std::string_view label,
                    std::function<void(const std::shared_ptr<memcad::Application>&)> on_create) {
  const memcad::ApplicationInfo info = application_info_for(label);
  host.install(cad::application_for(label).class_name, [info, on_create] {
    auto application = memcad::Application::create(info);
    if (on_create) on_create(application);
    return core::ObjectRef(application);
  });
}

}  // namespace kestrel::cli
