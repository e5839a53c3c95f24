#include "recordfile/record_file.h"

#include <fstream>
#include <sstream>
#include <system_error>
#include <variant>
#include <vector>

#include "core/error.h"
#include "recordfile/record_json.h"
#include "platform/posix/safe_output.h"

namespace kestrel::model {

namespace {

// Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on "\"" + s + "\"".
std::string quoted(const std::filesystem::path& path) {
  std::string q = "\"";
  q += path.string();
  q += '"';
  return q;
}

template <class R>
std::string text_of(const R& record) {
  json_detail::JsonOut out;
  json_detail::write_document(out, record);
  return out.take();
}

template <class R>
void stream(core::ByteSink& sink, const R& record) {
  json_detail::JsonOut out(&sink);
  json_detail::write_document(out, record);
}

template <class R>
void replace_file(const std::filesystem::path& path, const R& record) {
  platform::SafeFileOutput output(path);
  stream(output, record);
  output.commit();
}

}  // namespace

std::string to_json(const t_Datos& set) { return text_of(set); }
std::string to_json(const t_Dibujo& drawing) { return text_of(drawing); }
std::string to_json(const RecordFile& file) {
  return std::visit([](const auto& record) { return text_of(record); }, file);
}

void write_json(core::ByteSink& out, const t_Datos& set) { stream(out, set); }
void write_json(core::ByteSink& out, const t_Dibujo& drawing) { stream(out, drawing); }
void write_json(core::ByteSink& out, const RecordFile& file) {
  std::visit([&](const auto& record) { stream(out, record); }, file);
}

RecordFile from_json(std::string_view text) {
  json_detail::check_document_size(text.size());
  return json_detail::read_document(json_detail::PaddedText(text));
}

t_Datos as_drawing_set(RecordFile file) {
  if (auto* set = std::get_if<t_Datos>(&file)) return std::move(*set);
  std::vector<t_Dibujo> drawings;
  drawings.push_back(std::move(std::get<t_Dibujo>(file)));
  t_Datos set;
  set.NuDibujos = 1;
  set.DibujoAct = 1;
  set.Dibujos = VbArray<t_Dibujo>(1, std::move(drawings));
  return set;
}

RecordFile read_record_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw core::Error(core::kFileNotFound, core::kRuntimeSource, "No se puede abrir " + quoted(path));
  std::error_code not_regular;
  const std::uintmax_t size = std::filesystem::file_size(path, not_regular);
  if (not_regular) {  // a pipe or a device: its size is only known once read
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw core::Error(core::kFileNotFound, core::kRuntimeSource, "No se puede leer " + quoted(path));
    return from_json(text.view());
  }
  json_detail::check_document_size(size);
  // Read straight into the parser's padded buffer: the text is held once.
  json_detail::PaddedText text(static_cast<std::size_t>(size));
  if (!in.read(text.data(), static_cast<std::streamsize>(size)) || in.peek() != std::ifstream::traits_type::eof())
    throw core::Error(core::kFileNotFound, core::kRuntimeSource, "No se puede leer " + quoted(path));
  return json_detail::read_document(text);
}

void write_record_file(const std::filesystem::path& path, const t_Datos& set) { replace_file(path, set); }
void write_record_file(const std::filesystem::path& path, const t_Dibujo& drawing) { replace_file(path, drawing); }
void write_record_file(const std::filesystem::path& path, const RecordFile& file) {
  std::visit([&](const auto& record) { replace_file(path, record); }, file);
}

}  // namespace kestrel::model
