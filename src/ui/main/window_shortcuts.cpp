#include <QApplication>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

#include "ui/common/dialog_template.h"
#include "ui/main/main_dialog.h"
#include "ui/main/main_dialog_ids.h"

namespace qp40 {
namespace {

struct CommandShortcut {
  int id;
  const char* keys;
};

constexpr CommandShortcut kCommandShortcuts[] = {
    {kIdLoadProfilesOnboard, "Ctrl+R"}, {kIdEditProfile, "Ctrl+E"},
    {kIdSaveProfilesOnboard, "Ctrl+S"}, {kIdMacroScriptEdit, "Ctrl+M"},
    {kIdLoadBackup, "Ctrl+O"},          {kIdBackupProfiles, "Ctrl+B"},
};

}  // namespace

bool CMorvelDlg::ShortcutsAllowed() const {
  // Only the window itself takes shortcuts: never while one of our dialogs, a message box or
  // the busy dialog stands over it, nor while the chord editor runs beside it.
  const QWidget* modal = QApplication::activeModalWidget();
  return !busy_ && dialogs_open_ == 0 && chord_editor_ == nullptr &&
         (modal == nullptr || modal == this);
}

void CMorvelDlg::ConnectShortcuts() {
  for (const CommandShortcut& command : kCommandShortcuts) {
    auto* button = DialogItem<QPushButton>(*this, command.id);
    const QKeySequence keys(QString::fromLatin1(command.keys));
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, [this, button] {
      if (ShortcutsAllowed() && button->isEnabled() && button->isVisible()) button->click();
    });
    button->setToolTip(QStringLiteral("Shortcut: %1").arg(keys.toString(QKeySequence::NativeText)));
  }
  const auto on_keys = [this](const QKeySequence& keys, void (CMorvelDlg::*handler)()) {
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, [this, handler] {
      if (ShortcutsAllowed()) (this->*handler)();
    });
  };
  on_keys(QKeySequence(QKeySequence::Undo), &CMorvelDlg::OnUndo);
  on_keys(QKeySequence(QStringLiteral("Ctrl+Shift+Z")), &CMorvelDlg::OnRedo);
  on_keys(QKeySequence(QStringLiteral("Ctrl+Y")), &CMorvelDlg::OnRedo);
  on_keys(QKeySequence(QStringLiteral("Ctrl+Shift+E")), &CMorvelDlg::OnExportLayout);
  on_keys(QKeySequence(QStringLiteral("Ctrl+I")), &CMorvelDlg::OnImportLayout);
  on_keys(QKeySequence(QStringLiteral("Ctrl+D")), &CMorvelDlg::OnShowChanges);
  on_keys(QKeySequence(QStringLiteral("Ctrl+H")), &CMorvelDlg::OnHistory);
}

}  // namespace qp40
