#include "cad/dxf/table_records.h"

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include <sstream>

namespace kestrel::dxf {

namespace {

// Collects what dxflib reports. dxflib gives a record's colour, true colour
// and line type through the attributes it sets just before the callback.
class Collector final : public DL_CreationAdapter {
 public:
  TableRecords records;

  void addLayer(const DL_LayerData& data) override {
    const DL_Attributes a = getAttributes();
    records.layers.push_back(RawLayer{data.name, data.flags, a.getColor(), a.getColor24(), a.getLinetype()});
  }
  // dxflib reports a line type's dashes as it meets them, before the line type itself.
  void addLinetype(const DL_LinetypeData& data) override {
    records.linetypes.push_back(RawLinetype{data.name, data.description, std::move(dashes_)});
    dashes_.clear();
  }
  void addLinetypeDash(double length) override { dashes_.push_back(length); }
  void addTextStyle(const DL_StyleData& data) override {
    records.styles.push_back(RawStyle{data.name, data.flags, data.fixedTextHeight, data.widthFactor,
                                      data.obliqueAngle, data.primaryFontFile, data.bigFontFile});
  }
  void addBlock(const DL_BlockData& data) override {
    records.block = RawBlockHeader{data.name, data.flags, data.bpx, data.bpy, data.bpz};
  }
  // A record dxflib does not report (a line type without a name) leaves no dashes behind.
  void clear_pending() { dashes_.clear(); }
  void setVariableVector(const std::string& key, double v1, double v2, double v3, int code) override {
    RawHeaderValue v;
    v.name = key;
    v.code = code;
    v.x = v1;
    v.y = v2;
    v.z = v3;
    v.is_point = true;
    records.header.push_back(std::move(v));
  }
  void setVariableString(const std::string& key, const std::string& value, int code) override {
    records.header.push_back(RawHeaderValue{key, code, value});
  }
  void setVariableInt(const std::string& key, int value, int code) override {
    records.header.push_back(RawHeaderValue{key, code, std::to_string(value)});
  }
  void setVariableDouble(const std::string& key, double value, int code) override {
    RawHeaderValue v;
    v.name = key;
    v.code = code;
    v.real = value;
    v.is_real = true;
    records.header.push_back(std::move(v));
  }

 private:
  std::vector<double> dashes_;
};

}  // namespace

struct TableRecordReader::State {
  DL_Dxf dxf;
  Collector collector;
};

TableRecordReader::TableRecordReader() : state_(std::make_unique<State>()) {
  // Reading an empty stream sets up dxflib's reader state (its first-call
  // and current-record markers), which processDXFGroup relies on.
  std::stringstream empty;
  state_->dxf.in(empty, &state_->collector);
}

TableRecordReader::~TableRecordReader() = default;

bool TableRecordReader::reads_record(std::string_view kind) noexcept {
  return kind == "LAYER" || kind == "LTYPE" || kind == "STYLE" || kind == "BLOCK";
}

void TableRecordReader::feed(const Group& group) {
  state_->dxf.processDXFGroup(&state_->collector, group.code, std::string(group.value));
}

void TableRecordReader::end_record() {
  // A code 0 group with an empty value completes the record and starts none.
  state_->dxf.processDXFGroup(&state_->collector, 0, std::string());
  state_->collector.clear_pending();
}

TableRecords& TableRecordReader::records() noexcept { return state_->collector.records; }

}  // namespace kestrel::dxf
