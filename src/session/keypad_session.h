#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "chords/chord_table.h"
#include "editing/edit_history.h"
#include "editing/key_copy.h"
#include "editing/key_edit.h"
#include "editing/macro_editor_logic.h"
#include "editing/unsaved_edits.h"
#include "history/snapshot_store.h"
#include "layout/layout_file.h"
#include "link/keypad_link.h"
#include "link/transport.h"
#include "log/log.h"
#include "log/notifier.h"
#include "macros/macro_storage.h"
#include "model/configuration.h"
#include "session/layout_import.h"
#include "session/progress.h"
#include "session/session_result.h"

namespace qp40 {

// How much of the configuration a save writes.
enum class SaveMode {
  kChangedBlocks,  // the blocks whose bytes differ from what the keypad holds, or not known
  kFull,           // all five blocks
};

// One keypad and everything the tool keeps about it: its link, the configuration, what the
// keypad holds (block by block), the edit history and the chord table. Every operation that
// talks to the keypad returns what happened. Sessions share nothing, so several can live side
// by side, each on a transport of its own.
class KeypadSession final : public MacroKeypad {
 public:
  KeypadSession(Transport& transport, Log& log, Notifier& notifier);
  KeypadSession(const KeypadSession&) = delete;
  KeypadSession& operator=(const KeypadSession&) = delete;

  Configuration& Config() { return config_; }
  const Configuration& Config() const { return config_; }
  const KeypadCopy& Copy() const { return copy_; }
  EditHistory& History() { return history_; }
  const EditHistory& History() const { return history_; }
  ChordTable& Chords() { return chords_; }
  const ChordTable& Chords() const { return chords_; }
  // The link itself, for what the session does not wrap: its counters, its identity.
  const KeypadLink& Link() const { return link_; }

  // Told at the start of each device work that takes pages (see DeviceWork).
  void SetProgressHandler(ProgressHandler handler) { progress_ = std::move(handler); }
  // Told when a load or a profile switch changed the records on screen; none by default.
  void SetRefresher(LabelRefresher* refresher) { refresher_ = refresher; }

  // --- The keypad ---
  // Finds the keypad and opens the first match; connected on success. What the keypad holds is
  // not known for sure after it: it may have been changed while it was away.
  [[nodiscard]] AttachResult Attach();
  // The same for the keypad on `path` (see ChooseKeypad); kNoKeypad when it is not there.
  [[nodiscard]] AttachResult Attach(const std::string& path);
  bool Connected() const { return link_.Connected(); }
  // The keypad's interface path while it is open; empty otherwise.
  const std::string& OpenPath() const { return link_.OpenPath(); }
  // True once an exchange found the keypad unplugged; Detach then ends the connection.
  bool KeypadGone() const { return link_.DeviceGone(); }
  // The keypad was unplugged: closes it and leaves the connected state; the configuration and
  // the edits stay.
  void Detach();

  // Reads the configuration and shows User Profile 1 (see LoadConfiguration); a load that went
  // through starts the edit history anew.
  [[nodiscard]] LoadResult Load();
  // Writes the configuration (the working copy merged in) to the keypad's block for the loaded
  // backup type, then reads back exactly the blocks it wrote.
  [[nodiscard]] SaveResult Save(SaveMode mode = SaveMode::kChangedBlocks);
  // Reads back every block a save writes and compares it with the configuration; the blocks
  // that differ or cannot be read.
  [[nodiscard]] SaveResult Verify();
  [[nodiscard]] SessionStatus Reboot();
  // Sends the reboot, closes the keypad and tells the user to reboot the keyboard.
  [[nodiscard]] SessionStatus CloseAndReboot();
  // The keypad puts back its factory image; the edit history ends with the old configuration.
  [[nodiscard]] SessionStatus RestoreFactorySettings();

  // --- Keys ---
  // Puts `edit` on grid position `position` (0..47) of the working copy: stores its text (a new
  // entry), frees the text the key held, sets the record and logs its ">> KEY-" line. A text
  // without room changes nothing (kTextRefused; the user was told).
  [[nodiscard]] KeyEditResult ApplyKeyEdit(std::size_t position, const KeyEdit& edit);
  // The text a string or burst record types (keypad bytes); nothing for another record or a
  // string that cannot be read from the keypad.
  std::optional<std::string> KeyText(const KeyActionRecord& record);
  // Copies the key at `position` of the working copy, its text included.
  CopiedKey CopyKey(std::size_t position);
  // Pastes `key` on `position`, its text as a new entry of its own; false when refused (the user
  // was told).
  [[nodiscard]] bool PasteKey(std::size_t position, const CopiedKey& key);
  // Copies the records and settings of the working copy into profile `to` (0..3) of the image,
  // each text as a new entry. All or nothing: false when `to` is the profile on screen or out of
  // range, or a text has no room.
  [[nodiscard]] bool CopyShownProfile(std::uint8_t to);

