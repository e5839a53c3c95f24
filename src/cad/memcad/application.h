// Application: the in-memory CAD application the engine drives late-bound,
// with its open drawings, its caption and version, the true-colour objects
// it hands out, the picker that answers on-screen input, and the test hooks
// (failure injection, closing the application under the engine's feet).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "cad/memcad/automation.h"
#include "cad/memcad/document.h"
#include "cad/memcad/picker.h"

namespace kestrel::memcad {

struct ApplicationInfo {
  std::string version = "21.0";
  // The caption's product part: the caption reads "ZWCAD 2021 - [Dibujo1.dwg]".
  std::string product = "ZWCAD 2021";
  std::string full_name = "C:\\Program Files\\memcad\\memcad.exe";
  // The source named in the errors the application raises.
  std::string error_source = "ZWCAD.Application";
  // New drawings are named prefix + number + ".dwg" ("Dibujo1.dwg", "Dibujo2.dwg" ...).
  std::string drawing_prefix = "Dibujo";
  // Start with one empty drawing open; false: no drawing, so ActiveDocument fails.
  bool open_drawing = true;
  // Policy of the drawings opened here for unknown layer, line type and style names.
  bool create_missing_records = true;
};

class Documents;

class Application final : public Automated<Application> {
  struct Key {};

 public:
  [[nodiscard]] static std::shared_ptr<Application> create(ApplicationInfo info = {});
  Application(Key, ApplicationInfo info);
  ~Application() override;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  [[nodiscard]] const ApplicationInfo& info() const noexcept { return info_; }
  // "ZWCAD 2021 - [Dibujo1.dwg]", or the product alone with no drawing open.
  [[nodiscard]] std::string caption() const;
  [[nodiscard]] bool visible() const noexcept { return visible_; }
  void set_visible(bool visible) noexcept { visible_ = visible; }

  [[nodiscard]] std::span<const std::shared_ptr<Document>> documents() const noexcept { return documents_; }
  // The active drawing; null when none is open.
  [[nodiscard]] Document* active_document() const noexcept { return active_; }
  // A new empty drawing named after the prefix and a running number; it becomes active.
  Document& add_document();
  // Opens a drawing built elsewhere (loaded from a file): it joins this
  // application's session and becomes active.
  void open_document(std::shared_ptr<Document> document);
  void activate(Document& document);
  // Closes a drawing: it leaves the list and every later call on it fails.
  void close_document(Document& document);

  // Who answers GetPoint, GetEntity and SelectOnScreen (null: every such call is cancelled).
  void set_picker(std::shared_ptr<Picker> picker) noexcept { session_->set_picker(std::move(picker)); }
  // Counting from now, the call_number-th late-bound call (1-based, on any
  // object of this application) of `member` fails with `error_number`.
  void inject_failure(std::string member, int call_number, std::int32_t error_number) {
    session_->inject_failure(std::move(member), call_number, error_number);
  }
  // The user closes the CAD: every later late-bound call fails with 462.
  void quit() noexcept { session_->quit(); }
  [[nodiscard]] bool has_quit() const noexcept { return session_->closed(); }

  // The display has nothing to draw; these only count the requests.
  void zoom_extents() noexcept { ++zoom_extents_count_; }
  void update() noexcept { ++update_count_; }
  // How often the display was asked to zoom to the extents and to update.
  [[nodiscard]] int zoom_extents_count() const noexcept { return zoom_extents_count_; }
  [[nodiscard]] int update_count() const noexcept { return update_count_; }

  [[nodiscard]] std::string_view type_name() const override { return "IAcadApplication"; }
  static const core::MemberTable<Application>& member_table();
  [[nodiscard]] Session* call_session() const noexcept { return session_.get(); }
  [[nodiscard]] const std::shared_ptr<Session>& shared_session() const noexcept { return session_; }
  [[nodiscard]] Documents& documents_object() const noexcept { return *documents_object_; }

 private:
  ApplicationInfo info_;
  std::shared_ptr<Session> session_;
  std::shared_ptr<Documents> documents_object_;
  std::vector<std::shared_ptr<Document>> documents_;
  Document* active_ = nullptr;
  int drawings_created_ = 0;
  int zoom_extents_count_ = 0;
  int update_count_ = 0;
  bool visible_ = false;
};

// The Documents collection: Count, Item (0-based index or name), Add.
class Documents final : public Automated<Documents> {
 public:
  explicit Documents(Application* application) noexcept : application_(application) {}
  [[nodiscard]] Application* application() const noexcept { return application_; }
  void detach() noexcept { application_ = nullptr; }

  [[nodiscard]] std::string_view type_name() const override { return "IAcadDocuments"; }
  static const core::MemberTable<Documents>& member_table();
  [[nodiscard]] Session* call_session() const;

 private:
  Application* application_;
};

}  // namespace kestrel::memcad
