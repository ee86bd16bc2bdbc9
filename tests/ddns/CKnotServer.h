#pragma once
// A Knot DNS server for the tests, on loopback at a free port, run from a
// temporary directory: zone "example.net" and the reverse zone of
// 2001:db8:1::/64 accept updates signed with the key kKeyName, zone
// "locked.example" accepts none. Stopped and removed with the object.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "standard/CEndpoint.h"
#include "tests/fixtures/TempPath.h"

class CKnotServer {
 public:
  static constexpr const char* kKeyName = "ddns-key";
  static constexpr const char* kSecret = "c2VjcmV0c2VjcmV0c2VjcmV0c2VjcmV0";
  static constexpr const char* kForwardZone = "example.net";
  static constexpr const char* kReverseZone = "1.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa";
  static constexpr const char* kLockedZone = "locked.example";

  CKnotServer() : m_dir(tempPath("knot")) {
    std::system(("rm -rf " + m_dir + " && mkdir -p " + m_dir + "/db").c_str());
    for (const char* zone : {kForwardZone, kReverseZone, kLockedZone}) _writeZone(zone);
    // Another test may take the free port first: then another one.
    std::string why;
    for (int attempt = 0; attempt < 3; ++attempt) {
      m_port = freePort();
      _writeConfig();
      if (_start(why)) return;
    }
    ADD_FAILURE() << why;
  }
  ~CKnotServer() {
    stop();
    std::system(("rm -rf " + m_dir).c_str());
  }

  void stop() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
  }

  nuv::CEndpoint endpoint() const { return nuv::CEndpoint(nuv::CIPAddress("::1"), m_port); }
  std::uint16_t port() const { return m_port; }

  // The records kdig finds, one per line ("" for none).
  std::string query(const std::string& name, const std::string& type) const {
    const std::string command = "kdig @::1 -p " + std::to_string(m_port) +
                                " +short +time=1 +retry=0 " + name + " " + type + " 2>/dev/null";
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
      char buffer[512];
      while (std::fgets(buffer, sizeof buffer, p)) out += buffer;
      pclose(p);
    }
    return out;
  }

  std::string log() const {
    std::ifstream in(m_dir + "/knot.log");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // A UDP and TCP port on ::1 that nothing listens on just now.
  static std::uint16_t freePort() {
    const int s = socket(AF_INET6, SOCK_DGRAM, 0);
    sockaddr_in6 a{};
    a.sin6_family = AF_INET6;
    a.sin6_addr = in6addr_loopback;
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t length = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &length);
    close(s);
    return ntohs(a.sin6_port);
  }

 private:
  void _writeConfig() const {
    std::ofstream out(m_dir + "/knot.conf");
    out << "server:\n  listen: ::1@" << m_port << "\n  rundir: " << m_dir << "\n"
        << "log:\n  - target: stderr\n    any: info\n"
        << "database:\n  storage: " << m_dir << "/db\n"
        << "key:\n  - id: " << kKeyName << "\n    algorithm: hmac-sha256\n    secret: " << kSecret
        << "\n"
        << "acl:\n  - id: update\n    key: " << kKeyName << "\n    action: update\n"
        << "template:\n  - id: default\n    storage: " << m_dir
        << "\n    file: \"%s.zone\"\n    zonefile-sync: -1\n    journal-content: changes\n"
        << "zone:\n  - domain: " << kForwardZone << "\n    acl: update\n"
        << "  - domain: " << kReverseZone << "\n    acl: update\n"
        << "  - domain: " << kLockedZone << "\n";
  }

  void _writeZone(const std::string& zone) const {
    std::ofstream out(m_dir + "/" + zone + ".zone");
    out << "$ORIGIN " << zone << ".\n$TTL 300\n"
        << "@ SOA ns.example.net. admin.example.net. 1 3600 600 86400 300\n"
        << "@ NS ns.example.net.\n";
    if (zone == kForwardZone) out << "ns AAAA ::1\n";
  }

  // Starts knotd and waits (at most 10 s) until it answers; false, with
  // why, when it does not.
  bool _start(std::string& why) {
    const std::string config = m_dir + "/knot.conf";
    const std::string logFile = m_dir + "/knot.log";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    const char* argv[] = {"knotd", "-c", config.c_str(), nullptr};
    const int rc =
        posix_spawnp(&m_pid, "knotd", &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
      m_pid = -1;
      why = std::string("cannot start knotd (scripts/setup.sh installs it): ") + std::strerror(rc);
      return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (query(kForwardZone, "SOA").empty()) {
      if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
        m_pid = -1;
        why = "knotd ended:\n" + log();
        return false;
      }
      if (std::chrono::steady_clock::now() > deadline) {
        stop();
        why = "knotd does not answer:\n" + log();
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
  }

  std::string m_dir;
  std::uint16_t m_port = 0;
  pid_t m_pid = -1;
};
