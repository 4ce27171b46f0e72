// qp40config: the desktop window of the QP40 configurator.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include "platform/windows/windows_hid_transport.h"
#else
#include "platform/hidapi_transport.h"
#include "platform/udev_monitor.h"
#endif
#include "history/history_folder.h"
#include "session/keypad_source.h"
#include "sim/sim_setup.h"
#include "ui/main/morvel_app.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFailed = 1;

constexpr const char* kUsage =
    "Usage: qp40config [--simulate[=IMAGE]...] [--sim-fault=[K:]KIND@N[,...]]\n"
    "                  [--sim-latency=MICROSECONDS] [Qt options]\n"
    "\n"
    "Opens the QP40 keypad configuration window. The keypad is found when it is plugged in\n"
    "in Management mode (hold its top-right key while plugging it in).\n"
    "\n"
    "  --simulate[=IMAGE]   use the built-in virtual keypad instead of USB; with IMAGE its\n"
    "                       memory is read from that file (the factory image when the file\n"
    "                       does not exist) and written back when the window closes;\n"
    "                       repeat it for several virtual keypads\n"
    "  --sim-fault=[K:]KIND@N  with --simulate: make virtual keypad K (the first when not\n"
    "                       given) misbehave on its N-th request (KIND: drop, status, echo,\n"
    "                       late, gone, flip); comma-separate several faults or repeat the\n"
    "                       option\n"
    "  --sim-latency=US     with --simulate: every reply of the virtual keypad takes US\n"
    "                       microseconds\n"
    "  --help               show this text\n"
    "  --version            show the version\n";

struct Options {
  qp40::sim::SimOptions sim;
  bool sim_knobs = false;
  bool help = false;
  bool version = false;
};

struct ParseResult {
  Options options;
  std::string error;
  // The arguments left for Qt: the program name and whatever is not ours.
  std::vector<char*> rest;
};

// The value of `--name=value` or of `--name value` (taking the next argument).
std::optional<std::string> OptionValue(std::string_view arg, std::string_view name, int& index,
                                       int argc, char** argv) {
  if (arg == name) {
    if (index + 1 >= argc) return std::nullopt;
    return std::string(argv[++index]);
  }
  return std::string(arg.substr(name.size() + 1));
}

bool IsOption(std::string_view arg, std::string_view name) {
  return arg == name || (arg.size() > name.size() && arg.substr(0, name.size()) == name &&
                         arg[name.size()] == '=');
}

ParseResult ParseArguments(int argc, char** argv) {
  ParseResult result;
  result.rest.push_back(argv[0]);
  Options& options = result.options;
  for (int i = 1; i < argc && result.error.empty(); ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--simulate") {
      options.sim.simulate = true;
      options.sim.images.emplace_back();
    } else if (arg.rfind("--simulate=", 0) == 0) {
      options.sim.simulate = true;
      options.sim.images.emplace_back(arg.substr(std::strlen("--simulate=")));
      if (options.sim.images.back().empty()) result.error = "--simulate= needs a file name";
    } else if (IsOption(arg, "--sim-fault")) {
      options.sim_knobs = true;
      const auto value = OptionValue(arg, "--sim-fault", i, argc, argv);
      result.error = value ? qp40::sim::ParseFaultList(*value, options.sim.faults)
                           : "--sim-fault needs KIND@N";
    } else if (IsOption(arg, "--sim-latency")) {
      options.sim_knobs = true;
      const auto value = OptionValue(arg, "--sim-latency", i, argc, argv);
      const std::optional<std::uint32_t> latency =
          value ? qp40::sim::ParseLatency(*value) : std::nullopt;
      if (!latency) {
        result.error = value ? "--sim-latency: " + qp40::sim::CheckLatency(*value)
                             : "--sim-latency needs a number of microseconds";
      }
      options.sim.latency_us = latency.value_or(0);
    } else {
      result.rest.push_back(argv[i]);
    }
  }
  if (result.error.empty() && options.sim_knobs && !options.sim.simulate) {
    result.error = "--sim-fault and --sim-latency work with --simulate only";
  }
  if (result.error.empty()) result.error = qp40::sim::CheckSimKeypads(options.sim);
  return result;
}

// Without a display the platform plugin would stop the program with a message about plugins;
// say what is missing instead.
bool HasDisplay(const std::vector<char*>& qt_arguments) {
#ifdef _WIN32
  // Windows always has its desktop.
  (void)qt_arguments;
  return true;
#else
  for (const char* arg : qt_arguments) {
    const std::string_view text = arg;
    if (text == "-platform" || text == "--platform") return true;
  }
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
#endif
}

}  // namespace

int main(int argc, char** argv) {
  ParseResult parsed = ParseArguments(argc, argv);
  const Options& options = parsed.options;
  if (!parsed.error.empty()) {
    std::cerr << "qp40config: " << parsed.error << "\n\n" << kUsage;
    return kExitUsage;
  }
  if (options.help) {
    std::cout << kUsage;
    return 0;
  }
  if (options.version) {
    std::cout << "qp40config " << QP40_VERSION << "\n";
    return 0;
  }
  if (!HasDisplay(parsed.rest)) {
    std::cerr << "qp40config: no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the "
                 "window cannot open.\nWithout a desktop, use the command-line tool: qp40ctl "
                 "--help (for example: qp40ctl --simulate info).\n";
    return kExitFailed;
  }

  qp40::KeypadSource source(options.sim, []() -> std::unique_ptr<qp40::Transport> {
#ifdef _WIN32
    return std::make_unique<qp40::WindowsHidTransport>();
#else
    return std::make_unique<qp40::HidapiTransport>();
#endif
  });
  if (source.GetTransport() == nullptr) {
    std::cerr << "qp40config: " << source.Error() << "\n";
    return kExitFailed;
  }
#ifndef _WIN32
  std::unique_ptr<qp40::UdevHidrawMonitor> monitor;
#endif
  qp40::DeviceNoticeSource notices;
  if (!source.Simulated()) {
#ifdef _WIN32
    notices.window_notices = true;
#else
    monitor = std::make_unique<qp40::UdevHidrawMonitor>();
    if (monitor->Valid()) {
      notices.fd = monitor->Fd();
      notices.drain = [&monitor] { return monitor->DrainNotices(); };
    }
#endif
  }

  int qt_argc = static_cast<int>(parsed.rest.size());
  parsed.rest.push_back(nullptr);
  qp40::CMorvelApp app(qt_argc, parsed.rest.data());
  if (app.arguments().size() > 1) {
    std::cerr << "qp40config: unknown argument '" << app.arguments().at(1).toStdString() << "'\n\n"
              << kUsage;
    return kExitUsage;
  }

  const int status = app.InitInstance(*source.GetTransport(), notices,
                                      qp40::HistoryRoot(qp40::ProcessEnvironment));

  // The virtual keypad's memory goes back to its image, so the next run sees the same keypad.
  const std::string error = source.Finish();
  if (!error.empty()) {
    std::cerr << "qp40config: " << error << "\n";
    return kExitFailed;
  }
  return status;
}
