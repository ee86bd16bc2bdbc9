#include "tests/netns/CNetNamespace.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "standard/CIPAddress.h"

bool CNetNamespace::s_ready = false;
std::string CNetNamespace::s_whyNot;

namespace {

bool writeSysctl(const std::string& path, const char* value) {
  std::ofstream out(path);
  out << value;
  return static_cast<bool>(out.flush());
}

}  // namespace

bool CNetNamespace::enter() {
  if (geteuid() != 0) {
    s_whyNot = "socket tests need root to make a network namespace";
    return false;
  }
  if (unshare(CLONE_NEWNET) != 0) {
    s_whyNot = "cannot make a network namespace";
    return false;
  }
  // New interfaces inherit "default"; addresses are added with nodad too.
  for (const char* conf : {"all", "default"})
    writeSysctl(std::string("/proc/sys/net/ipv6/conf/") + conf + "/accept_dad", "0");
  const char* commands[] = {
      "ip link set lo up",
      "ip link add nsv0 type veth peer name nsv1",
      "ip -6 addr add fd00::1/64 dev nsv0 nodad",
      "ip -6 addr add fd00::2/64 dev nsv1 nodad",
      "ip link set nsv0 up",
      "ip link set nsv1 up",
  };
  for (const char* command : commands) {
    if (std::system(command) != 0) {
      s_whyNot = std::string("failed: ") + command;
      return false;
    }
  }
  s_ready = true;
  return true;
}

bool CNetNamespace::waitForLinkLocal(const char* interfaceName) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    ifaddrs* list = nullptr;
    bool found = false;
    if (getifaddrs(&list) == 0) {
      for (ifaddrs* i = list; i && !found; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET6) continue;
        const auto* sa = reinterpret_cast<const sockaddr_in6*>(i->ifa_addr);
        found = std::string(i->ifa_name) == interfaceName && IN6_IS_ADDR_LINKLOCAL(&sa->sin6_addr);
      }
      freeifaddrs(list);
    }
    if (found) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

std::set<std::string> CNetNamespace::groupsOn(const std::string& interfaceName) {
  // Lines: index, interface, group in 32 hex digits, users, flags, timer.
  std::set<std::string> groups;
  std::ifstream in("/proc/net/igmp6");
  std::string index, name, hex, rest;
  while (in >> index >> name >> hex && std::getline(in, rest)) {
    if (name != interfaceName || hex.size() != 32) continue;
    std::uint8_t raw[16];
    for (int i = 0; i < 16; ++i)
      raw[i] = static_cast<std::uint8_t>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
    groups.insert(nuv::CIPAddress(raw, 16).string());
  }
  return groups;
}
