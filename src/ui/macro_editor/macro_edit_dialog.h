#pragma once

#include <QDialog>
#include <QPointer>
#include <QSyntaxHighlighter>
#include <cstdint>
#include <functional>

#include "editing/macro_editor_logic.h"
#include "ui/common/user_prompts.h"

class QEvent;
class QInputEvent;
class QPlainTextEdit;

namespace qp40 {

// Control ids of the macro editor.
inline constexpr int kIdMacroHelpPane = 1127;
inline constexpr int kIdMacroCommandPane = 1124;
inline constexpr int kIdMacroRecord = 1119;
inline constexpr int kIdMacroClear = 1120;
inline constexpr int kIdMacroList = 1148;
inline constexpr int kIdMacroSaveOnboard = 1149;
inline constexpr int kIdMacroLoadOnboard = 1122;
inline constexpr int kIdMacroLoadBackup = 1144;
inline constexpr int kIdMacroBackupFile = 1123;
inline constexpr int kIdMacroHelp = 1;
// Lines this editor adds: the command count and the first problem of the script.
inline constexpr int kIdMacroCommandCount = 1150;
inline constexpr int kIdMacroProblem = 1151;

// Colours command words, key names, numbers and unknown words of the command pane.
class ScriptHighlighter final : public QSyntaxHighlighter {
  Q_OBJECT

 public:
  using QSyntaxHighlighter::QSyntaxHighlighter;

 protected:
  void highlightBlock(const QString& text) override;
};

// The macro editor: shows the state of its window-free logic and hands it what the user does.
// Every key and mouse-button event that reaches the editor or one of its controls passes the
// recorder first.
class CDialogMacroEdit : public QDialog {
  Q_OBJECT

 public:
  // The tick count in milliseconds; by default the time stamp of the last input event, the
  // clock the events' own stamps come from.
  using Clock = std::function<std::uint32_t()>;

  CDialogMacroEdit(MacroEditorLogic& logic, bool connected, UserPrompts& prompts,
                   QWidget* parent = nullptr);

  MacroEditorLogic& Logic() { return logic_; }
  void SetClock(Clock clock) { clock_ = std::move(clock); }
  // The macro list's selection, or -1 when the user typed into its edit field.
  int MacroSelection() const;

  // HELP is the default button; it shows the help and never closes the editor.
  void accept() override;
  // Closing with a script that was neither stored nor saved asks first.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ConnectControls();
  void WatchInput(QObject& object);
  // Shows the logic's panes.
  void Sync();
  void CheckCommandPane();
  void OnLoadOnboard();
  void OnSaveOnboard();
  void OnBackupFile();
  void OnLoadBackup();
  std::uint32_t Now() const;
  // Whether an input event reaches this filter again on its way to a parent.
  bool SeenBefore(QObject* watched, const QInputEvent& event);

  MacroEditorLogic& logic_;
  UserPrompts& prompts_;
  Clock clock_;
  QPlainTextEdit* help_pane_;
  QPlainTextEdit* command_pane_;
  bool syncing_ = false;
  std::uint32_t last_input_time_ = 0;
  std::uint32_t last_left_press_time_ = 0;
  bool left_press_seen_ = false;
  const QEvent* last_event_ = nullptr;
  int last_event_type_ = 0;
  std::uint64_t last_event_time_ = 0;
  QPointer<QObject> last_receiver_;
};

}  // namespace qp40
