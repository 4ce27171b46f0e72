#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "chords/chord_table.h"
#include "link/keypad_link.h"
#include "log/log.h"
#include "model/configuration.h"
#include "sim/sim_bus.h"
#include "sim/sim_setup.h"
#include "sim/sim_transport.h"
#include "sim/virtual_keypad.h"
#include "support/log_doubles.h"
#include "ui/common/user_prompts.h"
#include "ui/main/keypad_names.h"
#include "ui/main/main_dialog.h"

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace qp40::test {

// Answers every prompt of the window from a script and records what was asked.
class ScriptedPrompts final : public UserPrompts {
 public:
  void ShowMessage(QWidget*, const QString& text) override { messages.push_back(text); }
  bool AskOkCancel(QWidget*, const QString& text) override {
    questions.push_back(text);
    return answer_ok;
  }
  // Takes the next scripted answer; without one, the last answer (as Escape would).
  int Choose(QWidget*, const QString& text, const QStringList& answers) override {
    choices.push_back(text + " [" + answers.join('|') + "]");
    if (choice_answers.empty()) return static_cast<int>(answers.size()) - 1;
    const QString answer = choice_answers.front();
    choice_answers.pop_front();
    const auto index = static_cast<int>(answers.indexOf(answer));
    EXPECT_GE(index, 0) << answer.toStdString() << " is not among the answers";
    return index < 0 ? static_cast<int>(answers.size()) - 1 : index;
  }
  std::optional<QString> OpenFileName(QWidget*, const QString& filter,
                                      const QString& suffix) override {
    file_filters.push_back(filter + "|" + suffix);
    return open_answer;
  }
  std::optional<QString> SaveFileName(QWidget*, const QString& filter,
                                      const QString& suffix) override {
    file_filters.push_back(filter + "|" + suffix);
    return save_answer;
  }
  // Plays the dialog instead of running a modal loop: `play` clicks what the user would.
  int RunModal(QDialog& dialog) override {
    dialog_titles.push_back(dialog.windowTitle());
    if (play) play(dialog);
    return dialog.result();
  }
  // The window stays usable beside the dialog, so `play` may click into it too.
  int RunBesideWindow(QDialog& dialog) override {
    beside_titles.push_back(dialog.windowTitle());
    if (play) play(dialog);
    return dialog.result();
  }

  std::optional<QString> AskText(QWidget*, const QString& text, const QString&) override {
    questions.push_back(text);
    return text_answer;
  }

  std::vector<QString> messages;
  std::vector<QString> questions;
  // What the user types where a line of text is asked for; nothing cancels.
  std::optional<QString> text_answer;
  // Each Choose question with its answers, e.g. "text [Save|Discard|Cancel]".
  std::vector<QString> choices;
  // The answers (button texts) the user gives to Choose questions, in order.
  std::deque<QString> choice_answers;
  std::vector<QString> file_filters;
  std::vector<QString> dialog_titles;
  std::vector<QString> beside_titles;
  bool answer_ok = false;
  std::optional<QString> open_answer;
  std::optional<QString> save_answer;
  std::function<void(QDialog&)> play;
};

// The time of day every window test's log shows.
inline constexpr TimeOfDay kTestTime = {9, 3, 7};
using testing::FixedClock;

// The virtual keypad behind a plug: while unplugged, no interface is listed.
class PluggableTransport final : public Transport {
 public:
  explicit PluggableTransport(Transport& inner) : inner_(inner) {}
  std::vector<HidInterfaceInfo> ListInterfaces() override {
    return plugged ? inner_.ListInterfaces() : std::vector<HidInterfaceInfo>{};
  }
  OpenResult<ReadChannel> OpenRead(const std::string& path) override {
    return inner_.OpenRead(path);
  }
  OpenResult<WriteChannel> OpenWrite(const std::string& path) override {
    return inner_.OpenWrite(path);
  }
  bool plugged = true;

 private:
  Transport& inner_;
};

// One run of the tool on the virtual keypad, with every prompt scripted.
struct WindowRig {
  explicit WindowRig(bool plugged = true, int dpi = 96) : screen_dpi(dpi) {
    transport.plugged = plugged;
    keypad.SetRecordRequests(false);
  }

  // Builds the main dialog and runs its set-up, which attaches the keypad when plugged in.
  CMorvelDlg& Open() {
    dialog = std::make_unique<CMorvelDlg>(MainDialogServices{
        session, log, notifier, prompts, [this] { return screen_dpi; },
        [this](int milliseconds) { pauses.push_back(milliseconds); }, &transport, &names});
    notifier.SetParent(dialog.get());
    dialog->show();
    dialog->OnInitDialog();
    return *dialog;
  }

  // The log's lines without their time stamps.
  std::vector<std::string> LogLines() const;
  // The profile block as the keypad holds it.
  std::span<std::uint8_t, kBlockSize> KeypadProfileBlock(std::uint8_t block = kProfileBlock) {
    return keypad.BlockData(block);
  }

  // A second virtual keypad, on the bus once AddSecondKeypad() put it there.
  void AddSecondKeypad() {
    second_keypad.SetIdentity(sim::SimIdentity("", 2));
    second_keypad.SetRecordRequests(false);
    bus.Add(second_transport);
  }

  sim::VirtualKeypad keypad;
  sim::SimTransport sim_transport{keypad};
  sim::VirtualKeypad second_keypad;
  sim::SimTransport second_transport{second_keypad, sim::SimPath(2)};
  sim::SimBus bus = [this] {
    sim::SimBus first;
    first.Add(sim_transport);
    return first;
  }();
  PluggableTransport transport{bus};
  MemoryKeypadNames names;
  FixedClock clock{kTestTime};
  ScriptedPrompts prompts;
  PromptNotifier notifier{prompts};
  Log log{clock, notifier};
  KeypadSession session{transport, log, notifier};
  Configuration& config = session.Config();
  ChordTable& chords = session.Chords();
  // The session's link, for what the tests check of the exchanges.
  const KeypadLink& link = session.Link();
  int screen_dpi;
  // The pauses the window asked for, in milliseconds; none of them is waited.
  std::vector<int> pauses;
  std::unique_ptr<CMorvelDlg> dialog;
};

// Writes record `record` for grid position `position` of `profile` into a profile block laid
// out with the default key code map.
void PutRecord(std::span<std::uint8_t, kBlockSize> block, int profile, int position,
               const std::array<std::uint8_t, 4>& record);

}  // namespace qp40::test
