#pragma once
// One dhcp6ctl command line: reads it, opens the database of the
// configuration, runs the command and announces every committed change on
// the host's control socket. Output goes to out, failures (the system's
// own messages as they are) and notes to err.

#include <ostream>
#include <string>
#include <vector>

class CCtlCommand {
 public:
  static constexpr const char* kDefaultConfig = "/etc/dhcp6d/dhcp6d.conf";
  enum Exit { done = 0, failed = 1, misuse = 2 };

  // args: the command line without the program name.
  static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
  static void usage(std::ostream& out);
};
