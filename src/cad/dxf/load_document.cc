#include <charconv>
#include <cstring>
#include <fstream>
#include <memory>

#include "cad/dxf/header_variables.h"
#include "cad/dxf/loader.h"
#include "cad/dxf/number_text.h"
#include "cad/memcad/names.h"
#include "core/utf8.h"
#include "core/error.h"

namespace kestrel::dxf {

namespace {

std::int64_t leading_integer(std::string_view text) noexcept {
  text = trimmed(text);
  std::int64_t v = 0;
  std::from_chars(text.data(), text.data() + text.size(), v);
  return v;
}

// The drawing's value of a header variable, typed as the catalogue says.
core::Variant header_value(const HeaderVariable& h, const RawHeaderValue& raw, TextDecoder& decoder) {
  const double real = raw.is_real ? raw.real : 0.0;
  switch (h.type) {
    case HeaderType::kText: return core::Variant(decoder.decode(raw.text));
    case HeaderType::kInt16: return core::Variant(static_cast<std::int16_t>(leading_integer(raw.text)));
    case HeaderType::kInt32: return core::Variant(static_cast<std::int32_t>(leading_integer(raw.text)));
    case HeaderType::kReal: return core::Variant(raw.is_real ? real : static_cast<double>(leading_integer(raw.text)));
    case HeaderType::kPoint2: return core::Variant(core::VbArray<double>(0, {raw.x, raw.y}));
    case HeaderType::kPoint3: return core::Variant(core::VbArray<double>(0, {raw.x, raw.y, raw.z}));
    case HeaderType::kColor: {
      const std::int64_t n = leading_integer(raw.text);
      return core::Variant(n == 256 ? std::string("BYLAYER") : n == 0 ? std::string("BYBLOCK") : std::to_string(n));
    }
  }
  return {};
}

// Which layout a block name stands for: R12 files name them "$MODEL_SPACE"
// and "$PAPER_SPACE"; later files add "*Paper_Space0", "*Paper_Space1" ...
// for their other layouts.
enum class Layout { kNone, kModel, kPaper, kOther };

Layout layout_of(std::string_view n) {
  if (memcad::same_name(n, "*Model_Space") || memcad::same_name(n, "$MODEL_SPACE")) return Layout::kModel;
  if (memcad::same_name(n, "*Paper_Space") || memcad::same_name(n, "$PAPER_SPACE")) return Layout::kPaper;
  if (memcad::same_name(n.substr(0, 12), "*Paper_Space")) return Layout::kOther;
  return Layout::kNone;
}

// Whether what `in` holds from `start` on is all well-formed UTF-8, read a
// piece at a time (a piece ends before a sequence it cuts, which starts the
// next piece). The stream is left where it was.
bool stream_is_valid_utf8(std::istream& in, std::streampos start) {
  in.clear();
  const std::streampos here = in.tellg();
  in.seekg(start);
  constexpr std::size_t kPiece = std::size_t{1} << 16;
  std::string buffer(kPiece + 4, '\0');
  std::size_t carried = 0;
  bool valid = true;
  while (valid && in) {
    in.read(buffer.data() + carried, static_cast<std::streamsize>(kPiece));
    const std::size_t size = carried + static_cast<std::size_t>(in.gcount());
    std::size_t cut = size;
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
      const auto c = static_cast<unsigned char>(buffer[size - back]);
      if ((c & 0xC0) == 0x80) continue;
      if (c >= 0xC0 && in) cut = size - back;
      break;
    }
    valid = core::is_valid_utf8(std::string_view(buffer.data(), cut));
    carried = size - cut;
    std::memmove(buffer.data(), buffer.data() + cut, carried);
  }
  in.clear();
  in.seekg(here);
  return valid && carried == 0;
}

}  // namespace

DocumentLoader::DocumentLoader(std::string_view text, std::string name, LoadReport* report)
    : ReadContext(reader_, decoder_),
      file_is_utf8_([text] { return core::is_valid_utf8(text); }),
      reader_(text, name),
      decoder_(FileEncoding::kWindows1252),
      report_(report ? *report : own_report_),
      doc_(memcad::Document::create(std::filesystem::path(name).filename().string())) {
  report_ = LoadReport{};
}

DocumentLoader::DocumentLoader(std::istream& in, std::string name, LoadReport* report, std::size_t window)
    : ReadContext(reader_, decoder_),
      file_is_utf8_([&in, start = in.tellg()] { return stream_is_valid_utf8(in, start); }),
      reader_(in, name, window),
      decoder_(FileEncoding::kWindows1252),
      report_(report ? *report : own_report_),
      doc_(memcad::Document::create(std::filesystem::path(name).filename().string())) {
  report_ = LoadReport{};
}

