#pragma once
// The addresses of the host's interfaces by index, as a worker thread looks
// them up for each datagram: the local-segment pools of a client on the
// server's own link are chosen by the addresses of the interface the
// message arrived on. The table is read once and again when an unknown
// index turns up or it is older than kMaxAge seconds, so a datagram costs
// a lookup, not a walk of the system's interface list.

#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "extended/CInterfaceEnum.h"

class CInterfaceAddresses {
 public:
  using Addresses = std::vector<nuv::CIPAddress>;
  using Lister = std::function<std::vector<CInterfaceEnum::Detail>()>;
  static constexpr std::time_t kMaxAge = 10;

  // lister: the interfaces to know (empty: the host's IPv6 interfaces).
  explicit CInterfaceAddresses(Lister lister = {});

  // The interface's addresses a client could be numbered from: neither
  // link-local, loopback, multicast nor unspecified. Empty for an unknown
  // index; the handle stays valid after later refreshes.
  std::shared_ptr<const Addresses> find(unsigned index);
  // Whether the address is one of this host's, on any interface.
  bool isOwn(const nuv::CIPAddress& address);
  // Another source of interfaces; the table is read again on next use.
  void lister(Lister lister);

 private:
  void _refresh(std::time_t now);

  Lister m_lister;
  std::map<unsigned, std::shared_ptr<const Addresses>> m_byIndex;
  std::set<nuv::CIPAddress> m_all;
  std::time_t m_readAt = 0;
  std::shared_ptr<const Addresses> m_none = std::make_shared<const Addresses>();
};
