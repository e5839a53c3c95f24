// Document: one drawing. Its tables (layers, line types, text styles,
// blocks with model and paper space), system variables and limits are plain
// data for the DXF layer; late-bound, it answers as a CAD document does
// (ModelSpace, Layers, SetVariable, SendCommand ...).
//
// Everything inside refers back to the document weakly: when the document
// goes, its collections, records and blocks lose that link, and a later
// late-bound call on one of them raises an automation error.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cad/memcad/block.h"
#include "cad/memcad/records.h"
#include "cad/memcad/variables.h"

namespace kestrel::memcad {

class SelectionSet;
class Utility;
using SelectionSets = Table<SelectionSet>;

// The drawing limits (Limits: xmin, ymin, xmax, ymax).
struct Limits {
  double xmin = 0;
  double ymin = 0;
  double xmax = 420;
  double ymax = 297;
  friend bool operator==(const Limits&, const Limits&) = default;
};

class Document final : public Automated<Document> {
  struct Key {};

 public:
  // A new empty drawing: layer "0" (colour 7, "Continuous"), the line types
  // "ByBlock", "ByLayer" and "Continuous", the text style "Standard", model
  // space and paper space, the default variables and limits 0,0 - 420,297.
  [[nodiscard]] static std::shared_ptr<Document> create(std::string name = "Dibujo1.dwg");
  Document(Key, std::string name);
  ~Document() override;
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  [[nodiscard]] const std::string& name() const noexcept { return name_; }
  void set_name(std::string name) { name_ = std::move(name); }

  [[nodiscard]] Block& model_space() const noexcept { return *model_space_; }
  [[nodiscard]] Block& paper_space() const noexcept { return *paper_space_; }
  // Every block, model space (index 0) and paper space (index 1) included.
  [[nodiscard]] Blocks& blocks() const noexcept { return *blocks_; }
  [[nodiscard]] Layers& layers() const noexcept { return *layers_; }
  [[nodiscard]] Linetypes& linetypes() const noexcept { return *linetypes_; }
  [[nodiscard]] TextStyles& text_styles() const noexcept { return *text_styles_; }
  [[nodiscard]] SelectionSets& selection_sets() const noexcept { return *selection_sets_; }
  [[nodiscard]] Utility& utility() const noexcept { return *utility_; }
  [[nodiscard]] Variables& variables() noexcept { return variables_; }
  [[nodiscard]] const Variables& variables() const noexcept { return variables_; }

  Limits limits;

  // When true (the default), naming an unknown layer, line type or text
  // style on an entity creates it; when false it is refused ("not found").
  bool create_missing_records = true;

  // The layer index of `name` (any case), creating or refusing an unknown
  // name as create_missing_records says.
  [[nodiscard]] std::uint32_t layer_index(std::string_view name);
  [[nodiscard]] std::uint16_t linetype_index(std::string_view name);
  [[nodiscard]] std::uint16_t text_style_index(std::string_view name);
  void rename_layer(Layer& layer, std::string_view name);

  // Handles: each entity added gets the next one. After loading entities
  // with their own handles, set the next one above the highest.
  [[nodiscard]] std::uint64_t next_handle() noexcept { return next_handle_++; }
  void set_next_handle(std::uint64_t handle) noexcept { next_handle_ = handle; }

  // Runs a command line as the CAD's command prompt would (see commands.h).
  // Every text sent is kept in the command log.
  void send_command(std::string_view text);
  [[nodiscard]] const std::vector<std::string>& command_log() const noexcept { return command_log_; }

  // Closes the drawing: every later late-bound call on it or on anything in
  // it raises; the plain data stays readable.
  void close() noexcept { closed_ = true; }
  [[nodiscard]] bool closed() const noexcept { return closed_; }

  // The application session this drawing is open in (null: standalone).
  [[nodiscard]] Session* session() const noexcept { return session_.get(); }
  [[nodiscard]] const std::shared_ptr<Session>& shared_session() const noexcept { return session_; }
  void bind_session(std::shared_ptr<Session> session) noexcept { session_ = std::move(session); }

  [[nodiscard]] std::string_view type_name() const override { return "IAcadDocument"; }
  static const core::MemberTable<Document>& member_table();
  [[nodiscard]] Session* call_session() const;

 private:
  void reset_layer_cache();

  std::string name_;
  std::shared_ptr<Session> session_;
  std::shared_ptr<Layers> layers_;
  std::shared_ptr<Linetypes> linetypes_;
  std::shared_ptr<TextStyles> text_styles_;
  std::shared_ptr<Blocks> blocks_;
  std::shared_ptr<SelectionSets> selection_sets_;
  std::shared_ptr<Utility> utility_;
  Block* model_space_ = nullptr;
  Block* paper_space_ = nullptr;
  Variables variables_;
  std::vector<std::string> command_log_;
  std::uint64_t next_handle_ = 0x100;
  bool closed_ = false;
  // The last layer name resolved, so that runs of entities on one layer skip the lookup.
  std::string cached_layer_name_;
  std::uint32_t cached_layer_index_ = 0;
};

}  // namespace kestrel::memcad
