#include "fake_application.h"

#include <fstream>

#include "cad/dxf/dxf.h"
#include "core/dispatch.h"

namespace kestrel::fake_cad {
namespace {

bool is(std::string_view member, std::string_view name) { return core::compare_member_names(member, name) == 0; }

std::string text_of_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) core::raise(core::kFileNotFound);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

core::Variant FakeApplication::call(std::string_view member, std::span<core::Variant> args) {
  if (is(member, "TestSaveDxf")) {
    const std::string path = core::argument(args, 1).to_string();
    const memcad::Document* drawing = application_->active_document();
    if (!drawing) core::raise(core::kObjectNotSet);
    std::ofstream out(path, std::ios::binary);
    out << dxf::save_dxf_text(*drawing);
    if (!out.flush()) core::raise(core::kPathFileAccess);
    return {};
  }
  if (is(member, "TestOpenDxf")) {
    const std::string path = core::argument(args, 1).to_string();
    application_->open_document(dxf::load_dxf_text(text_of_file(path), path));
    return {};
  }
  return application_->call(member, args);
}

}  // namespace kestrel::fake_cad
