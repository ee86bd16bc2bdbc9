#pragma once
// What differs between leasing addresses (IA_NA, IA_TA) and delegating
// prefixes (IA_PD): the record classes, the thread's finders, the command
// that hands a candidate back, the address manager's pool kind, the reply
// option a lease is written as, and the words of the log lines. The
// message processors are written once over these two kinds.

#include <cstdint>

#include "dhcp6_server/CDHCP6TLS.h"
#include "dhcp_base/CDHCP6Util.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPending6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "dhcp_database/CPrstNetworkPending6.h"
#include "dhcp_database/CPrstNetworkPool6.h"
#include "dhcp_server_common/CCmdReleasePoolCandidate.h"
#include "dhcp_server_common/CIDHCPAddrMgr.h"
#include "standard/CMessage.h"

struct CDHCP6AddressKind {
  using Pool = CPrstAddressPool6;
  using Binding = CPrstAddressBinding6;
  using Pending = CPrstAddressPending6;
  using Release = CCmdReleaseAPoolCandidate;
  static constexpr int kPoolKind = CIDHCPAddrMgr::addressPools;

  static CPoolFinder<Pool>& poolFinder(CDHCP6TLS& tls) { return tls.apoolFinder(); }

  // An address is printed as itself.
  static nuv::CMessage& pushLease(nuv::CMessage& m, const nuv::CIPAddress& a, std::uint32_t) {
    return m.pusho(a);
  }
  static COptionPtr addLease(const COptionPtr& ia, const nuv::CIPAddress& a, std::uint32_t,
                             std::uint32_t preferred, std::uint32_t valid) {
    return CDHCP6Util::addIAADDR(ia, a, preferred, valid);
  }
  static std::uint32_t length(const Pending&) { return 128; }
  static std::uint32_t length(const Binding&) { return 128; }
  static void length(Pending&, std::uint32_t) {}

  static constexpr const char* kFoundPending =
      "%1 Found pending address %2 for device '%3' on link %4.";
  static constexpr const char* kDiscardPending =
      "%1 Discarding pended address %2 for device '%3' on link %4. The source pool no longer "
      "exists.";
  static constexpr const char* kNoPools =
      "%1 No address pools available for device '%2' on link %3.";
  static constexpr const char* kRequesting =
      "%1 Requesting an address from pool candidates (%2) for device '%3' on link %4.";
  static constexpr const char* kFoundFree =
      "%1 Found free address %2 in pool %3 for device '%4' on link %5.";
  static constexpr const char* kPended = "%1 Pended address %2 for device '%3' on link %4.";
  static constexpr const char* kCreateFailed = "Failed to create a pending record for device %1.";
};

struct CDHCP6PrefixKind {
  using Pool = CPrstNetworkPool6;
  using Binding = CPrstNetworkBinding6;
  using Pending = CPrstNetworkPending6;
  using Release = CCmdReleaseNPoolCandidate;
  static constexpr int kPoolKind = CIDHCPAddrMgr::prefixPools;

  static CPoolFinder<Pool>& poolFinder(CDHCP6TLS& tls) { return tls.npoolFinder(); }

  // A prefix is printed as address and length ("%2/%3").
  static nuv::CMessage& pushLease(nuv::CMessage& m, const nuv::CIPAddress& a,
                                  std::uint32_t length) {
    return m.pusho(a).push(length);
  }
  static COptionPtr addLease(const COptionPtr& ia, const nuv::CIPAddress& a, std::uint32_t length,
                             std::uint32_t preferred, std::uint32_t valid) {
    return CDHCP6Util::addIAPrefix(ia, a, static_cast<std::uint8_t>(length), preferred, valid);
  }
  static std::uint32_t length(const Pending& p) { return p.prefixLen(); }
  static std::uint32_t length(const Binding& b) { return b.prefixLen(); }
  static void length(Pending& p, std::uint32_t v) { p.prefixLen(v); }

  static constexpr const char* kFoundPending =
      "%1 Found pending prefix %2/%3 for device '%4' on link %5.";
  static constexpr const char* kDiscardPending =
      "%1 Discarding pended prefix %2/%3 for device '%4' on link %5. The source pool no longer "
      "exists.";
  static constexpr const char* kNoPools =
      "%1 No prefix pools available for device '%2' on link %3.";
  static constexpr const char* kRequesting =
      "%1 Requesting a prefix from pool candidates (%2) for device '%3' on link %4.";
  static constexpr const char* kFoundFree =
      "%1 Found free prefix %2 in pool %3 for device '%4' on link %5.";
  static constexpr const char* kPended = "%1 Pended prefix %2/%3 for device '%4' on link %5.";
  static constexpr const char* kCreateFailed =
      "Failed to create a prefix pending record for device %1.";
};
