#include "cad/memcad/document.h"

#include "cad/memcad/application.h"
#include "cad/memcad/arguments.h"
#include "cad/memcad/errors.h"
#include "cad/memcad/names.h"
#include "cad/memcad/selection.h"
#include "cad/memcad/utility.h"

namespace kestrel::memcad {

Session* session_of(const Document* doc) {
  if (!doc) raise_drawing_closed();
  return doc->call_session();
}

std::shared_ptr<Document> Document::create(std::string name) {
  return std::make_shared<Document>(Key{}, std::move(name));
}

Document::Document(Key, std::string name)
    : name_(std::move(name)),
      layers_(std::make_shared<Layers>(this)),
      linetypes_(std::make_shared<Linetypes>(this)),
      text_styles_(std::make_shared<TextStyles>(this)),
      blocks_(std::make_shared<Blocks>(this)),
      selection_sets_(std::make_shared<SelectionSets>(this)),
      utility_(std::make_shared<Utility>(this)) {
  layers_->add_new("0");
  linetypes_->add_reserved("ByBlock");
  linetypes_->add_reserved("ByLayer");
  linetypes_->add_new("Continuous").description = "Solid line";
  text_styles_->add_new("Standard");
  model_space_ = &blocks_->add_reserved(kModelSpaceName);
  paper_space_ = &blocks_->add_reserved(kPaperSpaceName);
  reset_layer_cache();
}

Document::~Document() {
  layers_->detach();
  linetypes_->detach();
  text_styles_->detach();
  blocks_->detach();
  selection_sets_->detach();
  utility_->detach();
}

Session* Document::call_session() const {
  if (closed_) raise_drawing_closed();
  return session_.get();
}

std::uint32_t Document::layer_index(std::string_view name) {
  if (name == cached_layer_name_) return cached_layer_index_;
  std::optional<std::uint32_t> index = layers_->index_of(name);
  if (!index) {
    if (!create_missing_records) raise_not_found("la capa \"" + std::string(name) + "\"");
    layers_->add_new(name);
    index = layers_->size() - 1;
  }
  cached_layer_name_.assign(name);
  cached_layer_index_ = *index;
  return *index;
}

std::uint16_t Document::linetype_index(std::string_view name) {
  std::optional<std::uint32_t> index = linetypes_->index_of(name);
  if (!index) {
    if (!create_missing_records) raise_not_found("el tipo de línea \"" + std::string(name) + "\"");
    if (linetypes_->size() > 0xFFFF) raise_refused("Demasiados tipos de línea");
    linetypes_->add_new(name);
    index = linetypes_->size() - 1;
  }
  return static_cast<std::uint16_t>(*index);
}

std::uint16_t Document::text_style_index(std::string_view name) {
  std::optional<std::uint32_t> index = text_styles_->index_of(name);
  if (!index) {
    if (!create_missing_records) raise_not_found("el estilo de texto \"" + std::string(name) + "\"");
    if (text_styles_->size() > 0xFFFF) raise_refused("Demasiados estilos de texto");
    text_styles_->add_new(name);
    index = text_styles_->size() - 1;
  }
  return static_cast<std::uint16_t>(*index);
}

void Document::rename_layer(Layer& layer, std::string_view name) {
  if (same_name(layer.name(), "0") && layer.name() != name) raise_refused("La capa 0 no se puede renombrar");
  layers_->rename(layer, name);
  reset_layer_cache();
}

void Document::reset_layer_cache() {
  // Layer "0" never moves or changes name, so it is always a safe cache entry.
  // (Built with push_back: GCC 12 warns wrongly on assigning a short literal.)
  cached_layer_name_.clear();
  cached_layer_name_.push_back('0');
  cached_layer_index_ = 0;
}

}  // namespace kestrel::memcad
