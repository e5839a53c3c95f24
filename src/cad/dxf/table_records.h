// Header variables, symbol table records (layers, line types, text styles)
// and block headers, read through dxflib. The loader hands dxflib one
// record at a time — only the record kinds listed here, never entities or
// comments — so dxflib's reader sees well-formed groups of small records.
// Strings come back as the file's bytes; the loader decodes them.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cad/dxf/group_reader.h"

namespace kestrel::dxf {

struct RawHeaderValue {
  std::string name;  // "$PDMODE"
  int code = 0;      // the first group code of the value
  std::string text;  // for string, integer and other single values
  double x = 0, y = 0, z = 0;
  double real = 0;
  bool is_point = false;
  bool is_real = false;
};

struct RawLayer {
  std::string name;
  int flags = 0;  // 1 frozen, 4 locked
  int color = 7;  // negative: the layer is off
  int true_color = -1;
  std::string linetype;
};

struct RawLinetype {
  std::string name;
  std::string description;
  std::vector<double> dashes;
};

struct RawStyle {
  std::string name;
  int flags = 0;
  double height = 0;
  double width_factor = 1;
  double oblique_degrees = 0;
  std::string font_file;
  std::string big_font_file;
};

struct RawBlockHeader {
  std::string name;
  int flags = 0;
  double x = 0, y = 0, z = 0;
};

// What dxflib gave for the records fed since the last take.
struct TableRecords {
  std::vector<RawHeaderValue> header;
  std::vector<RawLayer> layers;
  std::vector<RawLinetype> linetypes;
  std::vector<RawStyle> styles;
  std::optional<RawBlockHeader> block;
};

class TableRecordReader {
 public:
  TableRecordReader();
  ~TableRecordReader();
  TableRecordReader(const TableRecordReader&) = delete;
  TableRecordReader& operator=(const TableRecordReader&) = delete;

  // True for the record kinds (the value of a code 0 group) read here.
  [[nodiscard]] static bool reads_record(std::string_view kind) noexcept;

  // Feeds one group; a record starts with its code 0 (or, in the header,
  // code 9) group. Comments (999) are not fed.
  void feed(const Group& group);
  // Completes the record being fed: dxflib reports it.
  void end_record();

  [[nodiscard]] TableRecords& records() noexcept;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace kestrel::dxf
