#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chords/chord_table.h"
#include "editing/edit_history.h"
#include "editing/editing_session.h"
#include "editing/key_copy.h"
#include "log/log.h"
#include "log/notifier.h"
#include "model/configuration.h"
#include "session/keypad_session.h"
#include "ui/common/user_prompts.h"
#include "ui/key_editor/soft_keyboard.h"
#include "ui/main/keypad_names.h"
#include "ui/main/picture_choice.h"
#include "ui/main/picture_options_dialog.h"

class QComboBox;
class QPushButton;
class QTimer;

namespace qp40 {

class CClrButton;
class CDialog2KeyClick;
class LogPane;

// What the main dialog works on; the application owns all of it for the whole run.
struct MainDialogServices {
  // The keypad, its configuration, what it holds, the edit history and the chord table.
  KeypadSession& session;
  Log& log;
  Notifier& notifier;
  UserPrompts& prompts;
  // The logical DPI of the screen the window is on; empty asks the screen. Qt's own device-pixel
  // scaling is already in the logical DPI, so the grid is never scaled twice.
  std::function<int()> screen_dpi;
  // The pause that lets a keypad settle after it was opened or after the chord editor closed;
  // empty sleeps.
  std::function<void(int milliseconds)> pause;
  // The transport the session works on, for listing every keypad found; nullptr shows no
  // keypad chooser.
  Transport* keypads;
  // The names the user gives keypads in the chooser.
  KeypadNames* names;
};

// The main window: the key grid, the board settings, the profile commands and the log.
class CMorvelDlg : public QDialog, public LabelRefresher {
  Q_OBJECT

 public:
  // Pages a load reads and a save writes: five blocks of 64 pages.
  static constexpr int kPagesPerTransfer = 5 * 64;
  // The pause that lets a keypad settle after it was opened, in milliseconds.
  static constexpr int kSettlePauseMs = 100;
  // Indices of the per-key tables: row * 9 + column.
  static constexpr int kKeyTableSize = 81;

  explicit CMorvelDlg(MainDialogServices services, QWidget* parent = nullptr);
  ~CMorvelDlg() override;

  // Set-up before the user works with the window: lists, captions, help lines, then the first
  // search for a keypad (which loads it when one is attached).
  void OnInitDialog();
  // The platform's device-change notice: with event type 7 and no keypad connected, searches for
  // the keypad and loads it; with unsaved edits the user chooses between loading and keeping
  // them.
  void OnDeviceChange(int event_type);
  // The platform's notice that device node `node` went away: when it is the connected keypad,
  // the window leaves the connected state and keeps the grid and every edit.
  void OnDeviceRemoved(const std::string& node);
  // The keypad chooser above the grid, shown while several keypads are found.
  QComboBox* KeypadChooser() const { return keypad_chooser_; }
  // The user picked the chooser's entry `index`: asks about unsaved edits, then attaches that
  // keypad and loads it.
  void OnKeypadChosen(int index);
  // "Name": asks for a short name for the keypad shown and keeps it.
  void OnNameKeypad();
  // A command of the window menu; the About entry opens the About box.
  void OnSysCommand(int command_id);

  // Lays the grid out for the board in the settings and labels and colours every key.
  void RefreshKeyLabels() override;
  // Places, shows and hides the key buttons for a board code and sets the board controls from
  // the settings.
  void ApplyBoardLayout(int board_code);
  // Colours one key button from the colour table; other ids are ignored.
  void SetKeyButtonColors(int control_id, int background_index, std::uint8_t highlight,
                          int text_index);

  CClrButton* KeyButton(int row, int column) const;
  LogPane* LogWindow() const;
  float Zoom() const { return zoom_; }
  int BoardType() const { return board_type_; }
  int PathType() const { return path_type_; }
  int UsbType() const { return usb_type_; }
  std::uint8_t SelectedProfileIndex() const { return selected_profile_index_; }
  int LastLoadFailedPages() const { return last_load_failed_pages_; }
  std::uint8_t HighlightFlag(int row, int column) const;
  QString KeyLabelEntry(int row, int column) const;
  // The screen keyboard of the key dialog, one for the whole run.
  CSoftKeyBoard& KeyDialogKeyboard() { return key_keyboard_; }
  // The screen keyboard of the chord editor, one for the whole run.
  CSoftKeyBoard& ChordEditorKeyboard() { return chord_keyboard_; }
  // The chord editor while it is open beside the window, else nullptr.
  CDialog2KeyClick* ChordEditor() const { return chord_editor_; }
  const EditingSession& Session() const { return editing_session_; }

