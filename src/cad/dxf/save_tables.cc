#include <numeric>

#include "cad/dxf/saver.h"
#include "cad/memcad/names.h"

namespace kestrel::dxf {

namespace {

// The colour number a layer record holds: its colour, negative while the layer is off.
int layer_color(const memcad::Layer& l) {
  const int color = l.color >= 1 && l.color <= 255 ? l.color : 7;
  return l.on ? color : -color;
}

std::int64_t packed_rgb(const memcad::Rgb& c) { return (c.red << 16) | (c.green << 8) | c.blue; }

// The line type a layer record names: a record of the table that draws.
// ByLayer and ByBlock are for entities only (readers draw a layer naming
// them dashed or refuse it); they and unknown names draw continuous.
std::string layer_linetype(const memcad::Document& doc, const std::string& name) {
  const bool drawable = doc.linetypes().find(name) && !memcad::same_name(name, "ByLayer") &&
                        !memcad::same_name(name, "ByBlock");
  return drawable ? name : std::string("Continuous");
}

}  // namespace

void DocumentSaver::tables() {
  w_.section("TABLES");
  viewports();
  linetypes();
  layers();
  text_styles();
  table_head("VIEW", handle::kViewTable, 0);
  w_.tableEnd();
  table_head("UCS", handle::kUcsTable, 0);
  w_.tableEnd();
  app_ids();
  dim_styles();
  block_records();
  w_.sectionEnd();
}

// dxflib's table() writes no owner, which R2000 readers expect (330 0).
void DocumentSaver::table_head(std::string_view name, std::uint64_t h, std::size_t count) {
  w_.raw(0, "TABLE");
  w_.raw(2, name);
  w_.hex(5, h);
  w_.hex(330, 0);
  w_.raw(100, "AcDbSymbolTable");
  w_.integer(70, static_cast<std::int64_t>(count));
}

void DocumentSaver::record_head(std::string_view kind, std::uint64_t h, std::uint64_t table,
                                std::string_view subclass) {
  w_.raw(0, kind);
  w_.hex(kind == "DIMSTYLE" ? 105 : 5, h);
  w_.hex(330, table);
  w_.raw(100, "AcDbSymbolTableRecord");
  w_.raw(100, subclass);
}

void DocumentSaver::viewports() {
  table_head("VPORT", handle::kVportTable, 1);
  record_head("VPORT", handle::kActiveViewport, handle::kVportTable, "AcDbViewportTableRecord");
  w_.raw(2, "*Active");
  w_.integer(70, 0);
  w_.point2(10, 0, 0);
  w_.point2(11, 1, 1);
  w_.point2(12, (doc_.limits.xmin + doc_.limits.xmax) / 2, (doc_.limits.ymin + doc_.limits.ymax) / 2);
  w_.point2(13, 0, 0);
  w_.point2(14, 1, 1);
  w_.point2(15, 1, 1);
  w_.point(16, 0, 0, 1);
  w_.point(17, 0, 0, 0);
  w_.real(40, doc_.limits.ymax - doc_.limits.ymin);
  w_.real(41, 1.34);
  w_.real(42, 50);
  w_.real(43, 0);
  w_.real(44, 0);
  w_.real(50, 0);
  w_.real(51, 0);
  for (const auto& [code, value] : {std::pair{71, 0}, {72, 1000}, {73, 1}, {74, 3}, {75, 0}, {76, 0}, {77, 0},
                                    {78, 0}}) {
    w_.integer(code, value);
  }
  w_.tableEnd();
}

void DocumentSaver::linetypes() {
  const auto items = doc_.linetypes().items();
  table_head("LTYPE", handle::kLinetypeTable, items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    const memcad::Linetype& lt = *items[i];
    record_head("LTYPE", handles_.next(), handle::kLinetypeTable, "AcDbLinetypeTableRecord");
    w_.raw(2, linetype_names_[i]);
    w_.integer(70, 0);
    w_.text(3, lt.description);
    w_.integer(72, 65);
    w_.integer(73, static_cast<std::int64_t>(lt.pattern.size()));
    double length = 0;
    for (double dash : lt.pattern) length += dash < 0 ? -dash : dash;
    w_.real(40, length);
    for (double dash : lt.pattern) {
      w_.real(49, dash);
      w_.integer(74, 0);
    }
  }
  w_.tableEnd();
}

void DocumentSaver::layers() {
  const auto items = doc_.layers().items();
  table_head("LAYER", handle::kLayerTable, items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    const memcad::Layer& l = *items[i];
    record_head("LAYER", handles_.next(), handle::kLayerTable, "AcDbLayerTableRecord");
    w_.raw(2, layer_names_[i]);
    w_.integer(70, (l.frozen ? 1 : 0) | (l.locked ? 4 : 0));
    w_.integer(62, layer_color(l));
    if (l.true_color) w_.integer(420, packed_rgb(*l.true_color));
    w_.text(6, layer_linetype(doc_, l.linetype));
  }
  w_.tableEnd();
}

void DocumentSaver::text_styles() {
  const auto items = doc_.text_styles().items();
  table_head("STYLE", handle::kStyleTable, items.size());
  for (const auto& item : items) {
    const memcad::TextStyle& s = *item;
    record_head("STYLE", handles_.next(), handle::kStyleTable, "AcDbTextStyleTableRecord");
    w_.text(2, s.name());
    w_.integer(70, 0);
    w_.real(40, s.height);
    w_.real(41, s.width_factor);
    w_.degrees(50, s.oblique_angle);
    w_.integer(71, 0);
    w_.real(42, s.height > 0 ? s.height : 2.5);
    w_.text(3, s.font_file);
    w_.text(4, s.big_font_file);
  }
  w_.tableEnd();
}

void DocumentSaver::app_ids() {
  table_head("APPID", handle::kAppIdTable, 1);
  record_head("APPID", handle::kAcadAppId, handle::kAppIdTable, "AcDbRegAppTableRecord");
  w_.raw(2, "ACAD");
  w_.integer(70, 0);
  w_.tableEnd();
}

void DocumentSaver::dim_styles() {
  table_head("DIMSTYLE", handle::kDimStyleTable, 1);
  w_.raw(100, "AcDbDimStyleTable");
  record_head("DIMSTYLE", handle::kStandardDimStyle, handle::kDimStyleTable, "AcDbDimStyleTableRecord");
  w_.raw(2, "Standard");
  w_.integer(70, 0);
  w_.tableEnd();
}

// Model and paper space have fixed records; every other block gets one here.
void DocumentSaver::block_records() {
  table_head("BLOCK_RECORD", handle::kBlockRecordTable, blocks_.size() + 2);
  record_head("BLOCK_RECORD", handle::kModelSpaceRecord, handle::kBlockRecordTable, "AcDbBlockTableRecord");
  w_.raw(2, "*Model_Space");
  w_.hex(340, handle::kModelLayout);
  record_head("BLOCK_RECORD", handle::kPaperSpaceRecord, handle::kBlockRecordTable, "AcDbBlockTableRecord");
  w_.raw(2, "*Paper_Space");
  w_.hex(340, handle::kPaperLayout);
  block_records_.clear();
  for (const memcad::Block* b : blocks_) {
    block_records_.push_back(handles_.next());
    record_head("BLOCK_RECORD", block_records_.back(), handle::kBlockRecordTable, "AcDbBlockTableRecord");
    w_.text(2, b->name());
    w_.hex(340, 0);
  }
  w_.tableEnd();
}

}  // namespace kestrel::dxf
