#include "session/keypad_session.h"

#include <algorithm>
#include <memory>

#include "log/text_format.h"
#include "macros/burst_store.h"
#include "macros/macro_storage.h"
#include "macros/string_store.h"
#include "model/profile_ops.h"
#include "model/saved_blocks_check.h"

namespace qp40 {
namespace {

constexpr int kPagesPerBlockInt = static_cast<int>(kPagesPerBlock);
constexpr int kMacroPages = 2 * kPagesPerBlockInt;

// Refreshes nothing, for a session without a grid on screen.
class NoRefresh final : public LabelRefresher {
 public:
  void RefreshKeyLabels() override {}
};

std::vector<std::uint8_t> BlockNumbers(const Configuration& config, const BlockSelection& which) {
  std::vector<std::uint8_t> numbers;
  const auto blocks = ConfigBlocksOf(config);
  for (std::size_t part = 0; part < kConfigBlockCount; ++part) {
    if (which[part]) numbers.push_back(blocks[part].number);
  }
  return numbers;
}

// The blocks of `checks` that do not hold what was written, each logged.
std::vector<std::uint8_t> BlocksNotHeld(const std::vector<SavedBlockCheck>& checks, Log& log) {
  std::vector<std::uint8_t> blocks;
  for (const SavedBlockCheck& check : checks) {
    if (check.state == SavedBlockState::kMatches) continue;
    blocks.push_back(check.block);
    log.AppendLog(FormatText(check.state == SavedBlockState::kDiffers
                                 ? ">> Check Device #%d: differs from what was saved"
                                 : ">> Check Device #%d: could not be read back",
                             check.block));
  }
  return blocks;
}

BlockSelection Not(const BlockSelection& which) {
  BlockSelection inverse{};
  for (std::size_t part = 0; part < kConfigBlockCount; ++part) inverse[part] = !which[part];
  return inverse;
}

}  // namespace

// The progress of one device work: opened when the work starts, told of every page through the
// link's page observer, closed when the work ends.
class KeypadSession::Bracket {
 public:
  Bracket(KeypadSession& session, DeviceWork work, int total_pages) : link_(session.link_) {
    if (session.progress_) progress_ = session.progress_(work, total_pages);
    if (progress_) link_.SetPageObserver([this] { progress_->PageDone(); });
  }
  ~Bracket() { link_.SetPageObserver(nullptr); }
  Bracket(const Bracket&) = delete;
  Bracket& operator=(const Bracket&) = delete;

