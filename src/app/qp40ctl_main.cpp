#include <iostream>

#include "app/ctl/ctl_app.h"

int main(int argc, char** argv) { return qp40::ctl::RunCtl(argc, argv, std::cout, std::cerr); }
