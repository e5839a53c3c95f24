#include <cmath>

#include "platform/posix/safe_output.h"
#include "cad/dxf/extents.h"
#include "cad/dxf/header_variables.h"
#include "cad/dxf/saver.h"
#include "cad/dxf/text_codec.h"
#include "core/error.h"

namespace kestrel::dxf {

namespace {

// An empty drawing's extents, as CAD programs write them.
constexpr double kNoExtents = 1e20;

std::string encoded(std::string_view utf8) {
  std::string out;
  encode_text(utf8, out);
  return out;
}

// $CECOLOR is a text in the drawing ("BYLAYER") and a number in the file.
std::int64_t color_number(const core::Variant& v) {
  if (v.type() == core::VarType::kString) {
    const std::string& s = v.as<std::string>();
    if (s == "BYLAYER" || s == "ByLayer" || s == "bylayer") return 256;
    if (s == "BYBLOCK" || s == "ByBlock" || s == "byblock") return 0;
  }
  return v.to_int16();
}

// Writes "$NAME" and its value; converts first, so that a value that does
// not convert (error 13 or 6) leaves nothing written.
void write_variable(const GroupWriter& w, const std::string& name, const HeaderVariable& h, const core::Variant& v) {
  const std::string key = "$" + name;
  switch (h.type) {
    case HeaderType::kText: {
      const std::string text = v.to_string();
      w.raw(9, key);
      w.text(h.code, text);
      return;
    }
    case HeaderType::kReal: {
      const double real = v.to_double();
      GroupWriter::require_finite(h.code, real);  // checked before the name is written
      w.raw(9, key);
      w.real(h.code, real);
      return;
    }
    case HeaderType::kPoint2:
    case HeaderType::kPoint3: {
      const core::VbArray<double> a = v.to_double_array();
      const int dims = h.type == HeaderType::kPoint2 ? 2 : 3;
      const auto coordinate = [&](int i) { return a.lbound() + i <= a.ubound() ? a[a.lbound() + i] : 0.0; };
      for (int i = 0; i < dims; ++i) GroupWriter::require_finite(h.code + 10 * i, coordinate(i));
      w.raw(9, key);
      for (int i = 0; i < dims; ++i) w.real(h.code + 10 * i, coordinate(i));
      return;
    }
    default: {
      const std::int64_t number = h.type == HeaderType::kColor ? color_number(v)
                                  : h.type == HeaderType::kInt32 ? std::int64_t{v.to_int32()}
                                                                  : std::int64_t{v.to_int16()};
      w.raw(9, key);
      w.integer(h.code, number);
    }
  }
}

}  // namespace

DocumentSaver::DocumentSaver(const memcad::Document& doc, const GroupWriter& writer, SaveReport* report)
    : WriteContext(writer), doc_(doc), w_(writer), report_(report), handles_(doc), blocks_(user_blocks(doc)) {
  for (const auto& l : doc.layers().items()) layer_names_.push_back(encoded(l->name()));
  for (const auto& l : doc.linetypes().items()) linetype_names_.push_back(encoded(l->name()));
  for (const auto& s : doc.text_styles().items()) style_names_.push_back(s->name());
  bylayer_linetype_ = doc.linetypes().index_of("ByLayer").value_or(UINT32_MAX);
}

const std::string& DocumentSaver::text_style_name(std::uint16_t index) const {
  return style_names_.at(index < style_names_.size() ? index : 0);
}

void DocumentSaver::write() {
  header();
  classes();
  tables();
  blocks();
  w_.section("ENTITIES");
  entities(doc_.model_space(), handle::kModelSpaceRecord, false);
  entities(doc_.paper_space(), handle::kPaperSpaceRecord, true);
  w_.sectionEnd();
  objects();
  w_.dxfEOF();
  w_.flush();
}

void DocumentSaver::header() {
  w_.section("HEADER");
  w_.raw(9, "$ACADVER");
  w_.raw(1, "AC1015");
  w_.raw(9, "$DWGCODEPAGE");
  w_.raw(3, "ANSI_1252");
  const memcad::Box box = model_extents(doc_);
  w_.raw(9, "$EXTMIN");
  if (box.empty()) {
    w_.point(10, kNoExtents, kNoExtents, kNoExtents);
  } else {
    w_.point(10, box.min().x, box.min().y, box.min().z);
  }
  w_.raw(9, "$EXTMAX");
  if (box.empty()) {
    w_.point(10, -kNoExtents, -kNoExtents, -kNoExtents);
  } else {
    w_.point(10, box.max().x, box.max().y, box.max().z);
  }
  w_.raw(9, "$LIMMIN");
  w_.point2(10, doc_.limits.xmin, doc_.limits.ymin);
  w_.raw(9, "$LIMMAX");
  w_.point2(10, doc_.limits.xmax, doc_.limits.ymax);
  header_variables();
  w_.raw(9, "$HANDSEED");
  w_.hex(5, handles_.seed());
  w_.sectionEnd();
}

// Every drawing variable the header stores, in name order; one whose value
// does not convert to the header's type is left out and reported.
void DocumentSaver::header_variables() {
  for (const auto& [name, value] : doc_.variables().all()) {
    const auto h = find_header_variable(name);
    if (!h) continue;
    try {
      write_variable(w_, name, *h, value);
    } catch (const core::Error&) {
      if (report_) ++report_->skipped["$" + name];
    }
  }
}

void DocumentSaver::classes() {
  w_.section("CLASSES");
  w_.sectionEnd();
}

void DocumentSaver::blocks() {
  w_.section("BLOCKS");
  block(doc_.model_space(), handle::kModelSpaceRecord, handle::kModelSpaceBlock, handle::kModelSpaceEnd);
  block(doc_.paper_space(), handle::kPaperSpaceRecord, handle::kPaperSpaceBlock, handle::kPaperSpaceEnd);
  for (std::size_t i = 0; i < blocks_.size(); ++i) {
    const std::uint64_t begin = handles_.next();
    block(*blocks_[i], block_records_[i], begin, handles_.next());
  }
  w_.sectionEnd();
}

// A block's definition; the layouts' entities go to ENTITIES instead.
void DocumentSaver::block(const memcad::Block& b, std::uint64_t record, std::uint64_t begin, std::uint64_t end) {
  const bool paper = b.is_paper_space();
  const std::string name = b.is_model_space() ? "*Model_Space" : paper ? "*Paper_Space" : b.name();
  w_.raw(0, "BLOCK");
  w_.hex(5, begin);
  w_.hex(330, record);
  w_.raw(100, "AcDbEntity");
  if (paper) w_.integer(67, 1);
  w_.raw(8, "0");
  w_.raw(100, "AcDbBlockBegin");
  w_.text(2, name);
  w_.integer(70, 0);
  w_.point(10, b.origin.x, b.origin.y, b.origin.z);
  w_.text(3, name);
  w_.raw(1, "");
  if (!b.is_layout()) entities(b, record, false);
  w_.raw(0, "ENDBLK");
  w_.hex(5, end);
  w_.hex(330, record);
  w_.raw(100, "AcDbEntity");
  if (paper) w_.integer(67, 1);
  w_.raw(8, "0");
  w_.raw(100, "AcDbBlockEnd");
}

void DocumentSaver::objects() {
  using namespace handle;
  w_.section("OBJECTS");
  w_.raw(0, "DICTIONARY");
  w_.hex(5, kRootDictionary);
  w_.hex(330, 0);
  w_.raw(100, "AcDbDictionary");
  w_.integer(281, 1);
  w_.raw(3, "ACAD_GROUP");
  w_.hex(350, kGroupDictionary);
  w_.raw(3, "ACAD_LAYOUT");
  w_.hex(350, kLayoutDictionary);
  w_.raw(0, "DICTIONARY");
  w_.hex(5, kGroupDictionary);
  w_.hex(330, kRootDictionary);
  w_.raw(100, "AcDbDictionary");
  w_.integer(281, 1);
  w_.raw(0, "DICTIONARY");
  w_.hex(5, kLayoutDictionary);
  w_.hex(330, kRootDictionary);
  w_.raw(100, "AcDbDictionary");
  w_.integer(281, 1);
  w_.raw(3, "Layout1");
  w_.hex(350, kPaperLayout);
  w_.raw(3, "Model");
  w_.hex(350, kModelLayout);
  layout(kModelLayout, "Model", 0, kModelSpaceRecord);
  layout(kPaperLayout, "Layout1", 1, kPaperSpaceRecord);
  w_.sectionEnd();
}

// A layout with the plot settings an R2000 reader requires.
void DocumentSaver::layout(std::uint64_t h, std::string_view name, int order, std::uint64_t record) {
  w_.raw(0, "LAYOUT");
  w_.hex(5, h);
  w_.hex(330, handle::kLayoutDictionary);
  plot_settings(order == 0);
  w_.raw(100, "AcDbLayout");
  w_.raw(1, name);
  w_.integer(70, 1);
  w_.integer(71, order);
  w_.point2(10, doc_.limits.xmin, doc_.limits.ymin);
  w_.point2(11, doc_.limits.xmax, doc_.limits.ymax);
  w_.point(12, 0, 0, 0);
  w_.point(14, kNoExtents, kNoExtents, kNoExtents);
  w_.point(15, -kNoExtents, -kNoExtents, -kNoExtents);
  w_.real(146, 0);
  w_.point(13, 0, 0, 0);
  w_.point(16, 1, 0, 0);
  w_.point(17, 0, 1, 0);
  w_.integer(76, 1);
  w_.hex(330, record);
}

// No plotter, an A3 sheet (420 x 297 mm).
void DocumentSaver::plot_settings(bool model) {
  w_.raw(100, "AcDbPlotSettings");
  w_.raw(1, "");
  w_.raw(2, "none_device");
  w_.raw(4, "");
  w_.raw(6, "");
  for (int code = 40; code <= 49; ++code) w_.real(code, code == 44 ? 420.0 : code == 45 ? 297.0 : 0.0);
  w_.real(140, 0);
  w_.real(141, 0);
  w_.real(142, 1);
  w_.real(143, 1);
  w_.integer(70, model ? 1024 : 0);
  w_.integer(72, 1);
  w_.integer(73, 0);
  w_.integer(74, 5);
  w_.raw(7, "");
  w_.integer(75, 16);
  w_.real(147, 1);
  w_.real(148, 0);
  w_.real(149, 0);
}

void save_dxf(const memcad::Document& doc, core::ByteSink& output, SaveReport* report) {
  const GroupWriter writer(output);
  DocumentSaver(doc, writer, report).write();
}

void save_dxf(const memcad::Document& doc, const std::filesystem::path& file, SaveReport* report) {
  platform::SafeFileOutput output(file);
  save_dxf(doc, output, report);
  output.commit();
}

std::string save_dxf_text(const memcad::Document& doc, SaveReport* report) {
  core::StringSink output;
  save_dxf(doc, output, report);
  return std::move(output.text());
}

}  // namespace kestrel::dxf
