#include "cad/memcad/application.h"

#include <algorithm>

#include "cad/memcad/arguments.h"
#include "cad/memcad/errors.h"
#include "cad/memcad/names.h"

namespace kestrel::memcad {

std::shared_ptr<Application> Application::create(ApplicationInfo info) {
  return std::make_shared<Application>(Key{}, std::move(info));
}

Application::Application(Key, ApplicationInfo info)
    : info_(std::move(info)),
      session_(std::make_shared<Session>(info_.error_source)),
      documents_object_(std::make_shared<Documents>(this)) {
  session_->set_application(this);
  if (info_.open_drawing) add_document();
}

Application::~Application() {
  session_->set_application(nullptr);
  documents_object_->detach();
}

std::string Application::caption() const {
  if (!active_) return info_.product;
  return info_.product + " - [" + active_->name() + "]";
}

Document& Application::add_document() {
  ++drawings_created_;
  open_document(Document::create(info_.drawing_prefix + std::to_string(drawings_created_) + ".dwg"));
  return *active_;
}

void Application::open_document(std::shared_ptr<Document> document) {
  document->bind_session(session_);
  document->create_missing_records = info_.create_missing_records;
  active_ = document.get();
  if (std::find(documents_.begin(), documents_.end(), document) == documents_.end()) {
    documents_.push_back(std::move(document));
  }
}

void Application::activate(Document& document) {
  auto it = std::find_if(documents_.begin(), documents_.end(), [&](const auto& d) { return d.get() == &document; });
  if (it == documents_.end()) raise_refused("El dibujo no está abierto en esta aplicación");
  active_ = &document;
}

void Application::close_document(Document& document) {
  document.close();
  std::erase_if(documents_, [&](const auto& d) { return d.get() == &document; });
  if (active_ == &document) active_ = documents_.empty() ? nullptr : documents_.back().get();
}

Session* Documents::call_session() const {
  if (!application_) throw core::Error(kServerUnavailable, kStandaloneSource, "La aplicación se ha cerrado");
  return application_->call_session();
}

namespace {

Document& active(Application& app) {
  Document* doc = app.active_document();
  if (!doc) raise_refused("No hay ningún dibujo abierto");
  return *doc;
}

void put_active_document(Application& app, const Variant& v) {
  auto* doc = dynamic_cast<Document*>(object_value(v).get());
  if (!doc) core::raise(core::kTypeMismatch);
  app.activate(*doc);
}

Variant get_interface_object(Application& app, Args args) {
  const std::string name = string_argument(args, 1);
  if (fold_name(name).find("cmcolor") == std::string::npos) {
    throw core::Error(kInvalidClassString, {}, "Cadena de clase no válida: " + name);
  }
  return Variant(std::make_shared<TrueColor>(app.shared_session()));
}

const core::Member<Application> kApplicationMembers[] = {
    {"Version", [](Application& a) { return Variant(a.info().version); }},
    {"Caption", [](Application& a) { return Variant(a.caption()); }},
    {"FullName", [](Application& a) { return Variant(a.info().full_name); }},
    {"Name", [](Application& a) { return Variant(a.info().product); }},
    {"Visible", [](Application& a) { return Variant(a.visible()); },
     [](Application& a, const Variant& v) { a.set_visible(v.to_bool()); }},
    {"ActiveDocument", [](Application& a) { return Variant(active(a).shared_from_this()); }, &put_active_document},
    {"Documents", [](Application& a) { return Variant(a.documents_object().shared_from_this()); }},
    {"ZoomExtents", nullptr, nullptr, [](Application& a, Args) { a.zoom_extents(); return Variant(); }},
    {"ZoomAll", nullptr, nullptr, [](Application& a, Args) { a.zoom_extents(); return Variant(); }},
    {"Update", nullptr, nullptr, [](Application& a, Args) { a.update(); return Variant(); }},
    {"GetInterfaceObject", nullptr, nullptr, &get_interface_object},
    {"Quit", nullptr, nullptr, [](Application& a, Args) { a.quit(); return Variant(); }},
};

Application& application_of(Documents& d) {
  if (!d.application()) throw core::Error(kServerUnavailable, kStandaloneSource, "La aplicación se ha cerrado");
  return *d.application();
}

Variant document_item(Documents& d, Args args) {
  const Variant& key = core::argument(args, 1);
  const auto docs = application_of(d).documents();
  if (key.type() == core::VarType::kString) {
    for (const auto& doc : docs) {
      if (same_name(doc->name(), key.as<std::string>())) return Variant(doc);
    }
    raise_not_found("el dibujo \"" + key.as<std::string>() + "\"");
  }
  const std::int32_t i = long_argument(args, 1);
  if (i < 0 || static_cast<std::size_t>(i) >= docs.size()) raise_not_found("el índice " + std::to_string(i));
  return Variant(docs[static_cast<std::size_t>(i)]);
}

const core::Member<Documents> kDocumentsMembers[] = {
    {"Count", [](Documents& d) { return Variant(static_cast<std::int32_t>(application_of(d).documents().size())); }},
    {"Item", nullptr, nullptr, &document_item},
    {"Add", nullptr, nullptr,
     [](Documents& d, Args) { return Variant(application_of(d).add_document().shared_from_this()); }},
};

}  // namespace

const core::MemberTable<Application>& Application::member_table() {
  static const core::MemberTable<Application> table{std::span<const core::Member<Application>>(kApplicationMembers)};
  return table;
}

const core::MemberTable<Documents>& Documents::member_table() {
  static const core::MemberTable<Documents> table{std::span<const core::Member<Documents>>(kDocumentsMembers)};
  return table;
}

}  // namespace kestrel::memcad
