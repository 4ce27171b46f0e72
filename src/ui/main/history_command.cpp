// "History…": the keypad's snapshots, compared with what the window shows, and put back.
#include <QPushButton>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "history/change_summary.h"
#include "history/snapshot_store.h"
#include "layout/layout_diff.h"
#include "layout/layout_file.h"
#include "session/layout_import.h"
#include "ui/common/dialog_template.h"
#include "ui/main/history_dialog.h"
#include "ui/main/main_dialog.h"
#include "ui/main/main_dialog_ids.h"
#include "ui/main/text_list_dialog.h"

namespace qp40 {
namespace {

constexpr const char* kTitle = "History";

// Every snapshot of `history`, read once: the dialog's lines and the layouts to restore from.
struct ReadHistory {
  std::vector<HistoryEntry> entries;
  std::vector<std::optional<Layout>> layouts;
  std::vector<int> numbers;
};

ReadHistory ReadSnapshots(const SnapshotStore& history, const Layout& shown) {
  ReadHistory read;
  std::optional<Layout> previous;
  for (const Snapshot& snapshot : history.List()) {
    const std::optional<std::string> text = history.Read(snapshot);
    std::optional<Layout> layout = text ? ParseLayoutText(*text).layout : std::nullopt;
    HistoryEntry entry;
    std::string summary = "cannot be read";
    if (layout) {
      summary = previous ? ChangeSummary(DiffLayouts(*previous, *layout)) : "first snapshot";
      entry.readable = true;
      Layout now = shown;
      // The history keeps what the keypad holds: no chords, and macros only when they were
      // known when the snapshot was kept.
      now.chords.reset();
      now.identity = layout->identity;
      if (layout->macros.empty()) now.macros.clear();
      for (const std::string& line : DiffLayouts(now, *layout)) {
        entry.changes << QString::fromStdString(line);
      }
      previous = layout;
    }
    entry.line = QStringLiteral("%1  %2  %3  %4")
                     .arg(snapshot.number, 4)
                     .arg(QString::fromStdString(snapshot.time),
                          QString::fromUtf8(
                              SnapshotEventText(snapshot.event).data(),
                              static_cast<qsizetype>(SnapshotEventText(snapshot.event).size())),
                          QString::fromStdString(summary));
    read.entries.push_back(std::move(entry));
    read.layouts.push_back(std::move(layout));
    read.numbers.push_back(snapshot.number);
  }
  return read;
}

// The name of the undo step and the log line of a restore.
std::string RestoreName(HistoryRestore restore, int number, std::uint8_t profile) {
  const std::string snapshot = "snapshot " + std::to_string(number);
  switch (restore) {
    case HistoryRestore::kProfile:
      return "Restore profile " + std::to_string(profile + 1) + " of " + snapshot;
    case HistoryRestore::kMacros:
      return "Restore the macros of " + snapshot;
    default:
      return "Restore " + snapshot;
  }
}

}  // namespace

void CMorvelDlg::ConnectHistory() {
  auto* button = DialogItem<QPushButton>(*this, kIdHistory);
  button->setText(QString::fromUtf8("History…"));
  button->setToolTip(QStringLiteral("Shortcut: Ctrl+H"));
  connect(button, &QPushButton::clicked, this, &CMorvelDlg::OnHistory);
}

void CMorvelDlg::OnHistory() {
  KeypadSession& session = services_.session;
  const std::optional<SnapshotStore> history =
      session.Copy().Empty() ? std::nullopt : session.KeypadHistory();
  QString none;
  if (session.Copy().Empty()) {
    none = QStringLiteral("No keypad has been loaded: there is no history to show.");
  } else if (!history) {
    none = QStringLiteral("No data folder is known: no history of the keypad is kept.");
  } else if (history->List().empty()) {
    none = QStringLiteral("No snapshot of the keypad has been kept yet.");
  }
  if (!none.isEmpty()) {
    TextListDialog dialog(QString::fromLatin1(kTitle), none, {}, this);
    RunDialog(dialog);
    return;
  }
  // The macros the keypad holds, with those waiting for the save, are part of what the window
  // shows; without the keypad they are left out of the comparison and of a restore.
  std::optional<std::map<int, MacroBuffer>> keypad_macros;
  if (session.Connected()) {
    keypad_macros = session.ReadMacros();
    if (KeypadWentAway()) return;
    if (!keypad_macros) {
      services_.log.AppendLog(
          ">> History: the keypad's macros could not be read; they are left out");
    }
  }
  std::map<int, MacroBuffer> shown_macros = keypad_macros.value_or(std::map<int, MacroBuffer>{});
  for (const auto& [number, buffer] : session.PendingMacros()) shown_macros[number] = buffer;
  Layout shown = session.CurrentLayout(shown_macros);
  if (!keypad_macros) shown.macros.clear();
  ReadHistory read = ReadSnapshots(*history, shown);
  if (!keypad_macros) {
    for (std::size_t index = 0; index < read.layouts.size(); ++index) {
      if (read.layouts[index]) read.layouts[index]->macros.clear();
    }
  }

  HistoryDialog dialog(read.entries, keypad_macros.has_value(), this);
  RunDialog(dialog);
  const int chosen = dialog.Chosen();
  if (dialog.Restore() == HistoryRestore::kNothing || chosen < 0 ||
      !read.layouts[static_cast<std::size_t>(chosen)]) {
    return;
  }
  const Layout& layout = *read.layouts[static_cast<std::size_t>(chosen)];
  LayoutImportScope scope;
  // The history keeps no chords: a restore leaves the chord table alone.
  scope.chords = false;
  if (dialog.Restore() == HistoryRestore::kProfile) {
    scope.profile = dialog.Profile();
  } else {
    scope.keypad_macros = keypad_macros ? &*keypad_macros : nullptr;
  }
  scope.keys = dialog.Restore() != HistoryRestore::kMacros;
  const std::string name = RestoreName(
      dialog.Restore(), read.numbers[static_cast<std::size_t>(chosen)], dialog.Profile());
  const EditState before = CurrentState();
  const LayoutImportResult imported = session.ImportLayout(layout, scope);
  if (imported.status != SessionStatus::kDone) {
    QStringList lines;
    for (const std::string& problem : imported.problems) lines << QString::fromStdString(problem);
    TextListDialog problems(
        QString::fromLatin1(kTitle),
        QString::fromStdString(name) + QStringLiteral(" failed: nothing has changed."), lines,
        this);
    RunDialog(problems);
    return;
  }
  RefreshKeyLabels();
  RecordStep(name, before);
  services_.log.AppendLog(">> " + name + "; save to put it on the keypad");
}

}  // namespace qp40
