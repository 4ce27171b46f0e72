#include <csignal>
#include <iostream>

#include "app/ctl/ctl_app.h"

int main(int argc, char** argv) {
  // A closed pipe on stdout (`qp40ctl show | head`) must not kill the program before it writes
  // the virtual keypad's memory back; the failed write is reported as an error instead.
  // NOLINTNEXTLINE(cert-err33-c): signal() fails only for a signal number that is not valid.
  std::signal(SIGPIPE, SIG_IGN);
  return qp40::ctl::RunCtl(argc, argv, std::cout, std::cerr);
}
