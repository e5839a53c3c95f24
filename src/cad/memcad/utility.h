// Utility: the document's prompts for user input. Points and entities are
// picked by the application's picker; without one, or when the picker
// cancels, the call fails as a CAD's does when the user presses Escape.
#pragma once

#include "cad/memcad/automation.h"

namespace kestrel::memcad {

class Document;

class Utility final : public Automated<Utility> {
 public:
  explicit Utility(Document* doc) noexcept : doc_(doc) {}

  [[nodiscard]] Document* document() const noexcept { return doc_; }
  void detach() noexcept { doc_ = nullptr; }

  [[nodiscard]] std::string_view type_name() const override { return "IAcadUtility"; }
  static const core::MemberTable<Utility>& member_table();
  [[nodiscard]] Session* call_session() const;

 private:
  Document* doc_;
};

}  // namespace kestrel::memcad