void DocumentLoader::note(std::string text) { report_.notes.push_back(std::move(text)); }

// The next record: a code 0 group and the groups up to the next one.
// Comments (999) are dropped.
bool DocumentLoader::read_record(Record& record) {
  reader_.release();
  Group g;
  do {
    if (!reader_.next(g)) return false;
  } while (g.code == 999);
  if (g.code != 0) {
    reader_.fail(g.line, "se esperaba el comienzo de un registro (código 0) y hay el código " +
                             std::to_string(g.code));
  }
  record.clear();
  record.push_back(g);
  while (reader_.next(g)) {
    if (g.code == 0) {
      reader_.unread(g);  // the start of the next record
      break;
    }
    if (g.code != 999) record.push_back(g);
  }
  return true;
}

// The top level: "0 SECTION" and "2 <name>" open a section, "0 EOF" ends the file.
std::shared_ptr<memcad::Document> DocumentLoader::load() {
  Group g;
  bool ended = false;
  bool sections = false;
  while (!ended && reader_.next(g)) {
    if (g.code == 999) continue;
    const std::string_view kind = trimmed(g.value);
    if (g.code == 0 && kind == "EOF") {
      ended = true;
    } else if (g.code == 0 && kind == "SECTION") {
      Group name;
      if (!reader_.next(name) || name.code != 2) reader_.fail(g.line, "sección sin nombre (falta el código 2)");
      read_section(trimmed(name.value), name.line);
      sections = true;
    } else {
      reader_.fail(g.line, "se esperaba SECTION o EOF y hay «" + std::string(kind.substr(0, 40)) + "» (código " +
                               std::to_string(g.code) + ")");
    }
  }
  if (!ended && !sections) reader_.fail(0, "no es un archivo DXF: no tiene ninguna sección");
  if (!ended) note("El archivo termina sin el registro EOF");
  finish();
  return doc_;
}

void DocumentLoader::read_section(std::string_view name, std::size_t line) {
  if (name != "HEADER") choose_encoding();
  if (name == "HEADER") {
    read_header();
  } else if (name == "TABLES") {
    read_tables();
  } else if (name == "BLOCKS") {
    read_blocks();
  } else if (name == "ENTITIES") {
    read_entities(&doc_->model_space(), "ENDSEC");
  } else if (name.empty()) {
    reader_.fail(line, "sección sin nombre");
  } else {
    skip_section();
  }
}

// dxflib reads a real with an istringstream and leaves it undefined when the
// text is empty or not a number: reals are checked here first (and raise
// the load error naming the line).
void DocumentLoader::feed_dxflib(const Group& g) {
  const int c = g.code;
  if ((c >= 10 && c <= 59) || (c >= 110 && c <= 149) || (c >= 210 && c <= 239) || (c >= 460 && c <= 469) ||
      (c >= 1010 && c <= 1059)) {
    (void)reader_.real(g);
  }
  dxflib_.feed(g);
}

// Each variable ("9 $NAME" and its value groups) goes to dxflib as one record.
void DocumentLoader::read_header() {
  Group g;
  bool in_variable = false;
  for (;;) {
    if (!reader_.peek(g)) reader_.fail(0, "el archivo termina dentro de la sección HEADER (archivo truncado)");
    if (g.code == 0) break;
    (void)reader_.next(g);
    if (g.code == 999) continue;
    if (g.code == 9) {
      if (in_variable) dxflib_.end_record();
      in_variable = true;
    }
    if (in_variable) feed_dxflib(g);
  }
  if (in_variable) dxflib_.end_record();
  Record end;
  (void)read_record(end);
  if (trimmed(end[0].value) != "ENDSEC") reader_.fail(end[0].line, "la sección HEADER no termina con ENDSEC");
  apply_header();
}

