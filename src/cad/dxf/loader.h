// DocumentLoader: reads DXF text into a new drawing, section by section.
// Split over load_document.cc (sections, header, tables, blocks),
// load_entities.cc (entity records), load_sequences.cc (polylines, MTEXT,
// INSERT with attributes) and load_hatch.cc.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cad/dxf/dxf.h"
#include "cad/dxf/field_table.h"
#include "cad/dxf/group_reader.h"
#include "cad/dxf/table_records.h"
#include "cad/dxf/text_codec.h"
#include "cad/memcad/block_reference.h"
#include "cad/memcad/document.h"
#include "cad/memcad/faces.h"
#include "cad/memcad/polylines.h"

namespace kestrel::dxf {

// The groups of one record: a code 0 group and what follows up to the next one.
using Record = std::vector<Group>;

// What every entity record may carry besides its own data.
struct CommonGroups {
  std::uint64_t handle = 0;
  std::string_view layer = "0";
  std::string_view linetype;
  std::int64_t color = memcad::kColorByLayer;
  std::int64_t true_color = -1;
  bool invisible = false;
  bool paper_space = false;
  memcad::Vec3 extrusion{0, 0, 1};  // groups 210, 220, 230: the normal of a planar entity

  // The normal a planar entity keeps: the extrusion as the file wrote it
  // (saved back unchanged), or +Z for a zero or unusable one.
  [[nodiscard]] memcad::Vec3 normal() const noexcept;
};

class DocumentLoader final : public ReadContext {
 public:
  // Loads DXF text held in memory; `name` stands for the file in messages.
  DocumentLoader(std::string_view text, std::string name, LoadReport* report);
  // Loads a seekable stream, read a window at a time.
  DocumentLoader(std::istream& in, std::string name, LoadReport* report, std::size_t window);

  [[nodiscard]] std::shared_ptr<memcad::Document> load();

  [[nodiscard]] std::uint16_t text_style(std::string_view raw_name) override;

 private:
  // load_document.cc
  [[nodiscard]] bool read_record(Record& record);
  void read_section(std::string_view name, std::size_t line);
  void feed_dxflib(const Group& group);
  void read_header();
  void apply_header();
  void choose_encoding();
  void read_tables();
  void apply_table_records();
  void linetype_dashes(const Record& record);
  void declare_block(const Record& record);
  void read_blocks();
  void skip_section();
  void note(std::string text);
  [[nodiscard]] memcad::Block* block_definition(const RawBlockHeader& header);
  [[nodiscard]] memcad::Block* referenced_block(std::string_view raw_name);
  void finish();

  // load_entities.cc
  // Reads the entity records of a block (or of ENTITIES) up to a record of
  // `end_kind` (ENDBLK or ENDSEC), which is left in `record_`.
  void read_entities(memcad::Block* target, std::string_view end_kind);
  void entity(memcad::Block* target);
  // Takes a group every entity may have into `common`; false for any other group.
  [[nodiscard]] bool common_group(const Group& group, CommonGroups& common);
  void apply_common(memcad::Entity& e, const CommonGroups& common);
  void place(memcad::Block* target, std::string_view kind, memcad::EntityPtr<memcad::Entity> e,
             const CommonGroups& common);
  // Adds an entity whose common groups are already applied (the records of
  // a sequence come after the groups were read, and release them).
  void put(memcad::Block* target, std::string_view kind, memcad::EntityPtr<memcad::Entity> e, bool paper_space);
  template <class E>
  void simple(memcad::Block* target, std::span<const Field<E>> fields);
  void unknown(memcad::Block* target, std::string_view type);
  void lightweight_polyline(memcad::Block* target);
  [[nodiscard]] std::uint32_t layer_index(std::string_view raw_name);
  [[nodiscard]] std::uint16_t linetype_index(std::string_view raw_name);
  // The text style a file names, created when missing; none past the 65 535 a text can name.
  [[nodiscard]] std::optional<std::uint16_t> find_or_add_style(std::string_view raw_name);
  // load_sequences.cc
  // Hands each record of a sequence (vertices, attributes) to `on_item`, up
  // to its SEQEND; a sequence that ends without one leaves the record that
  // ended it pending.
  template <class F>
  void read_sequence(std::string_view item_kind, F&& on_item);
  void polyline(memcad::Block* target);
  struct PolylineHead {
    std::int64_t flags = 0;
    double elevation = 0;
    bool widths = false;  // default widths (40, 41)
  };
  void read_polyface_mesh(memcad::PolyfaceMesh& mesh);
  void read_polyline_3d(memcad::Polyline3d& p, const PolylineHead& head);
  void read_polyline_2d(memcad::Polyline2d& p, const PolylineHead& head);
  void mtext(memcad::Block* target);
  void insert(memcad::Block* target);

  // load_hatch.cc
  void hatch(memcad::Block* target);
  void face_up(memcad::Hatch& h, const memcad::Vec3& extrusion);

  std::function<bool()> file_is_utf8_;  // set up before the reader reads anything
  GroupReader reader_;
  TextDecoder decoder_;
  LoadReport own_report_;
  LoadReport& report_;
  std::shared_ptr<memcad::Document> doc_;
  TableRecordReader dxflib_;
  Record record_;
  bool record_pending_ = false;  // record_ holds a record not yet handled
  bool encoding_chosen_ = false;
  std::string acad_version_;
  std::string code_page_;
  std::uint64_t highest_handle_ = 0;
  std::size_t tilted_hatches_ = 0;
  std::size_t polyline_widths_ = 0;
  // One-entry caches of the last names resolved (runs of entities share them).
  std::string last_layer_raw_ = "0";
  std::uint32_t last_layer_index_ = 0;
  std::string last_style_raw_;
  std::uint16_t last_style_index_ = 0;
};

}  // namespace kestrel::dxf
