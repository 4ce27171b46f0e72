#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/editing_session.h"
#include "log/log.h"
#include "log/notifier.h"
#include "macros/macro_recorder.h"
#include "macros/macro_storage.h"
#include "macros/script_compiler.h"

namespace qp40 {

// Texts of the macro editor's script files.
inline constexpr std::string_view kScriptFileFilter = "Text File(*.txt)";
inline constexpr std::string_view kScriptFileSuffix = "txt";
inline constexpr std::string_view kCantOpenFileMessage = "Can't Open File ";
inline constexpr std::string_view kCantOpenFileLogLine = ">> Error: Can't open file";
inline constexpr std::string_view kFileTooLargeMessage = " ERROR: File is over size of 10Kbyte";
// A script file of this many bytes or more is refused on loading.
inline constexpr std::size_t kMaxScriptFileSize = 10240;
inline constexpr std::string_view kNothingStoredLine =
    "\r\n Nothing was stored: the keypad keeps its macro.";
inline constexpr std::string_view kUnsavedScriptQuestion =
    "The script was neither stored on the keypad nor saved to a file. Close the editor anyway?";

// The help text's entries, in the order shown.
inline constexpr std::size_t kMacroHelpEntryCount = 13;
std::string_view MacroHelpEntry(std::size_t index);

// The bytes of a script file for a command pane text: the pane's bytes with CR LF line ends.
std::string ScriptFileBytes(std::string_view pane_text);
// The command pane text for a script file's bytes: up to the first NUL, CR LF line ends, so a
// file with bare LF line ends loads as one with CR LF.
std::string PaneTextFromFile(std::string_view file_bytes);

enum class ScriptFileStatus {
  kDone,
  kCantOpen,  // the user was told; the pane and any old file are as they were
  kTooLarge,  // kMaxScriptFileSize bytes or more; the user was told, the pane is as it was
};

// What the live check under the command pane shows for the pane's text.
struct ScriptCheck {
  std::size_t commands = 0;  // lines holding a word
  bool over_limit = false;   // a word stands past the last line a command may use
  // The first problem the compiler finds (a repaired jump included); none for a clean script.
  std::optional<ScriptProblem> first_problem;
};

// Runs the compiler's own check on a pane text; nothing is logged or shown.
ScriptCheck CheckScript(std::string_view pane_text);
// "N of 255 commands".
std::string CommandCountText(const ScriptCheck& check);
// "Line N, "word": what is wrong", or empty for a clean script.
std::string ProblemText(const ScriptCheck& check);

// What a word of a script line is, for colouring the command pane.
enum class ScriptWordKind {
  kCommand,  // a line's first word that the compiler knows
  kKeyName,  // a later word that names a key word
  kNumber,   // a later word of decimal digits, perhaps with a minus sign
  kUnknown,  // a first word the compiler refuses, or a later word that is neither
};

struct ScriptWord {
  std::size_t start = 0;  // byte offset in the line
  std::size_t length = 0;
  ScriptWordKind kind = ScriptWordKind::kUnknown;

  friend bool operator==(const ScriptWord&, const ScriptWord&) = default;
};

// The space-separated words of one script line (no line end in it) and what each is.
std::vector<ScriptWord> ClassifyScriptLine(std::string_view line);

// The keypad's side of the macro editor's two keypad commands: "Load Onboard" reads macro m and
// lists it, "Save Onboard" compiles a script and stores it as macro m. The keypad session
// provides it; tests answer it themselves.
class MacroKeypad {
 public:
  virtual ~MacroKeypad() = default;
  virtual MacroLoadOutcome LoadMacroScript(int macro_number) = 0;
  virtual MacroSaveOutcome SaveMacroScript(int macro_number, std::string_view script) = 0;
};

// What the macro editor does, without a window: the two panes' texts, the help, the keypad
// commands, the script files and the recorder. The Qt dialog shows this state and forwards
// the user's actions. Pane texts are single bytes with CR LF line ends, as the keypad's own
// editor gives them.
class MacroEditorLogic {
 public:
  MacroEditorLogic(EditingSession& session, MacroKeypad& keypad, Log& log, Notifier& notifier);

  // Opening: both panes and the recorder start afresh, the screen keyboard delivers to the
  // macro editor, and the help is shown. `now`: the tick count in milliseconds.
  void Open(std::uint32_t now);
  void ShowHelp();
  // Clear/Redo: empties both panes and the recording; recording goes on if it was on.
  void Clear(std::uint32_t now);

  // The user changed the command pane.
  void EditCommandText(std::string_view text);

  // Load Onboard and Save Onboard for a list selection (-1 when the user typed into the list's
  // edit field and no entry is selected: refused, nothing sent).
  MacroLoadOutcome LoadOnboard(int selection);
  MacroSaveOutcome SaveOnboard(int selection);

  ScriptFileStatus SaveScriptFile(const std::filesystem::path& path);
  ScriptFileStatus LoadScriptFile(const std::filesystem::path& path);

  // RECORD/PLAY and the recorder's look at every message that reaches the editor.
  void ToggleRecording(std::uint32_t now);
  MessageDisposition FilterMessage(std::uint32_t message, std::uint32_t parameter,
                                   std::uint32_t time);
  bool Recording() const { return recorder_.Recording(); }
  std::string_view RecordButtonCaption() const { return recorder_.ButtonCaption(); }

  const std::string& MessageText() const { return message_text_; }
  const std::string& CommandText() const { return command_text_; }
  // True when the command pane holds text that was neither stored nor saved to a file since
  // it last changed.
  bool Unsaved() const { return unsaved_ && !command_text_.empty(); }

 private:
  void AppendMessage(std::string_view text) { message_text_ += text; }

  EditingSession& session_;
  MacroKeypad& keypad_;
  Log& log_;
  Notifier& notifier_;
  MacroRecorder recorder_{0};
  std::string message_text_;
  std::string command_text_;
  bool unsaved_ = false;
};

}  // namespace qp40
