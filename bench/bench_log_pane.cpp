// The window's own costs: a log line through the log pane, however long the log has grown, and
// the time from opening the window to the loaded key grid on the virtual keypad.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <memory>
#include <string_view>

#include "log/clock.h"
#include "log/log.h"
#include "session/keypad_session.h"
#include "sim/sim_transport.h"
#include "sim/virtual_keypad.h"
#include "ui/common/log_pane.h"
#include "ui/common/user_prompts.h"
#include "ui/main/main_dialog.h"

namespace {

using Clock = std::chrono::steady_clock;

// One application for the whole program, without a display.
void EnsureApplication() {
  static int argc = 1;
  static char name[] = "bench_log_pane";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance() != nullptr) return;
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Lives until the program ends.
  new QApplication(argc, argv);
}

class SilentNotifier final : public qp40::Notifier {
 public:
  void ShowMessage(std::string_view /*text*/) override {}
};

class FixedClock final : public qp40::Clock {
 public:
  qp40::TimeOfDay Now() const override { return {14, 5, 9}; }
};

// Answers nothing: no prompt comes up while the window starts on a working keypad.
class NoPrompts final : public qp40::UserPrompts {
 public:
  void ShowMessage(QWidget*, const QString&) override {}
  bool AskOkCancel(QWidget*, const QString&) override { return false; }
  int Choose(QWidget*, const QString&, const QStringList& answers) override {
    return static_cast<int>(answers.size()) - 1;
  }
  std::optional<QString> OpenFileName(QWidget*, const QString&, const QString&) override {
    return std::nullopt;
  }
  std::optional<QString> SaveFileName(QWidget*, const QString&, const QString&) override {
    return std::nullopt;
  }
  int RunModal(QDialog&) override { return 0; }
  int RunBesideWindow(QDialog&) override { return 0; }
  std::optional<QString> AskText(QWidget*, const QString&, const QString&) override {
    return std::nullopt;
  }
};

constexpr int kLines = 100000;
constexpr int kSample = 1000;

// Appends 100 000 lines (the line a failed page writes) through a shown log pane and compares
// the cost per line of the first and the last thousand. The pane repaints after every thousand
// lines, outside the timed spans, as the window does while a load runs.
void BM_LogPaneAppend(benchmark::State& state) {
  EnsureApplication();
  for (auto _ : state) {
    FixedClock clock;
    SilentNotifier notifier;
    qp40::Log log(clock, notifier);
    qp40::LogPane pane;
    pane.resize(800, 150);
    pane.show();
    log.SetSink(&pane);

    double first_ns = 0;
    double last_ns = 0;
    for (int block = 0; block < kLines / kSample; ++block) {
      const auto start = Clock::now();
      for (int i = 0; i < kSample; ++i) log.AppendLog("ERROR: READ Device ");
      const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
      if (block == 0) first_ns = ns;
      last_ns = ns;
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    state.counters["first_1000_ns_per_line"] = first_ns / kSample;
    state.counters["last_1000_ns_per_line"] = last_ns / kSample;
    state.counters["last_to_first_ratio"] = last_ns / first_ns;
    state.counters["log_bytes"] = static_cast<double>(log.Text().size());
  }
}
BENCHMARK(BM_LogPaneAppend)->Iterations(1)->Unit(benchmark::kMillisecond);

// From building the window to the loaded grid of User Profile 1: set-up, help lines, attach,
// the settle pause after opening the keypad (100 ms), the 321 exchanges of the load and the
// grid refresh. The argument is the virtual keypad's latency per reply in microseconds (0: the
// tool's own cost; 1000: about a USB round trip).
void BM_StartToLoadedGrid(benchmark::State& state) {
  EnsureApplication();
  for (auto _ : state) {
    qp40::sim::VirtualKeypad keypad;
    keypad.SetRecordRequests(false);
    keypad.SetLatencyMicroseconds(static_cast<std::uint32_t>(state.range(0)));
    qp40::sim::SimTransport transport(keypad);
    NoPrompts prompts;
    qp40::PromptNotifier notifier(prompts);
    qp40::SystemClock clock;
    qp40::Log log(clock, notifier);
    qp40::KeypadSession session(transport, log, notifier);

    qp40::CMorvelDlg dialog(
        qp40::MainDialogServices{session, log, notifier, prompts, {}, {}, nullptr, nullptr});
    dialog.show();
    dialog.OnInitDialog();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (!session.Connected() || dialog.LastLoadFailedPages() != 0) {
      state.SkipWithError("the virtual keypad was not loaded");
      break;
    }
  }
}
BENCHMARK(BM_StartToLoadedGrid)->Arg(0)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
