#include "ui/main/process_state.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/types.h>
#include <cerrno>
#include <csignal>
#endif

namespace qp40 {

bool ProcessRunning(std::int64_t process_id) {
  if (process_id <= 0) return false;
#ifdef _WIN32
  HANDLE process =
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process_id));
  if (process == nullptr) return false;
  DWORD code = 0;
  const bool running = GetExitCodeProcess(process, &code) != 0 && code == STILL_ACTIVE;
  CloseHandle(process);
  return running;
#else
  // Signal 0 checks that the process exists; one of another user answers EPERM.
  return kill(static_cast<pid_t>(process_id), 0) == 0 || errno == EPERM;
#endif
}

}  // namespace qp40
