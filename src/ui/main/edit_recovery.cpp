// Recovery of unsaved edits: while the window holds edits the keypad does not, they are kept in
// a layout file of this process beside the keypad's snapshots, so a crash or a killed process
// does not lose them; the next window on that keypad offers them back.
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QTimer>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <system_error>

#include "files/file_replace.h"
#include "history/recovery_file.h"
#include "layout/layout_file.h"
#include "session/keypad_list.h"
#include "session/layout_import.h"
#include "ui/main/main_dialog.h"
#include "ui/main/process_state.h"

namespace qp40 {
namespace {

// Edits come in bursts (a paste, a profile copy); the file follows at most once a second.
constexpr int kRecoveryIntervalMs = 1000;

std::int64_t OwnProcessId() { return QCoreApplication::applicationPid(); }

QString FileTime(const std::filesystem::path& path) {
  return QFileInfo(QString::fromStdString(path.string()))
      .lastModified()
      .toString(QStringLiteral("HH:mm"));
}

}  // namespace

void CMorvelDlg::ConnectRecovery() {
  recovery_timer_ = new QTimer(this);
  recovery_timer_->setObjectName(QStringLiteral("recoveryTimer"));
  recovery_timer_->setSingleShot(true);
  connect(recovery_timer_, &QTimer::timeout, this, [this] {
    if (!recovery_due_) return;
    recovery_due_ = false;
    if (HasUnsavedEdits()) {
      WriteRecovery();
      recovery_timer_->start(kRecoveryIntervalMs);
    }
  });
}

void CMorvelDlg::KeepRecovery() {
  if (recovery_timer_ == nullptr) return;
  if (!HasUnsavedEdits()) {
    RemoveRecovery();
    return;
  }
  if (recovery_timer_->isActive()) {
    recovery_due_ = true;
    return;
  }
  WriteRecovery();
  recovery_timer_->start(kRecoveryIntervalMs);
}

void CMorvelDlg::WriteRecovery() {
  KeypadSession& session = services_.session;
  const std::optional<SnapshotStore> history =
      session.Copy().Empty() ? std::nullopt : session.KeypadHistory();
  if (!history) return;
  const std::filesystem::path path = RecoveryFilePath(history->Folder(), OwnProcessId());
  // Another keypad is shown now: its edits go to its own folder.
  if (!recovery_path_.empty() && recovery_path_ != path) RemoveRecovery();
  Layout layout = session.CurrentLayout(session.PendingMacros());
  layout.identity = IdentityText(session.Link().GetDeviceId());
  // The chord table is no unsaved edit of the keypad.
  layout.chords.reset();
  const std::string text = LayoutText(layout);
  std::error_code error;
  std::filesystem::create_directories(history->Folder(), error);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  if (!ReplaceFileContents(path, std::span(bytes, text.size()))) {
    if (!recovery_warned_) {
      recovery_warned_ = true;
      services_.log.AppendLog(">> Recovery: " + path.string() +
                              " cannot be written; unsaved edits are not kept");
    }
    return;
  }
  recovery_path_ = path;
}

void CMorvelDlg::RemoveRecovery() {
  if (recovery_timer_ != nullptr) recovery_timer_->stop();
  recovery_due_ = false;
  if (recovery_path_.empty()) return;
  std::error_code error;
  std::filesystem::remove(recovery_path_, error);
  recovery_path_.clear();
}

void CMorvelDlg::OfferRecovery() {
  KeypadSession& session = services_.session;
  const std::optional<SnapshotStore> history = session.KeypadHistory();
  if (!history) return;
  const std::string identity = IdentityText(session.Link().GetDeviceId());
  for (const RecoveryFile& file : RecoveryFiles(history->Folder())) {
    // A window that still runs keeps its own edits.
    if (file.process_id == OwnProcessId() || ProcessRunning(file.process_id)) continue;
    const LayoutParse parsed = ReadLayoutFile(file.path);
    if (!parsed.layout || parsed.layout->identity != identity) {
      services_.log.AppendLog(">> Recovery: " + file.path.string() +
                              " cannot be read or is of another keypad; it is skipped");
      continue;
    }
    const QString time = FileTime(file.path);
    const int answer =
        services_.prompts.Choose(this, QStringLiteral("Restore unsaved edits from %1?").arg(time),
                                 {QStringLiteral("Restore"), QStringLiteral("Discard")});
    std::error_code error;
    if (answer != 0) {
      std::filesystem::remove(file.path, error);
      services_.log.AppendLog(">> Unsaved edits from " + time.toStdString() + " discarded");
      continue;
    }
    // The file's macros that the keypad does not hold go with the next save.
    std::optional<std::map<int, MacroBuffer>> keypad_macros;
    if (!parsed.layout->macros.empty() && session.Connected()) {
      keypad_macros = session.ReadMacros();
      if (KeypadWentAway()) return;
    }
    LayoutImportScope scope;
    scope.keypad_macros = keypad_macros ? &*keypad_macros : nullptr;
    scope.chords = false;
    const std::string name = "Restore unsaved edits from " + time.toStdString();
    const EditState before = CurrentState();
    const LayoutImportResult imported = session.ImportLayout(*parsed.layout, scope);
    if (imported.status != SessionStatus::kDone) {
      services_.log.AppendLog(">> Recovery: " + file.path.string() +
                              " could not be restored; it is left alone");
      continue;
    }
    // From now on this window's own recovery file keeps the edits.
    std::filesystem::remove(file.path, error);
    RefreshKeyLabels();
    RecordStep(name, before);
    services_.log.AppendLog(">> Unsaved edits from " + time.toStdString() +
                            " restored; save to put them on the keypad");
    return;
  }
}

}  // namespace qp40