void DocumentLoader::apply_header() {
  for (const RawHeaderValue& raw : dxflib_.records().header) {
    if (raw.name == "$ACADVER") acad_version_ = raw.text;
    if (raw.name == "$DWGCODEPAGE") code_page_ = raw.text;
  }
  report_.acad_version = acad_version_;
  choose_encoding();
  for (const RawHeaderValue& raw : dxflib_.records().header) {
    if (raw.name == "$LIMMIN" && raw.is_point) {
      doc_->limits.xmin = raw.x;
      doc_->limits.ymin = raw.y;
    } else if (raw.name == "$LIMMAX" && raw.is_point) {
      doc_->limits.xmax = raw.x;
      doc_->limits.ymax = raw.y;
    } else if (const auto h = find_header_variable(std::string_view(raw.name).substr(raw.name.empty() ? 0 : 1))) {
      try {
        doc_->variables().set(h->name, header_value(*h, raw, decoder_));
      } catch (const core::Error&) {
        note("Variable " + raw.name + " con un valor no válido: se ignora");
      }
    }
  }
  dxflib_.records().header.clear();
}

// Text follows $DWGCODEPAGE before R2007 and is UTF-8 from R2007 on; a
// Windows-1252 file whose bytes all form UTF-8 is read as UTF-8 (several
// programs write UTF-8 whatever they declare), see TextDecoder.
void DocumentLoader::choose_encoding() {
  if (encoding_chosen_) return;
  encoding_chosen_ = true;
  bool known = true;
  const FileEncoding encoding = file_encoding(acad_version_, code_page_, known);
  if (!known) note("Página de códigos «" + code_page_ + "» no disponible: el texto se lee como ANSI_1252");
  decoder_ = TextDecoder(encoding, file_is_utf8_);
}

void DocumentLoader::read_tables() {
  Record record;
  for (;;) {
    if (!read_record(record)) reader_.fail(0, "el archivo termina dentro de la sección TABLES (archivo truncado)");
    const std::string_view kind = trimmed(record[0].value);
    if (kind == "ENDSEC") return;
    if (kind == "BLOCK_RECORD") declare_block(record);
    if (!TableRecordReader::reads_record(kind) || kind == "BLOCK") continue;
    for (const Group& g : record) feed_dxflib(g);
    dxflib_.end_record();
    if (kind == "LTYPE") linetype_dashes(record);
    apply_table_records();
  }
}

// A block record declares a block before the BLOCKS section defines it:
// creating the blocks in record order keeps the file's order of blocks,
// whatever order their references come in.
void DocumentLoader::declare_block(const Record& record) {
  for (const Group& g : record) {
    if (g.code == 2) {
      (void)referenced_block(g.value);
      return;
    }
  }
}

// dxflib (3.26) reports a line type without its dashes: they are the record's 49 groups.
void DocumentLoader::linetype_dashes(const Record& record) {
  std::vector<RawLinetype>& linetypes = dxflib_.records().linetypes;
  if (linetypes.empty() || !linetypes.back().dashes.empty()) return;
  for (const Group& g : record) {
    if (g.code == 49) linetypes.back().dashes.push_back(reader_.real(g));
  }
}

void DocumentLoader::apply_table_records() {
  TableRecords& r = dxflib_.records();
  for (const RawLayer& raw : r.layers) {
    memcad::Layer& layer = doc_->layers().at(layer_index(raw.name));
    const int color = raw.color < 0 ? -raw.color : raw.color;
    layer.color = static_cast<std::int16_t>(color >= 1 && color <= 255 ? color : 7);
    layer.on = raw.color >= 0;
    layer.frozen = (raw.flags & 1) != 0;
    layer.locked = (raw.flags & 4) != 0;
    if (raw.true_color >= 0) {
      layer.true_color = memcad::Rgb{static_cast<std::uint8_t>(raw.true_color >> 16),
                                     static_cast<std::uint8_t>(raw.true_color >> 8),
                                     static_cast<std::uint8_t>(raw.true_color)};
    }
    const std::string linetype = decoder_.decode(raw.linetype);
    layer.linetype = linetype.empty() || memcad::same_name(linetype, "BYLAYER") || memcad::same_name(linetype, "BYBLOCK")
                         ? std::string("Continuous")
                         : linetype;
  }
  for (const RawLinetype& raw : r.linetypes) {
    memcad::Linetype& lt = doc_->linetypes().at(linetype_index(raw.name));
    lt.description = decoder_.decode(raw.description);
    lt.pattern = raw.dashes;
  }
  for (const RawStyle& raw : r.styles) {
    if (raw.name.empty() || (raw.flags & 1) != 0) continue;  // shape files are not text styles
    const auto index = find_or_add_style(raw.name);
    if (!index) continue;  // past the styles a text can name
    memcad::TextStyle& s = doc_->text_styles().at(*index);
    s.font_file = decoder_.decode(raw.font_file);
    s.big_font_file = decoder_.decode(raw.big_font_file);
    s.height = raw.height;
    s.width_factor = raw.width_factor > 0 ? raw.width_factor : 1.0;
    s.oblique_angle = degrees_to_radians(raw.oblique_degrees);
  }
  r.layers.clear();
  r.linetypes.clear();
  r.styles.clear();
}

