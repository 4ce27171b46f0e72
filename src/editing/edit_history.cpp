#include "editing/edit_history.h"

#include <utility>

namespace qp40 {

EditHistory::EditHistory(std::size_t step_limit) : step_limit_(step_limit == 0 ? 1 : step_limit) {}

bool EditHistory::Record(std::string name, const EditState& before, const EditState& after) {
  if (before == after) return false;
  steps_.erase(steps_.end() - static_cast<std::ptrdiff_t>(undone_), steps_.end());
  undone_ = 0;
  steps_.push_back({std::move(name), before, after});
  while (steps_.size() > step_limit_) steps_.pop_front();
  return true;
}

std::optional<EditState> EditHistory::Undo() {
  if (!CanUndo()) return std::nullopt;
  ++undone_;
  return steps_[steps_.size() - undone_].before;
}

std::optional<EditState> EditHistory::Redo() {
  if (!CanRedo()) return std::nullopt;
  const Step& step = steps_[steps_.size() - undone_];
  --undone_;
  return step.after;
}

std::string EditHistory::UndoName() const {
  return CanUndo() ? steps_[steps_.size() - undone_ - 1].name : std::string();
}

std::string EditHistory::RedoName() const {
  return CanRedo() ? steps_[steps_.size() - undone_].name : std::string();
}

void EditHistory::Clear() {
  steps_.clear();
  undone_ = 0;
}

}  // namespace qp40
