#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "editing/key_tooltip.h"
#include "files/file_replace.h"
#include "layout/layout_file.h"
#include "macros/macro_record.h"
#include "session/layout_import.h"
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

// " (macros 5, 7 go with the next save)", or nothing when no macro does.
std::string MacroListText(const std::vector<int>& macros) {
  if (macros.empty()) return {};
  std::string numbers;
  for (const int macro : macros) {
    if (!numbers.empty()) numbers += ", ";
    numbers += std::to_string(macro);
  }
  return (macros.size() == 1 ? " (macro " : " (macros ") + numbers +
         (macros.size() == 1 ? " goes" : " go") + " with the next save)";
}

}  // namespace

void CMorvelDlg::ConnectLayoutMenu() {
  auto* button = DialogItem<QPushButton>(*this, kIdLayoutMenu);
  button->setText(QString::fromUtf8("Layout…"));
  auto* menu = new QMenu(button);
  // The shortcuts live on the window (see ConnectShortcuts); the menu only names them.
  menu->addAction(QString::fromUtf8("Export Layout…\tCtrl+Shift+E"), this,
                  &CMorvelDlg::OnExportLayout);
  menu->addAction(QString::fromUtf8("Import Layout…\tCtrl+I"), this, &CMorvelDlg::OnImportLayout);
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
    std::optional<std::map<int, MacroBuffer>> read = services_.session.ReadMacros();
    if (KeypadWentAway()) return;
    if (!read) {
      services_.prompts.ShowMessage(
          this, QStringLiteral("The keypad's macros could not be read (see the log), so %1 was "
                               "not written.")
                    .arg(FileNameOf(*path)));
      return;
    }
    macros = std::move(*read);
  }
  const std::string text = LayoutText(SessionLayout(services_.session, macros));
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  if (!ReplaceFileContents(FilePath(*path), std::span(bytes, text.size()))) {
    services_.prompts.ShowMessage(
        this, QStringLiteral("%1 could not be written; no file was changed.").arg(*path));
    return;
  }
  services_.log.AppendLog(">> Layout exported: " + FileNameText(FileNameOf(*path)));
}

void CMorvelDlg::ShowLayoutProblems(const QString& path, const std::vector<std::string>& problems) {
  QStringList lines;
  for (const std::string& problem : problems) lines << QString::fromStdString(problem);
  TextListDialog dialog(
      QString::fromUtf8("Import Layout…"),
      QStringLiteral("%1 was not imported: nothing has changed.").arg(FileNameOf(path)), lines,
      this);
  RunDialog(dialog);
}

void CMorvelDlg::OnImportLayout() {
  const std::optional<QString> path = services_.prompts.OpenFileName(
      this, QString::fromLatin1(kLayoutFilter), QString::fromLatin1(kLayoutSuffix));
  if (!path || path->isEmpty()) return;
  const LayoutParse parsed = ReadLayoutFile(FilePath(*path));
  if (!parsed.layout) {
    ShowLayoutProblems(*path, parsed.problems);
    return;
  }
  KeypadSession& session = services_.session;
  // The file's macros that the keypad does not hold yet go with the next save; without a
  // keypad there is nothing to compare them with, and they are left out. Its chords go into
  // the chord editor's table.
  std::optional<std::map<int, MacroBuffer>> keypad_macros;
  if (session.Connected() && !parsed.layout->macros.empty()) {
    keypad_macros = session.ReadMacros();
    if (KeypadWentAway()) return;
    if (!keypad_macros) {
      services_.prompts.ShowMessage(
          this, QStringLiteral("The keypad's macros could not be read (see the log), so %1 was "
                               "not imported: nothing has changed.")
                    .arg(FileNameOf(*path)));
      return;
    }
  }
  const EditState before = CurrentState();
  LayoutImportScope scope;
  scope.keypad_macros = keypad_macros ? &*keypad_macros : nullptr;
  const LayoutImportResult imported = session.ImportLayout(*parsed.layout, scope);
  if (imported.status != SessionStatus::kDone) {
    ShowLayoutProblems(*path, imported.problems);
    return;
  }
  RefreshKeyLabels();
  const std::string name = FileNameText(FileNameOf(*path));
  RecordStep("Import layout " + name, before);
  if (!parsed.layout->macros.empty() && !keypad_macros) {
    services_.log.AppendLog(">> Layout imported without its macros: no keypad is connected");
  }
  services_.log.AppendLog(">> Layout imported: " + name + MacroListText(imported.macros));
}

}  // namespace qp40
