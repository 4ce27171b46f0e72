#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>

#include "macros/macro_record.h"
#include "model/configuration.h"

namespace qp40 {

// What one step of the window's edit history restores: the whole configuration (profile image,
// working copy, key code map, both text tables), the profile the window shows and the macros
// the next save writes (an imported layout's).
struct EditState {
  Configuration config;
  std::uint8_t shown_profile = 0;
  std::map<int, MacroBuffer> pending_macros;

  bool operator==(const EditState&) const = default;
};

// The window's one edit history: every change to the configuration is a named step that holds
// the state before and after it, so undo and redo put back exactly what was there. A step costs
// two snapshots (2 × about 10.5 KB); at most `step_limit` steps are kept, the oldest going first.
class EditHistory {
 public:
  static constexpr std::size_t kDefaultStepLimit = 500;

  explicit EditHistory(std::size_t step_limit = kDefaultStepLimit);

  // Records a step from `before` to `after`, named for the user ("Key 23: Enter"). The steps
  // that could be redone are dropped. A step that changes nothing is not recorded (false).
  bool Record(std::string name, const EditState& before, const EditState& after);

  // The state to put back for undo or redo, moving through the history; nothing when there is
  // no step to undo or redo.
  std::optional<EditState> Undo();
  std::optional<EditState> Redo();

  bool CanUndo() const { return undone_ < steps_.size(); }
  bool CanRedo() const { return undone_ > 0; }
  // The name of the step Undo or Redo would take back or do again; empty when there is none.
  std::string UndoName() const;
  std::string RedoName() const;

  void Clear();
  std::size_t StepCount() const { return steps_.size(); }
  std::size_t StepLimit() const { return step_limit_; }

 private:
  struct Step {
    std::string name;
    EditState before;
    EditState after;
  };

  std::size_t step_limit_;
  std::deque<Step> steps_;
  // How many of the newest steps have been undone (and may be redone).
  std::size_t undone_ = 0;
};

}  // namespace qp40
