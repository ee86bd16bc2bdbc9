// dhcp6d: the host process. Loads the DHCPv6 server and its sibling plug-ins
// named by the configuration and runs them until SIGINT or SIGTERM; SIGHUP
// re-reads the configuration.

#include <malloc.h>
#include <systemd/sd-daemon.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/CHostController.h"
#include "standard/CException.h"

namespace {

constexpr const char* kDefaultConfig = "/etc/dhcp6d/dhcp6d.conf";

void usage(std::FILE* out) {
  std::fprintf(out,
               "usage: dhcp6d [-c FILE]\n"
               "\n"
               "Runs the DHCPv6 server in the foreground until SIGINT or SIGTERM.\n"
               "SIGHUP re-reads the configuration (an invalid one is refused and the\n"
               "running one kept). SIGUSR1 pauses the service (datagrams are dropped),\n"
               "SIGUSR2 resumes it.\n"
               "\n"
               "  -c FILE   configuration file of 'key = value' lines ('#' comments);\n"
               "            default %s\n"
               "  -h, --help  this text\n",
               kDefaultConfig);
}

}  // namespace

int main(int argc, char** argv) {
  // Each worker frees what a message allocated; by default glibc then hands
  // the top of the thread's heap back to the kernel and faults it in again
  // for the next message (a madvise per message). Keep up to 16 MB a heap.
  mallopt(M_TRIM_THRESHOLD, 16 << 20);
  std::string configPath = kDefaultConfig;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      usage(stdout);
      return 0;
    }
    if (arg == "-c" && i + 1 < argc) {
      configPath = argv[++i];
      continue;
    }
    std::fprintf(stderr, "dhcp6d: unknown argument '%s'\n", arg.c_str());
    usage(stderr);
    return 2;
  }

  // Signals are taken by sigwait on this thread only; every thread the
  // plug-ins start inherits the blocked mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  sigaddset(&signals, SIGUSR1);
  sigaddset(&signals, SIGUSR2);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  std::unique_ptr<CHostController> host;
  try {
    host = std::make_unique<CHostController>(nuv::CConfig::load(configPath));
    host->log().log(nuv::sev_info,
                    nuv::CMessage("Starting with configuration '%1'.").pushs(configPath));
    host->start();
    if (!host->run()) {
      host->stop();
      return 1;
    }
    // Every plug-in runs and the server serves: a supervisor may go on.
    sd_notify(0, "READY=1");
  } catch (const nuv::CException& e) {
    // Once the host is made its log is where the operator looks.
    if (host)
      host->log().log(nuv::sev_error, nuv::CMessage(e.printableError()));
    else
      std::fprintf(stderr, "dhcp6d: %s\n", e.printableError().c_str());
    return 1;
  }

  for (;;) {
    int sig = 0;
    if (sigwait(&signals, &sig) != 0) continue;
    if (sig == SIGUSR1 || sig == SIGUSR2) {
      host->publishMode(sig == SIGUSR1 ? CSystemMode::paused : CSystemMode::servicing);
      continue;
    }
    if (sig == SIGHUP) {
      sd_notify(0, "RELOADING=1");
      try {
        host->reload(nuv::CConfig::load(configPath));
      } catch (const nuv::CException& e) {
        host->log().log(
            nuv::sev_error,
            nuv::CMessage("Keeping the current configuration: %1").pushs(e.printableError()));
      }
      sd_notify(0, "READY=1");
      continue;
    }
    host->log().log(nuv::sev_info, nuv::CMessage("Stopping on signal %1.").pushs(strsignal(sig)));
    sd_notify(0, "STOPPING=1");
    break;
  }
  host->stop();
  host->log().log(nuv::sev_info, nuv::CMessage("Stopped."));
  return 0;
}
