// The keypad session's history: snapshots of what the keypad holds, kept without asking.
#include <algorithm>
#include <chrono>
#include <string>

#include "history/history_folder.h"
#include "session/keypad_list.h"
#include "session/keypad_session.h"

namespace qp40 {

void KeypadSession::SetHistoryRoot(std::filesystem::path root, HistoryLimits limits) {
  history_root_ = std::move(root);
  history_limits_ = limits;
}

std::optional<SnapshotStore> KeypadSession::KeypadHistory() const {
  const DeviceId& identity = link_.GetDeviceId();
  const bool known = std::any_of(identity.begin(), identity.end(), [](auto b) { return b != 0; });
  if (!history_root_ || !known) return std::nullopt;
  return SnapshotStore(KeypadHistoryFolder(*history_root_, IdentityText(identity)),
                       history_limits_);
}

Layout KeypadSession::HeldLayout() {
  const Configuration held = copy_.Held(config_).value_or(config_);
  const KeyTextLookup texts = TableTexts(held);
  return MakeLayout(held, texts, known_macros_.value_or(std::map<int, MacroBuffer>{}), std::nullopt,
                    IdentityText(link_.GetDeviceId()));
}

void KeypadSession::KeepSnapshot(SnapshotEvent event, Layout layout) {
  std::optional<SnapshotStore> history = KeypadHistory();
  if (!history) return;
  layout.identity = IdentityText(link_.GetDeviceId());
  // Chords are the user's, not the keypad's: the history keeps what the keypad holds.
  layout.chords.reset();
  const KeepStatus kept =
      history->Keep(event, LayoutText(layout), std::chrono::system_clock::now());
  if (kept == KeepStatus::kFailed && !history_warned_) {
    history_warned_ = true;
    log_.AppendLog(">> History: " + history->Folder().string() +
                   " cannot be written; no snapshots are kept");
  }
}

}  // namespace qp40
