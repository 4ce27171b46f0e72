#include "ui/macro_editor/macro_edit_dialog.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCharFormat>
#include <optional>

#include "ui/common/dialog_template.h"
#include "ui/common/file_name.h"
#include "ui/macro_editor/virtual_keys.h"

namespace qp40 {
namespace {

using K = ControlKind;

constexpr ControlEntry kControls[] = {
    {kStaticId, K::kStaticText, "Help Message ", 7, 18, 80, 10},
    {kIdMacroHelpPane, K::kTextEdit, "", 7, 32, 153, 331},
    {kStaticId, K::kStaticText, "Macro Command Edit ", 183, 20, 90, 10},
    {kIdMacroCommandPane, K::kTextEdit, "", 182, 33, 167, 330},
    {kIdMacroRecord, K::kPushButton, "RECORD/PLAY", 359, 33, 108, 38},
    {kIdMacroClear, K::kPushButton, "Clear/Redo", 415, 75, 52, 19},
    {kStaticId, K::kStaticText, "Hardware Macro No.", 358, 118, 90, 10},
    {kIdMacroList, K::kEditableCombo, "", 356, 130, 109, 67},
    {kIdMacroSaveOnboard, K::kPushButton, "Save Onboard", 358, 150, 109, 42},
    {kIdMacroLoadOnboard, K::kPushButton, "Load Onboard", 358, 200, 109, 19},
    {kIdMacroCommandCount, K::kStaticText, "", 358, 223, 109, 10},
    {kIdMacroProblem, K::kStaticText, "", 358, 234, 109, 32},
    {kIdMacroLoadBackup, K::kPushButton, "Load Backup", 362, 268, 105, 17},
    {kIdMacroBackupFile, K::kPushButton, "Backup File", 363, 289, 104, 17},
    {kIdMacroHelp, K::kDefaultPushButton, "HELP", 383, 338, 60, 17},
};
constexpr DialogTemplate kTemplate = {"Macro Editor", 481, 370, kControls};

// Mouse-button state flags of the window system's mouse messages.
constexpr std::uint32_t kFlagLeft = 0x01;
constexpr std::uint32_t kFlagRight = 0x02;
constexpr std::uint32_t kFlagShift = 0x04;
constexpr std::uint32_t kFlagControl = 0x08;
constexpr std::uint32_t kFlagMiddle = 0x10;
// The window system's code of a key that has no virtual key; the recorder names it "NULL".
constexpr std::uint8_t kNoVirtualKey = 0xFF;

// Pane texts hold CR LF line ends as the keypad's editor gives them; the Qt pane holds LF.
QString PaneText(const std::string& text) {
  QString shown = FromLatin1(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

std::string LogicText(const QString& pane_text) {
  const QByteArray bytes = pane_text.toLatin1();
  std::string text;
  text.reserve(static_cast<std::size_t>(bytes.size()));
  for (const char byte : bytes) {
    if (byte == '\n') text += '\r';
    text += byte;
  }
  return text;
}

void ShowText(QPlainTextEdit& pane, const QString& text) {
  if (pane.toPlainText() == text) return;
  pane.setPlainText(text);
  pane.moveCursor(QTextCursor::End);
  pane.verticalScrollBar()->setValue(pane.verticalScrollBar()->maximum());
}

std::uint32_t MouseFlags(const QMouseEvent& event) {
  std::uint32_t flags = 0;
  if (event.buttons() & Qt::LeftButton) flags |= kFlagLeft;
  if (event.buttons() & Qt::RightButton) flags |= kFlagRight;
  if (event.buttons() & Qt::MiddleButton) flags |= kFlagMiddle;
  if (event.modifiers() & Qt::ShiftModifier) flags |= kFlagShift;
  if (event.modifiers() & Qt::ControlModifier) flags |= kFlagControl;
  return flags;
}

std::optional<std::uint32_t> MouseMessage(QEvent::Type type, Qt::MouseButton button) {
  const bool down = type == QEvent::MouseButtonPress;
  const bool up = type == QEvent::MouseButtonRelease;
  switch (button) {
    case Qt::LeftButton:
      if (type == QEvent::MouseButtonDblClick) return kMsgLeftDoubleClick;
      return down ? kMsgLeftDown : kMsgLeftUp;
    case Qt::RightButton:
      if (down) return kMsgRightDown;
      if (up) return kMsgRightUp;
      return kMsgRightDoubleClick;
    case Qt::MiddleButton:
      if (down) return kMsgMiddleDown;
      if (up) return kMsgMiddleUp;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

bool IsAncestorOrSelf(const QObject* ancestor, const QObject* object) {
  for (; object != nullptr; object = object->parent()) {
    if (object == ancestor) return true;
  }
  return false;
}

QTextCharFormat WordFormat(ScriptWordKind kind) {
  QTextCharFormat format;
  switch (kind) {
    case ScriptWordKind::kCommand:
      format.setForeground(QColor(0x00, 0x00, 0xA0));
      format.setFontWeight(QFont::Bold);
      break;
    case ScriptWordKind::kKeyName:
      format.setForeground(QColor(0x00, 0x70, 0x00));
      break;
    case ScriptWordKind::kNumber:
      format.setForeground(QColor(0x90, 0x00, 0x90));
      break;
    case ScriptWordKind::kUnknown:
      format.setForeground(QColor(0xC0, 0x00, 0x00));
      format.setFontUnderline(true);
      break;
  }
  return format;
}

}  // namespace

void ScriptHighlighter::highlightBlock(const QString& text) {
  // One Latin-1 byte per character, so byte offsets are character offsets.
  const QByteArray bytes = text.toLatin1();
  for (const ScriptWord& word : ClassifyScriptLine(
           std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
    setFormat(static_cast<int>(word.start), static_cast<int>(word.length), WordFormat(word.kind));
  }
}

CDialogMacroEdit::CDialogMacroEdit(MacroEditorLogic& logic, bool connected, UserPrompts& prompts,
                                   QWidget* parent)
    : QDialog(parent), logic_(logic), prompts_(prompts) {
  BuildDialog(*this, kTemplate);
  help_pane_ = DialogItem<QPlainTextEdit>(*this, kIdMacroHelpPane);
  command_pane_ = DialogItem<QPlainTextEdit>(*this, kIdMacroCommandPane);
  help_pane_->setReadOnly(true);
  new ScriptHighlighter(command_pane_->document());
  DialogItem<QLabel>(*this, kIdMacroProblem)->setWordWrap(true);
  DialogItem<QLabel>(*this, kIdMacroProblem)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  for (const int id : {kIdMacroRecord, kIdMacroClear, kIdMacroSaveOnboard, kIdMacroLoadOnboard,
                       kIdMacroLoadBackup, kIdMacroBackupFile}) {
    DialogItem<QPushButton>(*this, id)->setAutoDefault(false);
  }

  auto* list = DialogItem<QComboBox>(*this, kIdMacroList);
  for (int macro = 0; macro < kMacroCount; ++macro) {
    list->addItem(QString::asprintf("Macro #%02d", macro));
  }
  list->setCurrentIndex(0);
  EnableItem(*this, kIdMacroSaveOnboard, connected);
  EnableItem(*this, kIdMacroLoadOnboard, connected);

  logic_.Open(Now());
  ConnectControls();
  WatchInput(*this);
  Sync();
  CheckCommandPane();
}

int CDialogMacroEdit::MacroSelection() const {
  const auto* list = DialogItem<QComboBox>(*this, kIdMacroList);
  const int index = list->currentIndex();
  // Text typed into the edit field that is not the entry's own leaves no entry selected.
  if (index < 0 || list->itemText(index) != list->currentText()) return -1;
  return index;
}

void CDialogMacroEdit::ConnectControls() {
  const auto on_click = [this](int id, auto handler) {
    connect(DialogItem<QPushButton>(*this, id), &QPushButton::clicked, this, handler);
  };
  on_click(kIdMacroHelp, [this] { accept(); });
  on_click(kIdMacroClear, [this] {
    logic_.Clear(Now());
    Sync();
  });
  on_click(kIdMacroRecord, [this] {
    logic_.ToggleRecording(Now());
    SetItemText(*this, kIdMacroRecord, FromLatin1(logic_.RecordButtonCaption()));
    Sync();
  });
  on_click(kIdMacroLoadOnboard, [this] { OnLoadOnboard(); });
  on_click(kIdMacroSaveOnboard, [this] { OnSaveOnboard(); });
  on_click(kIdMacroBackupFile, [this] { OnBackupFile(); });
  on_click(kIdMacroLoadBackup, [this] { OnLoadBackup(); });
  connect(command_pane_, &QPlainTextEdit::textChanged, this, [this] {
    if (!syncing_) logic_.EditCommandText(LogicText(command_pane_->toPlainText()));
    CheckCommandPane();
  });
}

void CDialogMacroEdit::WatchInput(QObject& object) {
  object.installEventFilter(this);
  for (QObject* child : object.children()) {
    if (child->isWidgetType()) WatchInput(*child);
  }
}

void CDialogMacroEdit::Sync() {
  syncing_ = true;
  ShowText(*help_pane_, PaneText(logic_.MessageText()));
  ShowText(*command_pane_, PaneText(logic_.CommandText()));
  syncing_ = false;
}

void CDialogMacroEdit::CheckCommandPane() {
  const ScriptCheck check = CheckScript(LogicText(command_pane_->toPlainText()));
  auto* count = DialogItem<QLabel>(*this, kIdMacroCommandCount);
  count->setText(FromLatin1(CommandCountText(check)));
  QPalette palette = count->palette();
  palette.setColor(QPalette::WindowText, check.over_limit
                                             ? QColor(Qt::red)
                                             : this->palette().color(QPalette::WindowText));
  count->setPalette(palette);
  SetItemText(*this, kIdMacroProblem, FromLatin1(ProblemText(check)));

  // The first line the compiler would refuse is marked in the pane.
  QList<QTextEdit::ExtraSelection> marks;
  if (check.first_problem && check.first_problem->line >= 1) {
    const QTextBlock block = command_pane_->document()->findBlockByNumber(
        static_cast<int>(check.first_problem->line) - 1);
    if (block.isValid()) {
      QTextEdit::ExtraSelection mark;
      mark.cursor = QTextCursor(block);
      mark.format.setBackground(QColor(0xFF, 0xE0, 0xE0));
      mark.format.setProperty(QTextFormat::FullWidthSelection, true);
      marks.push_back(mark);
    }
  }
  command_pane_->setExtraSelections(marks);
}

void CDialogMacroEdit::OnLoadOnboard() {
  logic_.LoadOnboard(MacroSelection());
  Sync();
}

void CDialogMacroEdit::OnSaveOnboard() {
  logic_.SaveOnboard(MacroSelection());
  Sync();
}

void CDialogMacroEdit::OnBackupFile() {
  const std::optional<QString> path =
      prompts_.SaveFileName(this, FromLatin1(kScriptFileFilter), FromLatin1(kScriptFileSuffix));
  if (!path) return;
  setWindowTitle(*path);
  if (path->isEmpty()) return;
  logic_.SaveScriptFile(FilePath(*path));
}

void CDialogMacroEdit::OnLoadBackup() {
  const std::optional<QString> path =
      prompts_.OpenFileName(this, FromLatin1(kScriptFileFilter), FromLatin1(kScriptFileSuffix));
  if (!path) return;
  setWindowTitle(*path);
  if (path->isEmpty()) return;
  logic_.LoadScriptFile(FilePath(*path));
  Sync();
}

void CDialogMacroEdit::accept() {
  logic_.ShowHelp();
  Sync();
}

void CDialogMacroEdit::reject() {
  if (logic_.Unsaved() && !prompts_.AskOkCancel(this, FromLatin1(kUnsavedScriptQuestion))) {
    return;
  }
  QDialog::reject();
}

std::uint32_t CDialogMacroEdit::Now() const { return clock_ ? clock_() : last_input_time_; }

bool CDialogMacroEdit::SeenBefore(QObject* watched, const QInputEvent& event) {
  const bool again = &event == last_event_ && event.type() == last_event_type_ &&
                     event.timestamp() == last_event_time_ && last_receiver_ != nullptr &&
                     IsAncestorOrSelf(watched, last_receiver_);
  last_event_ = &event;
  last_event_type_ = event.type();
  last_event_time_ = event.timestamp();
  last_receiver_ = watched;
  return again;
}

bool CDialogMacroEdit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ChildAdded) {
    QObject* child = static_cast<QChildEvent*>(event)->child();
    if (child->isWidgetType()) WatchInput(*child);
    return QDialog::eventFilter(watched, event);
  }
  std::uint32_t message = 0;
  std::uint32_t parameter = 0;
  std::uint32_t time = 0;
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      const auto& key = static_cast<const QKeyEvent&>(*event);
      if (SeenBefore(watched, key)) return false;
      time = static_cast<std::uint32_t>(key.timestamp());
      last_input_time_ = time;
      const bool down = event->type() == QEvent::KeyPress;
      // Between auto-repeats Qt reports a release of its own; the key is let go only once.
      if (!down && key.isAutoRepeat()) return logic_.Recording();
      const bool system = (key.modifiers() & Qt::AltModifier) || key.key() == Qt::Key_Alt ||
                          key.key() == Qt::Key_F10;
      message =
          down ? (system ? kMsgSysKeyDown : kMsgKeyDown) : (system ? kMsgSysKeyUp : kMsgKeyUp);
      parameter = VirtualKeyFromQtKey(key.key(), key.modifiers()).value_or(kNoVirtualKey);
      break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
      const auto& mouse = static_cast<const QMouseEvent&>(*event);
      if (SeenBefore(watched, mouse)) return false;
      time = static_cast<std::uint32_t>(mouse.timestamp());
      last_input_time_ = time;
      const std::optional<std::uint32_t> code = MouseMessage(event->type(), mouse.button());
      if (!code) return false;
      if (*code == kMsgLeftDoubleClick && left_press_seen_ && time == last_left_press_time_) {
        // Qt reports the second press of a double click as a press and then as a double click
        // with the same stamp; the window system gives the double click alone.
        return false;
      }
      if (*code == kMsgLeftDown) {
        left_press_seen_ = true;
        last_left_press_time_ = time;
      }
      message = *code;
      parameter = MouseFlags(mouse);
      break;
    }
    default:
      return QDialog::eventFilter(watched, event);
  }
  const MessageDisposition disposition = logic_.FilterMessage(message, parameter, time);
  if (logic_.Recording()) Sync();
  return disposition == MessageDisposition::kConsume;
}

}  // namespace qp40
