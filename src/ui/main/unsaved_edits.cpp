#include <QApplication>
#include <QStringList>
#include <map>

#include "ui/main/main_dialog.h"

namespace qp40 {
namespace {

constexpr const char* kUnsavedMark = " *";

}  // namespace

EditState CMorvelDlg::CurrentState() const {
  return {Config(), selected_profile_index_, services_.session.PendingMacros()};
}

void CMorvelDlg::RecordStep(const std::string& name, const EditState& before) {
  History().Record(name, before, CurrentState());
  UpdateTitle();
}

void CMorvelDlg::RestoreState(const EditState& state) {
  Config() = state.config;
  selected_profile_index_ = state.shown_profile;
  services_.session.SetPendingMacros(state.pending_macros);
  RefreshKeyLabels();
  SetEditProfileCaption("Edit Profile %d", selected_profile_index_ + 1);
  UpdateTitle();
}

void CMorvelDlg::OnUndo() {
  const std::string name = History().UndoName();
  if (const std::optional<EditState> state = History().Undo()) {
    RestoreState(*state);
    services_.log.AppendLog(">> Undo: " + name);
  }
}

void CMorvelDlg::OnRedo() {
  const std::string name = History().RedoName();
  if (const std::optional<EditState> state = History().Redo()) {
    RestoreState(*state);
    services_.log.AppendLog(">> Redo: " + name);
  }
}

bool CMorvelDlg::HasUnsavedEdits() const {
  return services_.session.Copy().HasUnsavedEdits(Config()) ||
         !services_.session.PendingMacros().empty();
}

QString CMorvelDlg::PendingMacrosText() const {
  const std::map<int, MacroBuffer>& pending = services_.session.PendingMacros();
  if (pending.empty()) return {};
  QStringList numbers;
  for (const auto& [number, buffer] : pending) numbers << QString::number(number);
  return QStringLiteral("%1 %2 of the imported layout %3 with the save.")
      .arg(pending.size() == 1 ? QStringLiteral("Macro") : QStringLiteral("Macros"),
           numbers.join(QStringLiteral(", ")),
           pending.size() == 1 ? QStringLiteral("goes") : QStringLiteral("go"));
}

void CMorvelDlg::SetTitleText(const QString& text) {
  title_text_ = text;
  UpdateTitle();
}

void CMorvelDlg::UpdateTitle() {
  const QString title =
      keypad_title_.isEmpty() ? title_text_ : title_text_ + QStringLiteral(" - ") + keypad_title_;
  setWindowTitle(HasUnsavedEdits() ? title + QString::fromLatin1(kUnsavedMark) : title);
  UpdateKeyMarks();
  KeepRecovery();
}

bool CMorvelDlg::MayDiscardEdits() {
  if (!HasUnsavedEdits()) return true;
  return MayDiscardEdits(QStringLiteral("The keypad does not hold your latest changes."));
}

bool CMorvelDlg::MayDiscardEdits(const QString& loss) {
  if (services_.session.Connected()) {
    const QStringList answers = {QStringLiteral("Save"), QStringLiteral("Discard"),
                                 QStringLiteral("Cancel")};
    const QString macros = PendingMacrosText();
    const int answer =
        services_.prompts.Choose(this,
                                 loss + QStringLiteral("\n\nSave them to the keypad first?") +
                                     (macros.isEmpty() ? QString() : QStringLiteral("\n") + macros),
                                 answers);
    if (answer == 0) return SaveToKeypad();
    return answer == 1;
  }
  // Without a keypad there is nowhere to save to; a backup file keeps the changes.
  const QStringList answers = {QStringLiteral("Discard"), QStringLiteral("Cancel")};
  return services_.prompts.Choose(this,
                                  loss + QStringLiteral("\n\nNo keypad is connected: cancel and "
                                                        "use \"Backup Profiles\" to keep them "
                                                        "in a file, or discard them."),
                                  answers) == 0;
}

int CMorvelDlg::RunDialog(QDialog& dialog) {
  ++dialogs_open_;
  const int result = services_.prompts.RunModal(dialog);
  --dialogs_open_;
  return result;
}

void CMorvelDlg::reject() {
  if (busy_ || !MayDiscardEdits()) return;
  QDialog::reject();
}

}  // namespace qp40
