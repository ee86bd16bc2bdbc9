#pragma once
// The private network namespace the socket tests run in: loopback up and
// a veth pair "nsv0"/"nsv1" with fd00::1/64 and fd00::2/64, duplicate
// address detection off. Nothing leaves it.

#include <set>
#include <string>

class CNetNamespace {
 public:
  static constexpr const char* kVeth0 = "nsv0";
  static constexpr const char* kVeth1 = "nsv1";

  // Called once from main() before any thread exists; false when the
  // process may not make a namespace (then the tests skip).
  static bool enter();
  static bool ready() { return s_ready; }
  static const std::string& whyNot() { return s_whyNot; }
  // Waits (bounded) until the interface has a usable link-local address.
  static bool waitForLinkLocal(const char* interfaceName);
  // The multicast groups the interface has joined (/proc/net/igmp6), as
  // address texts.
  static std::set<std::string> groupsOn(const std::string& interfaceName);

 private:
  static bool s_ready;
  static std::string s_whyNot;
};

#define NETNS_REQUIRED() \
  if (!CNetNamespace::ready()) GTEST_SKIP() << CNetNamespace::whyNot()
