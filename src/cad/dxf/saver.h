// DocumentSaver: writes one drawing as R2000 DXF through a GroupWriter,
// section by section. Split over save_document.cc (header, skeleton,
// objects), save_tables.cc (symbol tables) and save_entities.cc.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cad/dxf/dxf.h"
#include "cad/dxf/field_table.h"
#include "cad/dxf/group_writer.h"
#include "cad/dxf/handle_plan.h"
#include "cad/memcad/document.h"

namespace kestrel::dxf {

class DocumentSaver final : public WriteContext {
 public:
  DocumentSaver(const memcad::Document& doc, const GroupWriter& writer, SaveReport* report);

  void write();

  [[nodiscard]] const std::string& text_style_name(std::uint16_t index) const override;

 private:
  // save_document.cc
  void header();
  void header_variables();
  void classes();
  void blocks();
  void block(const memcad::Block& b, std::uint64_t record, std::uint64_t begin, std::uint64_t end);
  void objects();
  void layout(std::uint64_t handle, std::string_view name, int order, std::uint64_t record);
  void plot_settings(bool model);

  // save_tables.cc
  void tables();
  void table_head(std::string_view name, std::uint64_t handle, std::size_t count);
  void record_head(std::string_view kind, std::uint64_t handle, std::uint64_t table, std::string_view subclass);
  void viewports();
  void linetypes();
  void layers();
  void text_styles();
  void app_ids();
  void dim_styles();
  void block_records();

  // save_entities.cc
  void entities(const memcad::Block& b, std::uint64_t owner, bool paper_space);
  void entity(const memcad::Entity& e, std::uint64_t owner, bool paper_space);
  // An entity whose groups are all in its field table.
  template <class E>
  void simple(std::string_view type, const memcad::Entity& e, std::span<const Field<E>> fields, std::uint64_t owner,
              bool paper_space);
  // Writes the groups every entity starts with and returns its handle.
  std::uint64_t entity_head(std::string_view type, const memcad::Entity& e, std::uint64_t owner, bool paper_space);
  void sub_entity_head(std::string_view type, std::uint64_t handle, std::uint64_t owner, const memcad::Entity& e,
                       bool paper_space);
  void lightweight_polyline(const memcad::Entity& e, std::uint64_t owner, bool paper_space);
  void polyline_2d(const memcad::Entity& e, std::uint64_t owner, bool paper_space);
  void polyline_3d(const memcad::Entity& e, std::uint64_t owner, bool paper_space);
  void polyface_mesh(const memcad::Entity& e, std::uint64_t owner, bool paper_space);
  void mtext(const memcad::Entity& e, std::uint64_t owner, bool paper_space);
  void hatch(const memcad::Entity& e, std::uint64_t owner, bool paper_space);
  void insert(const memcad::Entity& e, std::uint64_t owner, bool paper_space);
  void sequence_end(std::uint64_t owner, const memcad::Entity& e, bool paper_space);

  const memcad::Document& doc_;
  const GroupWriter& w_;
  SaveReport* report_;
  HandlePlan handles_;
  // Names as the file writes them, encoded once.
  std::vector<std::string> layer_names_;
  std::vector<std::string> linetype_names_;
  std::vector<std::string> style_names_;
  // The line type entities leave unwritten (ByLayer).
  std::uint32_t bylayer_linetype_ = 0;
  // The blocks other than the layouts, in table order, and the handles of their records.
  std::vector<const memcad::Block*> blocks_;
  std::vector<std::uint64_t> block_records_;
};

}  // namespace kestrel::dxf