void DocumentLoader::read_blocks() {
  for (;;) {
    if (!record_pending_ && !read_record(record_)) {
      reader_.fail(0, "el archivo termina dentro de la sección BLOCKS (archivo truncado)");
    }
    record_pending_ = false;
    const std::string_view kind = trimmed(record_[0].value);
    if (kind == "ENDSEC") return;
    if (kind != "BLOCK") continue;
    for (const Group& g : record_) feed_dxflib(g);
    dxflib_.end_record();
    std::optional<RawBlockHeader> header = std::move(dxflib_.records().block);
    dxflib_.records().block.reset();
    memcad::Block* target = header ? block_definition(*header) : nullptr;
    if (!header) ++report_.skipped["BLOCK"];
    read_entities(target, "ENDBLK");
  }
}

// Sections this reader does not use (CLASSES, OBJECTS, ACDSDATA ...) are
// skipped group by group: some hold groups before their first record.
void DocumentLoader::skip_section() {
  Group g;
  for (;;) {
    reader_.release();
    if (!reader_.next(g)) reader_.fail(0, "el archivo termina dentro de una sección (archivo truncado)");
    if (g.code == 0 && trimmed(g.value) == "ENDSEC") return;
  }
}

// Where the entities of a BLOCK record go: the layout it stands for, its
// block (with the header's base point), or nowhere for a layout memcad does
// not have.
memcad::Block* DocumentLoader::block_definition(const RawBlockHeader& header) {
  const std::string name = decoder_.decode(header.name);
  switch (layout_of(name)) {
    case Layout::kModel: return &doc_->model_space();
    case Layout::kPaper: return &doc_->paper_space();
    case Layout::kOther:
      note("Bloque de presentación «" + name + "»: sus entidades no se leen");
      return nullptr;
    case Layout::kNone: break;
  }
  memcad::Block* block = referenced_block(header.name);
  block->origin = {header.x, header.y, header.z};
  return block;
}

// The block an INSERT names, created empty when its definition has not come
// yet; null for a layout, which no reference may place.
memcad::Block* DocumentLoader::referenced_block(std::string_view raw_name) {
  const std::string name = decoder_.decode(raw_name);
  if (layout_of(name) != Layout::kNone) return nullptr;
  if (memcad::Block* b = doc_->blocks().find(name)) return b;
  return &doc_->blocks().add_reserved(name.empty() ? std::string("*U") : name);
}

void DocumentLoader::finish() {
  const std::uint64_t next = doc_->next_handle();
  doc_->set_next_handle(std::max(next, highest_handle_ + 1));
  if (tilted_hatches_ > 0) {
    note(std::to_string(tilted_hatches_) +
         " sombreados inclinados (extrusión distinta de ±Z): su contorno se conserva en su sistema propio (OCS)");
  }
  if (polyline_widths_ > 0) {
    note(std::to_string(polyline_widths_) + " polilíneas 2D con anchos: los anchos no se conservan");
  }
  if (decoder_.switched_to_utf8()) {
    note("El archivo declara " + (code_page_.empty() ? std::string("ANSI_1252") : code_page_) +
         " pero su texto es UTF-8 válido: se lee como UTF-8");
  }
  if (decoder_.fallbacks() > 0) {
    note(std::to_string(decoder_.fallbacks()) + " textos que no son UTF-8 válido se leen como ANSI_1252");
  }
}

std::shared_ptr<memcad::Document> load_dxf_text(std::string_view text, std::string name, LoadReport* report) {
  return DocumentLoader(text, std::move(name), report).load();
}

std::shared_ptr<memcad::Document> load_dxf_stream(std::istream& in, std::string name, LoadReport* report,
                                                  std::size_t window) {
  return DocumentLoader(in, std::move(name), report, window).load();
}

std::shared_ptr<memcad::Document> load_dxf(const std::filesystem::path& file, LoadReport* report) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) {
    throw core::Error(core::kFileNotFound, "", "No se encuentra el archivo DXF «" + file.string() + "»");
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) raise_load_error(file.string(), 0, "no se puede abrir el archivo");
  return load_dxf_stream(in, file.string(), report);
}

}  // namespace kestrel::dxf
