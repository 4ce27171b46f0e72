#pragma once

#include <QDialog>

#include "editing/chord_editor_logic.h"
#include "keys/key_action.h"
#include "ui/common/user_prompts.h"
#include "ui/key_editor/soft_keyboard.h"

class QComboBox;
class QPlainTextEdit;

namespace qp40 {

// Labels of the chord editor that carry ids of their own.
inline constexpr int kIdChordNoLabel = 1163;
inline constexpr int kIdChordKey1Label = 1165;
inline constexpr int kIdChordKey2Label = 1166;

// The two-key chord editor: shows the state of its window-free logic and hands it what the user
// does. It runs beside the main window, whose key buttons then pick trigger keys.
class CDialog2KeyClick : public QDialog {
  Q_OBJECT

 public:
  CDialog2KeyClick(ChordEditorLogic& logic, CSoftKeyBoard& keyboard, UserPrompts& prompts,
                   QWidget* parent = nullptr);

  ChordEditorLogic& Logic() { return logic_; }
  CSoftKeyBoard& Keyboard() { return keyboard_; }
  // A click on the main window's key at row, column, whose record is `record`: a trigger field
  // that had the focus last takes the key's name.
  void TakeGridKey(const KeyActionRecord& record, int row, int column);

  // OK writes the fields into the selected record and never closes the editor.
  void accept() override;
  // Closing with a table that no chord file holds offers to export it first.
  void reject() override;

 private:
  void ConnectControls();
  // Shows the logic's fields, boxes and list pane.
  void Sync();
  void SyncModifierBoxes();
  void OnRecordChosen(int index);
  void OnRecordTextEdited(const QString& text);
  void OnFocusChanged(QWidget* now);
  // Export and import through the file dialogs; the export says whether a file was written.
  bool OnBackupToPc();
  void OnLoadBackup();

  ChordEditorLogic& logic_;
  CSoftKeyBoard& keyboard_;
  UserPrompts& prompts_;
  QComboBox* record_list_;
  QPlainTextEdit* list_pane_;
  bool syncing_ = false;
};

}  // namespace qp40
