#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "app/ctl/ctl_app.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace {

// The arguments as UTF-8, taken from the wide command line: the narrow argv holds them in the
// system's code page, in which a file name with other letters cannot be written.
std::vector<std::string> Utf8Arguments() {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 0; i < count; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string text(size > 0 ? static_cast<std::size_t>(size) : 1, '\0');
    if (size > 0) {
      WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text.data(), size, nullptr, nullptr);
    }
    text.resize(text.size() - 1);  // the terminating zero
    arguments.push_back(std::move(text));
  }
  LocalFree(wide);
  return arguments;
}

}  // namespace

int main() {
  // What qp40ctl prints goes out byte for byte, as on other systems: its CR LF line ends stay
  // CR LF, and a console shows its UTF-8 file names.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
  std::vector<std::string> arguments = Utf8Arguments();
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  return qp40::ctl::RunCtl(static_cast<int>(arguments.size()), argv.data(), std::cout, std::cerr);
}

#else

int main(int argc, char** argv) {
  // A closed pipe on stdout (`qp40ctl show | head`) must not kill the program before it writes
  // the virtual keypad's memory back; the failed write is reported as an error instead.
  // NOLINTNEXTLINE(cert-err33-c): signal() fails only for a signal number that is not valid.
  std::signal(SIGPIPE, SIG_IGN);
  return qp40::ctl::RunCtl(argc, argv, std::cout, std::cerr);
}

#endif
