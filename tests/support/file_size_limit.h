#pragma once

#ifdef _WIN32

namespace qp40::testing {

// Windows sets no per-process limit on the size of a file; the tests that need a write to stop
// half-way skip there.
inline constexpr bool kFileSizeLimitAvailable = false;

class FileSizeLimit {
 public:
  explicit FileSizeLimit(unsigned long long) {}
};

}  // namespace qp40::testing

#else

#include <sys/resource.h>

#include <csignal>

namespace qp40::testing {

inline constexpr bool kFileSizeLimitAvailable = true;

// Lowers the largest file this process may write, so a write stops half-way as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previous_handler_)(int) = nullptr;
};

}  // namespace qp40::testing

#endif
