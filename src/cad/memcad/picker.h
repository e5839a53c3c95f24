// Picker: who answers the CAD's on-screen input (Utility.GetPoint,
// Utility.GetEntity, SelectionSet.SelectOnScreen). Set one on the
// Application; with none, those calls fail as if the user pressed Escape.
// ScriptedPicker answers from queues filled in advance (tests, scripted runs).
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cad/memcad/entity.h"
#include "cad/memcad/geometry.h"

namespace kestrel::memcad {

class Document;

struct EntityPick {
  EntityPtr<Entity> entity;
  Vec3 point;  // where the entity was picked
};

class Picker {
 public:
  virtual ~Picker() = default;
  // Each answer is nullopt when the user cancels.
  virtual std::optional<Vec3> get_point(Document& doc, const std::optional<Vec3>& base, std::string_view prompt) = 0;
  virtual std::optional<EntityPick> get_entity(Document& doc, std::string_view prompt) = 0;
  virtual std::optional<std::vector<EntityPtr<Entity>>> select_on_screen(Document& doc) = 0;
};

class ScriptedPicker final : public Picker {
 public:
  // Chooses entities when the selection is asked for (the drawing as it is then).
  using Selector = std::function<std::vector<EntityPtr<Entity>>(Document&)>;

  // Answers are used in the order pushed, one queue per kind of request; an
  // empty queue cancels.
  void push_point(Vec3 point) { points_.emplace_back(point); }
  void push_entity(EntityPtr<Entity> entity, Vec3 at = {}) {
    entities_.emplace_back(EntityPick{std::move(entity), at});
  }
  void push_selection(std::vector<EntityPtr<Entity>> entities);
  void push_selection(Selector selector) { selections_.emplace_back(std::move(selector)); }
  void push_point_cancel() { points_.emplace_back(std::nullopt); }
  void push_entity_cancel() { entities_.emplace_back(std::nullopt); }
  void push_selection_cancel() { selections_.emplace_back(std::nullopt); }

  // The prompts shown so far, in order.
  [[nodiscard]] const std::vector<std::string>& prompts() const noexcept { return prompts_; }

  std::optional<Vec3> get_point(Document& doc, const std::optional<Vec3>& base, std::string_view prompt) override;
  std::optional<EntityPick> get_entity(Document& doc, std::string_view prompt) override;
  std::optional<std::vector<EntityPtr<Entity>>> select_on_screen(Document& doc) override;

 private:
  std::deque<std::optional<Vec3>> points_;
  std::deque<std::optional<EntityPick>> entities_;
  std::deque<std::optional<Selector>> selections_;
  std::vector<std::string> prompts_;
};

// A selector that takes every entity of model space.
[[nodiscard]] ScriptedPicker::Selector select_all_of_model_space();

}  // namespace kestrel::memcad