 private:
  KeypadLink& link_;
  std::unique_ptr<Progress> progress_;
};

KeypadSession::KeypadSession(Transport& transport, Log& log, Notifier& notifier)
    : link_(transport, log, notifier), log_(log), notifier_(notifier) {}

AttachResult KeypadSession::Attach() { return Attach(std::string()); }

AttachResult KeypadSession::Attach(const std::string& path) {
  const KeypadLink::AttachReport report = link_.AttachKeypad(path);
  AttachResult result;
  result.found = report.found;
  result.path = report.path;
  if (report.found == 0 || report.path.empty()) {
    result.status = SessionStatus::kNoKeypad;
  } else if (report.error == OpenError::kPermissionDenied) {
    result.status = SessionStatus::kPermissionDenied;
  } else if (report.error != OpenError::kNone) {
    result.status = SessionStatus::kOpenFailed;
  } else {
    result.status = SessionStatus::kDone;
    link_.SetConnected(true);
  }
  // A keypad that was away may have been changed meanwhile.
  copy_.ForgetAll();
  return result;
}

void KeypadSession::Detach() {
  link_.CloseKeypad();
  link_.SetConnected(false);
  copy_.ForgetAll();
}

LoadResult KeypadSession::Load() {
  if (!link_.IsOpen()) return {SessionStatus::kNotConnected, 0};
  NoRefresh no_refresh;
  TransferReport report;
  {
    const Bracket bracket(*this, DeviceWork::kLoad,
                          static_cast<int>(kConfigBlockCount) * kPagesPerBlockInt);
    report =
        LoadConfiguration(config_, link_, log_, refresher_ != nullptr ? *refresher_ : no_refresh);
  }
  if (report.device_gone) {
    copy_.ForgetAll();
    return {SessionStatus::kKeypadGone, report.failed_pages};
  }
  copy_.Set(config_, report.troubled);
  history_.Clear();
  pending_macros_.clear();
  const bool complete = report.failed_pages == 0 && !report.identity_failed;
  if (complete) {
    KeepSnapshot(SnapshotEvent::kLoad,
                 CurrentLayout(known_macros_.value_or(std::map<int, MacroBuffer>{})));
  }
  return {complete ? SessionStatus::kDone : SessionStatus::kFailedPages, report.failed_pages};
}

SaveResult KeypadSession::Save(SaveMode mode) {
  SaveResult result;
  if (!link_.IsOpen()) {
    result.status = SessionStatus::kNotConnected;
    return result;
  }
  KeepSnapshot(SnapshotEvent::kBeforeSave, HeldLayout());
  config_.profile_block_number = ProfileBlockForBackupType(config_.loaded_backup_type);
  const BlockSelection which =
      mode == SaveMode::kFull ? kAllConfigBlocks : copy_.BlocksToWrite(config_);
  const int pages = static_cast<int>(SelectedCount(which)) * kPagesPerBlockInt;
  result.blocks_written = BlockNumbers(config_, which);
  result.blocks_unchanged = BlockNumbers(config_, Not(which));

  TransferReport report;
  {
    const Bracket bracket(*this, DeviceWork::kSave, pages);
    report = SaveConfiguration(config_, link_, log_, which);
  }
  result.failed_pages = report.failed_pages;
  // An erased block holds nothing known until it reads back as written.
  for (std::size_t part = 0; part < kConfigBlockCount; ++part) {
    if (report.prepared[part]) copy_.Forget(part);
  }
  if (report.device_gone) {
    result.status = SessionStatus::kKeypadGone;
    return result;
  }

  ReadBack(which, result);
  if (!link_.DeviceGone()) WritePendingMacros(result);
  if (result.status == SessionStatus::kDone) KeepSnapshot(SnapshotEvent::kSave, HeldLayout());
  return result;
}

SaveResult KeypadSession::Verify() {
  SaveResult result;
  if (!link_.IsOpen()) {
    result.status = SessionStatus::kNotConnected;
    return result;
  }
  ReadBack(kAllConfigBlocks, result);
  return result;
}

void KeypadSession::ReadBack(const BlockSelection& which, SaveResult& result) {
  // What a save of the configuration writes: the working copy merged into the profile image.
  Configuration written = config_;
  MergeWorkingCopy(written, ProfileSwitchCopy::kAllProfiles);
  std::vector<SavedBlockCheck> checks;
  {
    const Bracket bracket(*this, DeviceWork::kCheck,
                          static_cast<int>(SelectedCount(which)) * kPagesPerBlockInt);
    checks = CheckSavedBlocks(written, link_, which);
  }
  BlockSelection held{};
  for (const SavedBlockCheck& check : checks) {
    if (check.state != SavedBlockState::kMatches) continue;
    copy_.Holds(config_, check.part);
    held[check.part] = true;
  }
  if (SelectedCount(held) > 0) {
    log_.AppendLog(">> Checked on Device, as written: " + BlockNumbersText(config_, held));
  }
  result.blocks_differing = BlocksNotHeld(checks, log_);
  if (link_.DeviceGone()) {
    result.status = SessionStatus::kKeypadGone;
  } else if (!result.blocks_differing.empty()) {
    result.status = SessionStatus::kReadBackDiffers;
  }
}

SessionStatus KeypadSession::Reboot() {
  if (!link_.IsOpen()) return SessionStatus::kNotConnected;
  return link_.RebootDevice() ? SessionStatus::kDone : SessionStatus::kFailedPages;
}

SessionStatus KeypadSession::CloseAndReboot() {
  if (!link_.IsOpen()) return SessionStatus::kNotConnected;
  return link_.CloseAndReboot() ? SessionStatus::kDone : SessionStatus::kFailedPages;
}

SessionStatus KeypadSession::RestoreFactorySettings() {
  if (!link_.IsOpen()) return SessionStatus::kNotConnected;
  KeepSnapshot(SnapshotEvent::kBeforeFactoryRestore, HeldLayout());
  const bool restored = link_.RestoreFactorySettings();
  // Whether or not the keypad said so, it may hold its factory image now.
  copy_.ForgetAll();
  if (link_.DeviceGone()) return SessionStatus::kKeypadGone;
  if (!restored) return SessionStatus::kFailedPages;
  history_.Clear();
  return SessionStatus::kDone;
}

std::optional<std::string> KeypadSession::KeyText(const KeyActionRecord& record) {
  const std::optional<KeypadTextKind> kind = KeyTextKindOf(record);
  if (!kind) return std::nullopt;
  if (*kind == KeypadTextKind::kBurst) {
    const unsigned index = BurstIndexOf(record);
    if (index >= kTextEntryCount) return std::nullopt;
    return ReadBurstText(config_.burst_table, static_cast<std::uint8_t>(index));
  }
  return ReadString(config_, link_, record[kKeyTextLowByte]);
}

void KeypadSession::FreeTextOf(const KeyActionRecord& record) {
  const std::optional<KeypadTextKind> kind = KeyTextKindOf(record);
  if (kind == KeypadTextKind::kBurst) {
    FreeBurstEntry(config_.burst_table, BurstIndexOf(record));
  } else if (kind == KeypadTextKind::kString) {
    FreeString(config_.string_unit_table, record[kKeyTextLowByte], log_);
  }
}

std::optional<KeyActionRecord> KeypadSession::PlaceKey(const KeyEdit& edit,
                                                       const KeyActionRecord& held,
                                                       Notifier& notifier) {
  KeyActionRecord record = edit.record;
  if (!edit.text) {
    // A record that names the very text the key holds keeps it; any other lets it go.
    const bool same_text = KeyTextKindOf(record) && KeyTextKindOf(record) == KeyTextKindOf(held) &&
                           record[kKeyTextHighByte] == held[kKeyTextHighByte] &&
                           record[kKeyTextLowByte] == held[kKeyTextLowByte];
    if (!same_text) FreeTextOf(held);
    return record;
  }
  // The held text is freed only once the new one has its entry: a full table leaves the key and
  // its text as they were.
  const std::optional<KeypadTextKind> held_kind = KeyTextKindOf(held);
  if (edit.text->kind == KeypadTextKind::kBurst) {
    const unsigned held_entry =
        held_kind == KeypadTextKind::kBurst ? BurstIndexOf(held) : kNoBurstEntry;
    const std::optional<std::uint8_t> entry =
        ReplaceBurstText(config_.burst_table, held_entry, edit.text->bytes, log_, notifier);
    if (!entry) return std::nullopt;
    record[kKeyTextHighByte] = 0;
    record[kKeyTextLowByte] = *entry;
    if (held_kind == KeypadTextKind::kString) FreeTextOf(held);
  } else {
    const unsigned held_unit =
        held_kind == KeypadTextKind::kString ? held[kKeyTextLowByte] : kNoString;
    const std::optional<std::uint8_t> number =
        ReplaceString(config_, link_, held_unit, edit.text->bytes, log_, notifier);
    if (!number) return std::nullopt;
    record[kKeyTextLowByte] = *number;
    if (held_kind == KeypadTextKind::kBurst) FreeTextOf(held);
  }
  if (!edit.text->unstored.empty()) {
    notifier.ShowMessage(UnstoredCharactersMessage(edit.text->kind, edit.text->unstored));
  }
  return record;
}

KeyEditResult KeypadSession::ApplyKeyEdit(std::size_t position, const KeyEdit& edit) {
  if (position >= kGridKeyCount) return {SessionStatus::kRefused, {}};
  const KeyActionRecord held = WorkingRecord(config_.working_profile, position);
  const std::optional<KeyActionRecord> record = PlaceKey(edit, held, notifier_);
  if (!record) return {SessionStatus::kTextRefused, held};
  SetWorkingRecord(config_.working_profile, position, *record);
  const auto row = static_cast<int>(position / kGridColumnCount) + 1;
  const auto column = static_cast<int>(position % kGridColumnCount) + 1;
  log_.AppendLog(KeyActionLogLine(row, column, *record));
  return {SessionStatus::kDone, *record};
}

CopiedKey KeypadSession::CopyKey(std::size_t position) {
  CopiedKey key{WorkingRecord(config_.working_profile, position), std::nullopt};
  key.text = KeyText(key.record);
  return key;
}

bool KeypadSession::PasteKey(std::size_t position, const CopiedKey& key) {
  if (position >= kGridKeyCount) return false;
  const std::optional<KeypadTextKind> kind = KeyTextKindOf(key.record);
  if (kind && !key.text) {
    notifier_.ShowMessage("The text of the copied key could not be read, so it is not pasted.");
    return false;
  }
  KeyEdit edit{key.record, std::nullopt};
  if (kind) edit.text = KeyEditText{*kind, *key.text, {}};
  return ApplyKeyEdit(position, edit).status == SessionStatus::kDone;
}

bool KeypadSession::CopyShownProfile(std::uint8_t to) {
  if (to >= kProfileCount || to == config_.current_profile) return false;
  const Configuration before = config_;
  for (std::size_t position = 0; position < kGridKeyCount; ++position) {
    const std::uint8_t code = config_.key_code_map[position];
    if (!SlotOffset(to, code)) continue;
    const CopiedKey key = CopyKey(position);
    const std::optional<KeypadTextKind> kind = KeyTextKindOf(key.record);
    if (kind && !key.text) {
      notifier_.ShowMessage("The text of the copied key could not be read, so it is not pasted.");
      config_ = before;
      return false;
    }
    KeyEdit edit{key.record, std::nullopt};
    if (kind) edit.text = KeyEditText{*kind, *key.text, {}};
    const std::optional<KeyActionRecord> record =
        PlaceKey(edit, ReadSlot(config_.profile_image, to, code), notifier_);
    if (!record) {
      config_ = before;
      return false;
    }
    WriteSlot(config_.profile_image, to, code, *record);
  }
  const auto settings =
      std::span(config_.working_profile).subspan<kWorkingSettingsOffset, kSettingsSize>();
  std::copy(settings.begin(), settings.end(),
            config_.profile_image.begin() +
                static_cast<std::ptrdiff_t>(to * kProfileSize + kSettingsOffset));
  return true;
}

MacroLoadOutcome KeypadSession::LoadMacroScript(int macro_number) {
  const Bracket bracket(*this, DeviceWork::kMacroLoad, kMacroPages);
  return qp40::LoadMacroScript(macro_number, link_, log_, notifier_);
}

MacroSaveOutcome KeypadSession::SaveMacroScript(int macro_number, std::string_view script) {
  const Bracket bracket(*this, DeviceWork::kMacroStore, kMacroPages);
  MacroSaveOutcome outcome = qp40::SaveMacroScript(macro_number, script, link_, log_, notifier_);
  // The macros as last read no longer tell what the keypad holds.
  if (outcome.status == MacroSaveStatus::kStored) known_macros_.reset();
  return outcome;
}

std::optional<LoadedMacro> KeypadSession::LoadMacroBuffer(int macro_number) {
  const Bracket bracket(*this, DeviceWork::kMacroLoad, kMacroPages);
  return LoadMacroChain(macro_number, link_, log_);
}

std::optional<std::map<int, MacroBuffer>> KeypadSession::ReadMacros() {
  if (!link_.IsOpen()) return std::nullopt;
  std::map<int, MacroBuffer> macros;
  // Most macros end in their first block, so most of these pages are never read.
  const Bracket bracket(*this, DeviceWork::kMacroLoad, kMacroCount * kMacroPages);
  for (int macro = 0; macro < kMacroCount; ++macro) {
    const std::optional<LoadedMacro> loaded = LoadMacroChain(macro, link_, log_);
    if (!loaded || loaded->failed_pages > 0 || link_.DeviceGone()) return std::nullopt;
    macros[macro] = loaded->buffer;
  }
  known_macros_ = macros;
  return macros;
}

void KeypadSession::WritePendingMacros(SaveResult& result) {
  if (pending_macros_.empty()) return;
  const Bracket bracket(*this, DeviceWork::kMacroStore,
                        2 * static_cast<int>(pending_macros_.size()) * kMacroPages);
  for (auto pending = pending_macros_.begin(); pending != pending_macros_.end();) {
    const auto& [number, buffer] = *pending;
    const std::optional<int> failed = StoreMacro(number, buffer, link_);
    // Both blocks are read back: a macro kept as bytes may hold some past its last record.
    const std::optional<LoadedMacro> back =
        failed == 0 ? LoadMacro(number, link_, log_) : std::nullopt;
    if (back && back->failed_pages == 0 && back->buffer == buffer) {
      log_.AppendLog(FormatText(">> Macro #%d: written, read back as written", number));
      result.macros_written.push_back(number);
      if (known_macros_) (*known_macros_)[number] = buffer;
      pending = pending_macros_.erase(pending);
    } else {
      log_.AppendLog(FormatText(">> Macro #%d: not written as it should be", number));
      result.macros_failed.push_back(number);
      ++pending;
    }
    if (link_.DeviceGone()) break;
  }
  if (link_.DeviceGone()) {
    result.status = SessionStatus::kKeypadGone;
  } else if (!result.macros_failed.empty() && result.status == SessionStatus::kDone) {
    result.status = SessionStatus::kReadBackDiffers;
  }
}

}  // namespace qp40
