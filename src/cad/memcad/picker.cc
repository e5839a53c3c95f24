#include "cad/memcad/picker.h"

#include "cad/memcad/document.h"

namespace kestrel::memcad {

namespace {

template <class T>
std::optional<T> next(std::deque<std::optional<T>>& queue) {
  if (queue.empty()) return std::nullopt;
  std::optional<T> answer = std::move(queue.front());
  queue.pop_front();
  return answer;
}

}  // namespace

void ScriptedPicker::push_selection(std::vector<EntityPtr<Entity>> entities) {
  selections_.emplace_back([chosen = std::move(entities)](Document&) { return chosen; });
}

std::optional<Vec3> ScriptedPicker::get_point(Document&, const std::optional<Vec3>&, std::string_view prompt) {
  prompts_.emplace_back(prompt);
  return next(points_);
}

std::optional<EntityPick> ScriptedPicker::get_entity(Document&, std::string_view prompt) {
  prompts_.emplace_back(prompt);
  return next(entities_);
}

std::optional<std::vector<EntityPtr<Entity>>> ScriptedPicker::select_on_screen(Document& doc) {
  std::optional<Selector> selector = next(selections_);
  if (!selector) return std::nullopt;
  return (*selector)(doc);
}

ScriptedPicker::Selector select_all_of_model_space() {
  return [](Document& doc) {
    const auto entities = doc.model_space().entities();
    return std::vector<EntityPtr<Entity>>(entities.begin(), entities.end());
  };
}

}  // namespace kestrel::memcad
