#pragma once
// Who may ask the server for its status: plain-text queries are answered
// only to these sources, so that the server is neither a reflector for
// forged sources nor a window onto its counters for strangers. The text
// form is a comma-separated list of addresses and prefixes
// ("2001:db8::7, 2001:db8:1::/64"); an empty list allows the loopback
// address and this host's own addresses only.

#include <string_view>
#include <utility>
#include <vector>

#include "standard/CIPAddress.h"

class CInterfaceAddresses;

class CQuerySources {
 public:
  CQuerySources() = default;
  // Raises "Cannot read the status query sources '%1'." for a bad item.
  explicit CQuerySources(std::string_view text);

  // Whether the source is this host itself (loopback or an own address).
  static bool local(const nuv::CIPAddress& source, CInterfaceAddresses& own);
  bool allows(const nuv::CIPAddress& source, CInterfaceAddresses& own) const;

 private:
  std::vector<std::pair<nuv::CIPAddress, unsigned>> m_prefixes;  // network, length
};
