#include "ctl_runner.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "files/utf8_path.h"

namespace qp40::e2e {

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

#ifdef _WIN32

// A name in the temporary folder that nothing uses yet.
fs::path FreshTempPath(const std::string& prefix) {
  std::random_device random;
  for (;;) {
    fs::path candidate =
        fs::temp_directory_path() / (prefix + std::to_string(random()) + std::to_string(random()));
    if (!fs::exists(candidate)) return candidate;
  }
}

// One argument as CommandLineToArgvW reads it back: quoted when it holds blanks or quotes, with
// the backslashes before a quote doubled.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, L'\\');
  return quoted + L"\"";
}

HANDLE InheritableFile(const fs::path& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Runs the program with its arguments handed over as a wide command line, as the Windows shell
// does, so that non-ASCII file names reach it whole. A start that fails is tried again a few
// times (Wine now and then fails to start a process on a loaded machine); when every try fails,
// `why` says so.
int RunProcess(const std::vector<std::string>& args, const fs::path& out, const fs::path& err,
               std::string& why) {
  std::wstring command_line = Quoted(PathFromUtf8(QP40CTL_PATH).wstring());
  for (const std::string& arg : args) command_line += L" " + Quoted(PathFromUtf8(arg).wstring());

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = InheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
  startup.hStdOutput = InheritableFile(out, GENERIC_WRITE, CREATE_ALWAYS);
  startup.hStdError = InheritableFile(err, GENERIC_WRITE, CREATE_ALWAYS);
  if (startup.hStdOutput == INVALID_HANDLE_VALUE || startup.hStdError == INVALID_HANDLE_VALUE) {
    why = "the output files could not be made: error " + std::to_string(GetLastError()) + "\n";
  }
  PROCESS_INFORMATION process{};
  int exit_code = -1;
  constexpr int kStartTries = 5;
  bool started = false;
  DWORD start_error = 0;
  for (int attempt = 1; attempt <= kStartTries && !started; ++attempt) {
    started = CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                             nullptr, &startup, &process) != 0;
    if (!started) {
      start_error = GetLastError();
      Sleep(static_cast<DWORD>(200 * attempt));
    }
  }
  if (!started) {
    why += "qp40ctl.exe did not start in " + std::to_string(kStartTries) + " tries: error " +
           std::to_string(start_error) + "\n";
  } else {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) exit_code = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  return exit_code;
}

}  // namespace

CtlResult RunCtl(const std::vector<std::string>& args, const char* stdout_file) {
  const fs::path out =
      stdout_file != nullptr ? PathFromUtf8(stdout_file) : FreshTempPath("qp40ctl-out-");
  const fs::path err = FreshTempPath("qp40ctl-err-");
  CtlResult result;
  std::string why;
  result.exit_code = RunProcess(args, out, err, why);
  if (stdout_file == nullptr) {
    result.out = ReadText(out);
    fs::remove(out);
  }
  result.err = why + ReadText(err);
  fs::remove(err);
  return result;
}

#else

}  // namespace

CtlResult RunCtl(const std::vector<std::string>& args, const char* stdout_file) {
  // Output goes to files rather than pipes, so a chatty run can never block on a full pipe.
  char out_template[] = "/tmp/qp40ctl-out-XXXXXX";
  char err_template[] = "/tmp/qp40ctl-err-XXXXXX";
  const int out_fd = mkstemp(out_template);
  const int err_fd = mkstemp(err_template);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (stdout_file != nullptr) {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdout_file, O_WRONLY, 0);
  } else {
    posix_spawn_file_actions_adddup2(&actions, out_fd, STDOUT_FILENO);
  }
  posix_spawn_file_actions_adddup2(&actions, err_fd, STDERR_FILENO);

  std::vector<std::string> argv_strings = {QP40CTL_PATH};
  argv_strings.insert(argv_strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argv_strings) argv.push_back(arg.data());
  argv.push_back(nullptr);

  CtlResult result;
  pid_t pid = 0;
  const int spawn_error = posix_spawn(&pid, QP40CTL_PATH, &actions, nullptr, argv.data(), environ);
  if (spawn_error == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  close(out_fd);
  close(err_fd);
  result.out = ReadText(out_template);
  result.err = ReadText(err_template);
  if (spawn_error != 0) {
    result.err += "qp40ctl did not start: error " + std::to_string(spawn_error) + "\n";
  }
  fs::remove(out_template);
  fs::remove(err_template);
  return result;
}

#endif

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::vector<std::vector<std::string>> Cells(const std::string& grid) {
  std::vector<std::vector<std::string>> rows;
  std::size_t start = 0;
  while (start < grid.size()) {
    const std::size_t end = grid.find('\n', start);
    const std::string line = grid.substr(start, end - start);
    std::vector<std::string> cells;
    std::size_t cell_start = 0;
    while (true) {
      const std::size_t tab = line.find('\t', cell_start);
      cells.push_back(line.substr(cell_start, tab - cell_start));
      if (tab == std::string::npos) break;
      cell_start = tab + 1;
    }
    rows.push_back(cells);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return rows;
}

void CtlTest::SetUp() {
#ifdef _WIN32
  dir_ = FreshTempPath("qp40ctl-e2e-");
  fs::create_directories(dir_);
#else
  char dir_template[] = "/tmp/qp40ctl-e2e-XXXXXX";
  dir_ = mkdtemp(dir_template);
#endif
  // Each test keeps its keypad history in its own folder, never in the user's.
  const std::string data = (dir_ / "data").string();
#ifdef _WIN32
  _putenv_s("LOCALAPPDATA", data.c_str());
#else
  setenv("XDG_DATA_HOME", data.c_str(), 1);
#endif
}

void CtlTest::TearDown() { fs::remove_all(dir_); }

std::string CtlTest::Ok(const std::vector<std::string>& args) {
  const CtlResult result = RunCtl(args);
  std::string command;
  for (const std::string& arg : args) command += " " + arg;
  EXPECT_EQ(result.exit_code, 0) << "qp40ctl" << command << "\n" << result.err;
  return result.out;
}

}  // namespace qp40::e2e
