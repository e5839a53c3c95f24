#include "import/import_fixture.h"

#include "import/entities.h"

namespace kestrel::import_test {

void ImportTest::import_all(bool Blq) {
  for (const auto& entity : space().entities()) importing::ENTIDADES(ctx, core::Variant(core::ObjectRef(entity)), Blq);
}

std::vector<std::string> ImportTest::messages() const {
  std::vector<std::string> texts;
  for (const auto& shown : scripted.message_box.shown()) texts.push_back(shown.text);
  return texts;
}

}  // namespace kestrel::import_test