  // A click on key button `control_id` (3011..3068): highlights it, runs the key dialog on its
  // record and, on OK, stores the new record in the working copy.
  void OnKeyClicked(int control_id);

  // --- The edit history and unsaved edits ---
  void OnUndo();
  void OnRedo();
  const EditHistory& History() const { return services_.session.History(); }
  EditHistory& History() { return services_.session.History(); }
  // True while the working copy or the profile image holds edits the keypad does not.
  bool HasUnsavedEdits() const;
  // Copies the key at `row`, `column`, and pastes the copied key there (one undo step; false
  // when nothing was copied or the paste was refused).
  void CopyKey(int row, int column);
  bool PasteKey(int row, int column);
  // Copies the records and settings of the profile on screen into profile `to` (0..3), one undo
  // step; false when refused.
  bool CopyShownProfileTo(std::uint8_t to);
  // Whether "Save Profiles Onboard" writes all five blocks rather than those that changed (the
  // window menu's "Save writes all blocks").
  void SetFullSave(bool full) { full_save_ = full; }
  bool FullSave() const { return full_save_; }

 protected:
  // No closing while the keypad is being read or written.
  void closeEvent(QCloseEvent* event) override;
  // Escape and the close box: unsaved edits are not dropped without asking.
  void reject() override;
  // The window menu: minimise, close and the About entry.
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // Arrow keys walk the key grid; Enter and Space open the focused key.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ConnectCommands();
  void ConnectKeyButtons();
  void HighlightClickedKey(int control_id, int table_index);
  // The visible key button nearest to `from` in the direction of an arrow key.
  CClrButton* NeighbourKey(const CClrButton& from, int arrow_key) const;
  void PlaceKeysAtTemplatePositions();
  int ScreenDpi() const;
  void Pause(int milliseconds);
  void EnableDeviceCommands();
  // Runs a load from the keypad and remembers its failed pages.
  void LoadFromKeypad();
  // A keypad was just attached: enables its commands, loads it, shows profile 1 and offers back
  // the unsaved edits a crashed window left for it.
  void ShowAttachedKeypad();
  // The configuration the window shows and edits.
  Configuration& Config() { return services_.session.Config(); }
  const Configuration& Config() const { return services_.session.Config(); }
  // The busy dialog of the session's device work; the window counts as busy while it lives.
  std::unique_ptr<Progress> ShowProgress(DeviceWork work, int total_pages);
  void SetEditProfileCaption(const char* format, int number);
  enum class BackupFileUse { kLoad, kSave };
  // Runs the file dialog of a backup command; the chosen path in the platform's encoding, or
  // nothing when the user cancelled.
  std::optional<std::string> ChooseBackupFile(BackupFileUse use);

  // Runs one of our dialogs over the window; the window's shortcuts wait meanwhile.
  int RunDialog(QDialog& dialog);
  void ConnectShortcuts();
  bool ShortcutsAllowed() const;

  // The history: the state a step starts from, and the step recorded once it is done.
  EditState CurrentState() const;
  void RecordStep(const std::string& name, const EditState& before);
  void RestoreState(const EditState& state);
  // The caption with "*" while edits are unsaved.
  void SetTitleText(const QString& text);
  void UpdateTitle();
  // True when nothing unsaved would be lost by `action`, or the user chose to save or discard
  // it first.
  bool MayDiscardEdits();
  bool MayDiscardEdits(const QString& loss);
  // "Macros 5, 7 of the imported layout go with the save."; empty when no macro waits.
  QString PendingMacrosText() const;

  // Recovery of unsaved edits: the file of this process follows the edits (at most once a
  // second) and goes once nothing is unsaved or the window closes.
  void ConnectRecovery();
  void KeepRecovery();
  void WriteRecovery();
  void RemoveRecovery();
  // After a keypad was attached and loaded: offers back the unsaved edits a window that no
  // longer runs left for it, as one step of the edit history.
  void OfferRecovery();

  // Lists the keypads found into the chooser, shown while there are several (or while the
  // keypad chosen is away), and names the keypad shown in the title.
  void RefreshKeypadChooser();
  void ShowKeypadChooser(bool show);
  // Attaches the keypad found first, or the one chosen; true when one is attached.
  bool AttachChosenKeypad();

