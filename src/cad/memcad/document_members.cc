// The late-bound members of Document.
#include "cad/memcad/application.h"
#include "cad/memcad/arguments.h"
#include "cad/memcad/document.h"
#include "cad/memcad/errors.h"
#include "cad/memcad/selection.h"
#include "cad/memcad/utility.h"

namespace kestrel::memcad {

namespace {

Variant object_of(core::SharedObject& o) { return Variant(o.shared_from_this()); }

Variant get_limits(Document& d) {
  const Limits& l = d.limits;
  return numbers_variant(std::vector<double>{l.xmin, l.ymin, l.xmax, l.ymax});
}

void put_limits(Document& d, const Variant& v) {
  const std::vector<double> n = numbers_value(v);
  if (n.size() != 4) raise_refused("Los límites son cuatro números");
  if (!(n[0] < n[2] && n[1] < n[3])) raise_refused("Límites no válidos");
  d.limits = {n[0], n[1], n[2], n[3]};
}

Variant set_variable(Document& d, Args args) {
  const std::string name = string_argument(args, 1);
  d.variables().set(name, core::argument(args, 2));
  return {};
}

Variant get_variable(Document& d, Args args) { return d.variables().get(string_argument(args, 1)); }

Variant send_command(Document& d, Args args) {
  d.send_command(string_argument(args, 1));
  return {};
}

Variant activate(Document& d, Args) {
  if (Session* s = d.session(); s && s->application()) s->application()->activate(d);
  return {};
}

Variant close(Document& d, Args) {
  if (Session* s = d.session(); s && s->application()) {
    s->application()->close_document(d);
  } else {
    d.close();
  }
  return {};
}

const core::Member<Document> kMembers[] = {
    {"Name", [](Document& d) { return Variant(d.name()); }},
    {"FullName", [](Document& d) { return Variant(d.name()); }},
    {"ModelSpace", [](Document& d) { return object_of(d.model_space()); }},
    {"PaperSpace", [](Document& d) { return object_of(d.paper_space()); }},
    {"Layers", [](Document& d) { return object_of(d.layers()); }},
    {"Linetypes", [](Document& d) { return object_of(d.linetypes()); }},
    {"Blocks", [](Document& d) { return object_of(d.blocks()); }},
    {"TextStyles", [](Document& d) { return object_of(d.text_styles()); }},
    {"SelectionSets", [](Document& d) { return object_of(d.selection_sets()); }},
    {"Utility", [](Document& d) { return object_of(d.utility()); }},
    {"Limits", &get_limits, &put_limits},
    {"SetVariable", nullptr, nullptr, &set_variable},
    {"GetVariable", nullptr, nullptr, &get_variable},
    {"SendCommand", nullptr, nullptr, &send_command},
    {"Activate", nullptr, nullptr, &activate},
    {"Close", nullptr, nullptr, &close},
    {"Regen", nullptr, nullptr, [](Document&, Args) { return Variant(); }},
};

}  // namespace

const core::MemberTable<Document>& Document::member_table() {
  static const core::MemberTable<Document> table{std::span<const core::Member<Document>>(kMembers)};
  return table;
}

}  // namespace kestrel::memcad
