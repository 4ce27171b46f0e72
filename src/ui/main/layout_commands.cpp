#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>

#include "editing/key_tooltip.h"
#include "files/file_replace.h"
#include "layout/layout_file.h"
#include "macros/macro_record.h"
#include "session/session_layout.h"
#include "session/unsaved_changes.h"
#include "ui/common/clr_button.h"
#include "ui/common/dialog_template.h"
#include "ui/common/file_name.h"
#include "ui/main/main_dialog.h"
#include "ui/main/main_dialog_ids.h"
#include "ui/main/text_list_dialog.h"

namespace qp40 {
namespace {

constexpr const char* kLayoutFilter = "Layout File(*.qp40.json)";
constexpr const char* kLayoutSuffix = "qp40.json";

QString FileNameOf(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

void CMorvelDlg::ConnectLayoutMenu() {
  auto* button = DialogItem<QPushButton>(*this, kIdLayoutMenu);
  button->setText(QString::fromUtf8("Layout…"));
  auto* menu = new QMenu(button);
  // The shortcuts live on the window (see ConnectShortcuts); the menu only names them.
  menu->addAction(QString::fromUtf8("Export Layout…\tCtrl+Shift+E"), this,
                  &CMorvelDlg::OnExportLayout);
  menu->addAction(QStringLiteral("Show Changes\tCtrl+D"), this, &CMorvelDlg::OnShowChanges);
  button->setMenu(menu);
  button->setToolTip(
      QStringLiteral("Shortcuts: Ctrl+Shift+E \"Export Layout\", Ctrl+D \"Show "
                     "Changes\""));
}

void CMorvelDlg::UpdateKeyMarks() {
  const UnsavedKeys unsaved = UnsavedKeysOf(services_.session);
  const Configuration& config = Config();
  for (std::size_t position = 0; position < key_buttons_.size(); ++position) {
    CClrButton* button = key_buttons_[position];
    const KeyActionRecord record = WorkingRecord(config.working_profile, position);
    QString tooltip = QString::fromStdString(KeyTooltipText(config, record));
    if (unsaved[position]) {
      tooltip += QStringLiteral("\nNot saved yet: the keypad holds ") +
                 QString::fromStdString(*unsaved[position]);
    }
    button->setToolTip(tooltip);
    button->SetMarked(unsaved[position].has_value());
  }
}

void CMorvelDlg::OnShowChanges() {
  QString heading;
  QStringList lines;
  if (services_.session.Copy().Empty()) {
    heading = QStringLiteral("The keypad has not been read yet: there is nothing to compare with.");
  } else {
    for (const std::string& line : UnsavedChangeLines(services_.session)) {
      lines << QString::fromStdString(line);
    }
    heading = lines.isEmpty()
                  ? QStringLiteral("No unsaved changes")
                  : QStringLiteral("\"Save Profiles Onboard\" would change on the keypad:");
  }
  TextListDialog dialog(QStringLiteral("Show Changes"), heading, lines, this);
  RunDialog(dialog);
}

void CMorvelDlg::OnExportLayout() {
  const std::optional<QString> path = services_.prompts.SaveFileName(
      this, QString::fromLatin1(kLayoutFilter), QString::fromLatin1(kLayoutSuffix));
  if (!path || path->isEmpty()) return;
  // The keypad keeps the macros: they are read now, all of them, or no file is written.
  std::map<int, MacroBuffer> macros;
  if (services_.session.Connected()) {
    for (int macro = 0; macro < kMacroCount; ++macro) {
      const std::optional<LoadedMacro> loaded = services_.session.LoadMacroBuffer(macro);
      if (KeypadWentAway()) return;
      if (!loaded || loaded->failed_pages > 0) {
        services_.prompts.ShowMessage(
            this, QStringLiteral("Macro %1 could not be read from the keypad (see the log), so "
                                 "%2 was not written.")
                      .arg(macro)
                      .arg(FileNameOf(*path)));
        return;
      }
      macros[macro] = loaded->buffer;
    }
  }
  const std::string text =
      LayoutText(SessionLayout(services_.session, macros, ChordsIfAny(services_.session.Chords())));
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  if (!ReplaceFileContents(FilePath(*path), std::span(bytes, text.size()))) {
    services_.prompts.ShowMessage(
        this, QStringLiteral("%1 could not be written; no file was changed.").arg(*path));
    return;
  }
  services_.log.AppendLog(">> Layout exported: " + FileNameText(FileNameOf(*path)));
}

}  // namespace qp40
