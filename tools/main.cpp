// dhcp6ctl: the operator's tool for the server's pools, bindings and
// policies in its database.

#include <iostream>

#include "tools/CCtlCommand.h"

int main(int argc, char** argv) {
  return CCtlCommand::run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
