#include "ui/chord_editor/chord_edit_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <string>

#include "ui/common/dialog_template.h"
#include "ui/common/file_name.h"

namespace qp40 {
namespace {

using K = ControlKind;

constexpr ControlEntry kControls[] = {
    {kIdChordEditGroup, K::kGroupBox, "    Edit    ", 16, 7, 478, 65},
    {kIdChordNoLabel, K::kStaticText, " No.", 29, 25, 40, 8},
    {kIdChordRecordList, K::kEditableCombo, "", 83, 23, 110, 150},
    {kIdChordKey1, K::kEdit, "", 221, 23, 22, 14},
    {kIdChordKey2, K::kEdit, "", 257, 23, 22, 14},
    {kStaticId, K::kStaticText, "->", 295, 26, 12, 8},
    {kIdChordOutput1, K::kEdit, "", 319, 23, 16, 14},
    {kStaticId, K::kStaticText, "+", 338, 26, 6, 8},
    {kIdChordOutput2, K::kEdit, "", 347, 23, 16, 14},
    {kStaticId, K::kStaticText, "+", 365, 26, 6, 8},
    {kIdChordOutput3, K::kEdit, "", 373, 23, 16, 14},
    {kStaticId, K::kStaticText, "+", 392, 26, 6, 8},
    {kIdChordOutput4, K::kEdit, "", 401, 23, 16, 14},
    {kStaticId, K::kStaticText, "+", 419, 26, 6, 8},
    {kIdChordOutput5, K::kEdit, "", 427, 23, 16, 14},
    {kStaticId, K::kStaticText, "+", 454, 34, 6, 8},
    {kIdChordSixth, K::kEdit, "", 465, 31, 16, 14},
    {kIdChordOk, K::kDefaultPushButton, "OK", 30, 43, 39, 16},
    {kIdChordCut, K::kPushButton, "Cut", 82, 43, 39, 16},
    {kIdChordScreenKeyboard, K::kPushButton, "Screen Keyboard", 134, 44, 60, 14},
    {kIdChordKey1Label, K::kStaticText, "Key_1", 221, 42, 26, 8},
    {kIdChordKey2Label, K::kStaticText, "Key_2", 257, 42, 26, 8},
    {kIdChordCtrl, K::kCheckBox, kChordModifierWords[0].data(), 319, 46, 28, 10},
    {kStaticId, K::kStaticText, "+", 348, 47, 6, 8},
    {kIdChordShift, K::kCheckBox, kChordModifierWords[1].data(), 355, 46, 32, 10},
    {kStaticId, K::kStaticText, "+", 388, 47, 6, 8},
    {kIdChordAlt, K::kCheckBox, kChordModifierWords[2].data(), 395, 46, 24, 10},
    {kStaticId, K::kStaticText, "+", 419, 47, 6, 8},
    {kIdChordWin, K::kCheckBox, kChordModifierWords[3].data(), 425, 46, 28, 10},
    {kIdChordListPane, K::kTextEdit, "", 7, 80, 204, 281},
    {kIdChordLoadOnboard, K::kPushButton, "Load Onboard", 217, 81, 74, 20},
    {kIdChordSaveOnboard, K::kPushButton, "Save Onboard", 217, 110, 72, 18},
    {kIdChordLoadBackup, K::kPushButton, "Load Backup", 221, 270, 69, 19},
    {kIdChordBackupToPc, K::kPushButton, "Backup to PC", 221, 296, 68, 20},
    {kIdChordCancel, K::kPushButton, "Cancel", 220, 330, 70, 19},
    {kStaticId, K::kGroupBox, "   Help   ", 295, 82, 191, 271},
    {kIdChordFirstHelpLine, K::kStaticText, "   TwoKeyClick Feature", 303, 98, 178, 10},
    {kIdChordFirstHelpLine + 1, K::kStaticText, "Pressing two keys output 1~6 chars", 303, 118, 178,
     10},
    {kIdChordFirstHelpLine + 2, K::kStaticText, "eg.   s + d  ->  Enter ", 303, 138, 178, 10},
    {kIdChordFirstHelpLine + 3, K::kStaticText, "      space + a -> Shift+Ctrl+w+d+c ", 303, 158,
     178, 10},
    {kIdChordFirstHelpLine + 4, K::kStaticText, "Total: 6 chars or 5-chars Shortcut", 303, 178, 178,
     10},
    {kIdChordFirstHelpLine + 5, K::kStaticText, "Step 1: click <Load Onboard>  ", 303, 198, 178,
     10},
    {kIdChordFirstHelpLine + 6, K::kStaticText, "Step 2: Slect Item No. ", 303, 218, 178, 10},
    {kIdChordFirstHelpLine + 7, K::kStaticText, "Step 3: Edit  chars     ", 303, 238, 178, 10},
    {kIdChordFirstHelpLine + 8, K::kStaticText, "Step 4: click <ok> confirm the change   ", 303,
     258, 178, 10},
    {kIdChordFirstHelpLine + 9, K::kStaticText, " repeat step 2~4 ", 303, 278, 178, 10},
    {kIdChordFirstHelpLine + 10, K::kStaticText, "Step 5: click <Save Onboard> at last", 303, 298,
     178, 10},
    {kIdChordFirstHelpLine + 11, K::kStaticText, "Total 32 item ", 303, 318, 178, 10},
};
constexpr DialogTemplate kTemplate = {"TwoKeyClick Editor", 501, 381, kControls};

constexpr int kRecordFields[] = {kIdChordKey1,    kIdChordKey2,    kIdChordOutput1, kIdChordOutput2,
                                 kIdChordOutput3, kIdChordOutput4, kIdChordOutput5, kIdChordSixth};

// Lines of the list pane that the checks flag.
const QColor kFlaggedLine(0xFF, 0xE8, 0xB0);

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

// The pane holds LF line ends; the logic's text has CR LF.
QString PaneText(const std::string& text) {
  QString shown = FromUtf8(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

// The id of the editor's control that holds `widget` (an edit field of a combo box belongs to
// the combo box); 0 for a widget of another window.
int ControlIdOf(const QWidget& dialog, QWidget* widget) {
  for (; widget != nullptr; widget = widget->parentWidget()) {
    if (widget->parentWidget() == &dialog) {
      const QString name = widget->objectName();
      return name.startsWith(QStringLiteral("id")) ? name.mid(2).toInt() : kStaticId;
    }
  }
  return 0;
}

}  // namespace

CDialog2KeyClick::CDialog2KeyClick(ChordEditorLogic& logic, CSoftKeyBoard& keyboard,
                                   UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), logic_(logic), keyboard_(keyboard), prompts_(prompts) {
  BuildDialog(*this, kTemplate);
  record_list_ = DialogItem<QComboBox>(*this, kIdChordRecordList);
  list_pane_ = DialogItem<QPlainTextEdit>(*this, kIdChordListPane);
  list_pane_->setReadOnly(true);
  for (const int id :
       {kIdChordCut, kIdChordScreenKeyboard, kIdChordLoadOnboard, kIdChordSaveOnboard,
        kIdChordLoadBackup, kIdChordBackupToPc, kIdChordCancel}) {
    DialogItem<QPushButton>(*this, id)->setAutoDefault(false);
  }
  // The keypad keeps no chords, so these two have nothing to do.
  for (const int id : {kIdChordLoadOnboard, kIdChordSaveOnboard}) {
    EnableItem(*this, id, false);
    DialogItem(*this, id)->setToolTip(FromUtf8(kChordOnboardTooltip));
  }

  for (int number = 1; number <= static_cast<int>(kChordCount); ++number) {
    record_list_->addItem(QString::asprintf(kChordRecordFormat.data(), number));
  }
  record_list_->setCurrentIndex(-1);

  logic_.Open();
  ConnectControls();
  Sync();
  DialogItem(*this, kIdChordKey1)->setFocus();
}

void CDialog2KeyClick::ConnectControls() {
  const auto on_click = [this](int id, auto handler) {
    connect(DialogItem<QPushButton>(*this, id), &QPushButton::clicked, this, handler);
  };
  on_click(kIdChordOk, [this] { accept(); });
  on_click(kIdChordCancel, [this] { reject(); });
  on_click(kIdChordCut, [this] {
    logic_.Cut();
    Sync();
  });
  on_click(kIdChordScreenKeyboard, [this] {
    keyboard_.Open(*this, [this](const ScreenKeyPick& pick) {
      logic_.TakePick(pick);
      Sync();
    });
  });
  on_click(kIdChordBackupToPc, [this] { OnBackupToPc(); });
  on_click(kIdChordLoadBackup, [this] { OnLoadBackup(); });

  connect(record_list_, &QComboBox::activated, this, &CDialog2KeyClick::OnRecordChosen);
  connect(record_list_, &QComboBox::editTextChanged, this, &CDialog2KeyClick::OnRecordTextEdited);
  for (const int id : kRecordFields) {
    auto* field = DialogItem<QLineEdit>(*this, id);
    connect(field, &QLineEdit::textChanged, this, [this, field, id](const QString& text) {
      // The fields are narrower than most key names; the tooltip shows the whole name.
      field->setToolTip(text);
      if (syncing_) return;
      logic_.EditField(id, ToUtf8(text));
      SyncModifierBoxes();
    });
  }
  for (const int id : kChordModifierBoxIds) {
    auto* box = DialogItem<QCheckBox>(*this, id);
    connect(box, &QCheckBox::toggled, this, [this, id](bool checked) {
      if (!syncing_) logic_.SetChecked(id, checked);
    });
  }
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
}

void CDialog2KeyClick::Sync() {
  syncing_ = true;
  for (const int id : kRecordFields) {
    auto* field = DialogItem<QLineEdit>(*this, id);
    const QString text = FromUtf8(logic_.FieldText(id));
    if (field->text() != text) field->setText(text);
  }
  for (const int id : kChordModifierBoxIds) {
    DialogItem<QCheckBox>(*this, id)->setChecked(logic_.Checked(id));
  }
  const QString pane = PaneText(logic_.ListPane());
  if (list_pane_->toPlainText() != pane) list_pane_->setPlainText(pane);
  QList<QTextEdit::ExtraSelection> marks;
  const std::vector<ChordCheck>& checks = logic_.PaneChecks();
  for (std::size_t line = 0; line < checks.size(); ++line) {
    if (!checks[line].Flagged()) continue;
    const QTextBlock block = list_pane_->document()->findBlockByNumber(static_cast<int>(line));
    if (!block.isValid()) continue;
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(block);
    mark.format.setBackground(kFlaggedLine);
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    marks.push_back(mark);
  }
  list_pane_->setExtraSelections(marks);
  SyncModifierBoxes();
  syncing_ = false;
}

void CDialog2KeyClick::SyncModifierBoxes() {
  for (const int id : kChordModifierBoxIds) EnableItem(*this, id, logic_.ModifierBoxesApply());
}

void CDialog2KeyClick::OnRecordChosen(int index) {
  if (logic_.UnconfirmedChanges() && !prompts_.AskOkCancel(this, FromUtf8(kChordDiscardQuestion))) {
    // The list goes back to the record the fields belong to.
    syncing_ = true;
    record_list_->setCurrentIndex(logic_.Selection());
    syncing_ = false;
    return;
  }
  logic_.Select(index);
  Sync();
}

void CDialog2KeyClick::OnRecordTextEdited(const QString& text) {
  if (syncing_) return;
  const int index = record_list_->currentIndex();
  // Text typed into the edit field that is not the entry's own leaves no record selected.
  if (index < 0 || record_list_->itemText(index) != text) logic_.Select(-1);
}

void CDialog2KeyClick::OnFocusChanged(QWidget* now) {
  const int id = ControlIdOf(*this, now);
  if (id != 0) logic_.FocusField(id);
}

void CDialog2KeyClick::TakeGridKey(const KeyActionRecord& record, int row, int column) {
  const int field = logic_.FocusedField();
  if (logic_.TakeGridKey(record, row, column) != ChordEditorLogic::GridPick::kWritten) return;
  Sync();
  activateWindow();
  DialogItem(*this, field)->setFocus();
}

bool CDialog2KeyClick::OnBackupToPc() {
  EnableItem(*this, kIdChordBackupToPc, false);
  const std::optional<QString> path =
      prompts_.SaveFileName(this, FromUtf8(kChordFileFilter), FromUtf8(kChordFileSuffix));
  bool written = false;
  if (path) {
    setWindowTitle(*path);
    if (!path->isEmpty()) written = logic_.Export(FilePath(*path));
  }
  EnableItem(*this, kIdChordBackupToPc, true);
  return written;
}

void CDialog2KeyClick::OnLoadBackup() {
  if (logic_.UnconfirmedChanges() && !prompts_.AskOkCancel(this, FromUtf8(kChordDiscardQuestion))) {
    return;
  }
  const std::optional<QString> path =
      prompts_.OpenFileName(this, FromUtf8(kChordFileFilter), FromUtf8(kChordFileSuffix));
  if (!path) return;
  setWindowTitle(*path);
  if (path->isEmpty()) return;
  EnableItem(*this, kIdChordLoadBackup, false);
  logic_.Import(FilePath(*path));
  EnableItem(*this, kIdChordLoadBackup, true);
  Sync();
}

void CDialog2KeyClick::accept() {
  logic_.Confirm();
  Sync();
}

void CDialog2KeyClick::reject() {
  if (logic_.Unexported() && prompts_.AskOkCancel(this, FromUtf8(kChordExportQuestion)) &&
      !OnBackupToPc()) {
    return;
  }
  QDialog::reject();
}

}  // namespace qp40