  // --- Macros ---
  MacroLoadOutcome LoadMacroScript(int macro_number) override;
  MacroSaveOutcome SaveMacroScript(int macro_number, std::string_view script) override;
  // The buffer of macro `macro_number`, read as far as the macro goes (LoadMacroChain); nothing
  // outside 0..31.
  std::optional<LoadedMacro> LoadMacroBuffer(int macro_number);
  // The 32 macros, each read as far as it goes; nothing when a page cannot be read.
  [[nodiscard]] std::optional<std::map<int, MacroBuffer>> ReadMacros();
  // Macros waiting for the next save, which writes them after the blocks and reads them back.
  const std::map<int, MacroBuffer>& PendingMacros() const { return pending_macros_; }
  void SetPendingMacros(std::map<int, MacroBuffer> macros) { pending_macros_ = std::move(macros); }

  // --- History ---
  // Keeps snapshots of the keypad in a folder of its own under `root` (see SnapshotStore): after
  // each load and save, before each save and factory restore, after each import. Without a root
  // no snapshots are kept.
  void SetHistoryRoot(std::filesystem::path root, HistoryLimits limits = {});
  // The history of the keypad whose configuration was loaded; nothing without a root or before a
  // load read the keypad's identity.
  std::optional<SnapshotStore> KeypadHistory() const;

  // --- Layouts ---
  // The layout of the configuration (every profile as the window shows it, with its texts),
  // with `macros` and the chord table when it holds any chord.
  Layout CurrentLayout(const std::map<int, MacroBuffer>& macros);
  // Puts `layout` into the configuration within `scope`: settings and keys (each text as a new
  // entry, the texts of the keys it replaces freed), the macros that differ as pending macros,
  // the chords into the chord table. Only what differs is touched, so a file equal to the
  // keypad changes nothing. All or nothing: any problem (a text without room, a key expression
  // or script that no longer reads) leaves everything as it was. Records no undo step; the
  // caller does. In the block string format a long string's slot block is written at once, as
  // the key dialog does; a dry run stores no such string.
  [[nodiscard]] LayoutImportResult ImportLayout(const Layout& layout,
                                                const LayoutImportScope& scope);

 private:
  class Bracket;
  // The record to store for `edit` in place of `held`: its text stored as a new entry and the
  // held text freed; nothing when the text has no room.
  std::optional<KeyActionRecord> PlaceKey(const KeyEdit& edit, const KeyActionRecord& held,
                                          Notifier& notifier);
  // The record of key `key` (0..47) of profile `profile` as the window shows it: the working
  // copy for the profile on screen, the image for the others; and setting it.
  KeyActionRecord ShownRecord(std::uint8_t profile, std::size_t key) const;
  void SetShownRecord(std::uint8_t profile, std::size_t key, const KeyActionRecord& record);
  // Frees the text `record` names unless a key of any profile still holds it.
  void FreeUnheldText(const KeyActionRecord& record);
  void FreeTextOf(const KeyActionRecord& record);
  // Reads back the blocks `which` selects and compares them with what a save writes: those that
  // match the keypad holds; the others go into `result` and set its status.
  void ReadBack(const BlockSelection& which, SaveResult& result);
  // Writes the pending macros and reads each back; those that hold what was written are no
  // longer pending.
  void WritePendingMacros(SaveResult& result);
  // The layout of what the keypad holds, as far as the session knows.
  Layout HeldLayout();
  // Keeps `layout` in the keypad's history; a folder that cannot be written is said once in the
  // log, and the work goes on.
  void KeepSnapshot(SnapshotEvent event, Layout layout);

  KeypadLink link_;
  Log& log_;
  Notifier& notifier_;
  Configuration config_;
  KeypadCopy copy_;
  EditHistory history_;
  ChordTable chords_{};
  std::map<int, MacroBuffer> pending_macros_;
  // The keypad's macros as last read or written; empty until they have been read.
  std::optional<std::map<int, MacroBuffer>> known_macros_;
  std::optional<std::filesystem::path> history_root_;
  HistoryLimits history_limits_;
  bool history_warned_ = false;
  ProgressHandler progress_;
  LabelRefresher* refresher_ = nullptr;
};

}  // namespace qp40