  // The keypad unplugged: found by a device notice or by an exchange that reported it gone.
  void OnKeypadRemoved();
  // After device work: true (and the window told) when the keypad went away during it.
  bool KeypadWentAway();

  // Saves to the keypad and reads the five blocks back; true when the keypad holds every byte.
  bool SaveToKeypad();
  // The grid position of a key button, or -1.
  int PositionOfButton(const QObject* button) const;

  // Commands.
  void OnLoadProfilesOnboard();
  void OnEditProfile();
  void OnSaveProfilesOnboard();
  void OnLoadBackup();
  void OnBackupProfiles();
  void OnCloseAndReboot();
  // Sends the reboot and closes the window, without asking.
  void CloseAndReboot();
  void OnRestoreFactorySettings();
  void OnMacroScriptEdit();
  // The chord editor runs beside the window, whose key buttons then pick its trigger keys; when
  // it closes, the window shows User Profile 1 and reloads the keypad.
  void OnChordEditor();
  void ConnectChordEditor();
  void PickChordTrigger(int control_id);
  void ReloadAfterChordEditor();
  // The "Layout…" button's menu: the layout file and the changes the keypad does not hold yet.
  void ConnectLayoutMenu();
  void OnExportLayout();
  // Reads a layout file into the window as one step of the history; nothing reaches the keypad
  // before the user saves.
  void OnImportLayout();
  // Lists every problem of a layout file that was not imported.
  void ShowLayoutProblems(const QString& path, const std::vector<std::string>& problems);
  void OnShowChanges();
  // "History…" (Ctrl+H): the keypad's snapshots, each compared with what the window shows, and
  // a snapshot, one of its profiles or its macros put back as one step of the edit history.
  void ConnectHistory();
  void OnHistory();
  // Marks the key buttons whose key the keypad does not hold, with the reason in the tooltip.
  void UpdateKeyMarks();
  // "Picture…": its menu with "Export Picture…" and "Print…", and their shortcuts.
  void ConnectPictureCommands();
  void OnExportPicture();
  void OnPrintPicture();
  // The options dialog of a picture; the choice, kept for the next picture, or nothing when the
  // user cancelled.
  std::optional<PictureChoice> ChoosePicture(const QString& title, PictureOutput output);
  // What the sheet shows beside the configuration: the scripts of the macros the drawn keys run
  // and the strings they type, read from the keypad when one is attached, and the chord table
  // when it holds a chord.
  CheatSheetExtras PictureExtras(const CheatSheetOptions& options);
  void OnBoardTypeChanged(int index);
  void OnPathTypeChanged(int index);
  void OnUsbTypeChanged(int index);

  MainDialogServices services_;
  std::array<CClrButton*, 48> key_buttons_{};
  LogPane* log_pane_ = nullptr;
  QComboBox* board_list_ = nullptr;
  QComboBox* path_list_ = nullptr;
  QComboBox* usb_list_ = nullptr;

  std::array<std::uint8_t, kKeyTableSize> highlight_flags_{};
  std::array<QString, kKeyTableSize> key_labels_;
  EditingSession editing_session_;
  CSoftKeyBoard key_keyboard_;
  CSoftKeyBoard chord_keyboard_;
  CDialog2KeyClick* chord_editor_ = nullptr;
  float zoom_ = 0.0f;
  int board_type_ = 0;
  int path_type_ = 0;
  int usb_type_ = 0;
  std::uint8_t selected_profile_index_ = 0;
  int last_load_failed_pages_ = 0;
  bool busy_ = false;
  // "Save Profiles Onboard" writes all five blocks, not only those that changed.
  bool full_save_ = false;
  int dialogs_open_ = 0;

  std::optional<qp40::CopiedKey> copied_key_;
  PictureChoice picture_choice_;
  QString title_text_;

  QComboBox* keypad_chooser_ = nullptr;
  QPushButton* name_keypad_button_ = nullptr;
  // How far the chooser pushes everything below it down; 0 while it is hidden.
  int chooser_offset_ = 0;
  // The keypad chosen among several: only it is attached again when it comes back.
  std::string chosen_path_;
  // The name of the keypad shown, for the title; empty with a single keypad.
  QString keypad_title_;

  QTimer* recovery_timer_ = nullptr;
  // An edit came while the timer ran: the file is written when it ends.
  bool recovery_due_ = false;
  // The recovery file this window wrote; empty while there is none.
  std::filesystem::path recovery_path_;
  bool recovery_warned_ = false;
};

}  // namespace qp40
