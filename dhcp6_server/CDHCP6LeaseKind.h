#pragma once
// What differs between leasing addresses (IA_NA, IA_TA) and delegating
// prefixes (IA_PD): the record classes, the thread's finders, the command
// that hands a candidate back, the address manager's pool kind, the reply
// option a lease is written as, and the words of the log lines. The
// message processors are written once over these two kinds.

#include <cstdint>

#include "dhcp6_server/CDHCP6TLS.h"
#include "dhcp_base/CDHCP6Util.h"
#include "dhcp_base/CValueTypeConverter.h"
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

  // The reply option a lease is written as, and the bus's class of it.
  static constexpr std::uint32_t kLeaseOption = 5;
  static const char* eventClass() { return "address_lease"; }
  static constexpr const char* kNoLeases =
      "%1 No address leases or pendings are available for device '%2' on link %3.";
  static constexpr const char* kExtended =
      "%1 Extended address binding for device '%2' on link %3 with address %4.";
  static constexpr const char* kCreated =
      "%1 Created address binding for device '%2' on link %3 with address %4 from pool %5.";
  static constexpr const char* kDropped =
      "%1 Dropping request from device '%2'. This device was offered an address from pool %3, but "
      "the pool is no longer accessible to this device.";
  static constexpr const char* kTaken =
      "%1 Dropping request from device '%2'. The address %3 offered to this device is leased to "
      "another device.";

  // The address a client's IA Address option names.
  static nuv::CIPAddress leaseOf(const COption& option) {
    return CValueTypeConverter::ip(*option.find(CTagPath{1}), 0);
  }
  static constexpr const char* kNotRenewable =
      "%1 No address leases are available to be renewed for device '%2' on link %3.";
  static constexpr const char* kRebindUnknown =
      "%1 Discarding 'REBIND' from device '%2' for address %3. (No such binding.)";
  static constexpr const char* kRebindOffLink =
      "%1 Refusing to rebind address %2 for device '%3' on link %4. Not on link %5.";
  static constexpr const char* kRebindNoPool =
      "%1 Refusing to rebind address %2 for device '%3' on link %4. Pool %5 is no longer "
      "accessible to this device.";
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

  static constexpr std::uint32_t kLeaseOption = 26;
  static const char* eventClass() { return "network_lease"; }
  static constexpr const char* kNoLeases =
      "%1 No prefix leases or pendings are available for device '%2' on link %3.";
  static constexpr const char* kExtended =
      "%1 Extended prefix binding for device '%2' on link %3 with address %4/%5.";
  static constexpr const char* kCreated =
      "%1 Created prefix binding for device '%2' on link %3 with address %4/%5 from pool %6.";
  static constexpr const char* kDropped =
      "%1 Dropping request from device '%2'. This device was offered a prefix from pool %3, but "
      "the pool is no longer accessible to this device.";
  static constexpr const char* kTaken =
      "%1 Dropping request from device '%2'. The prefix %3 offered to this device is delegated to "
      "another device.";

  // The prefix a client's IA Prefix option names.
  static nuv::CIPAddress leaseOf(const COption& option) {
    return CValueTypeConverter::ip(*option.find(CTagPath{4}), 0);
  }
  static constexpr const char* kNotRenewable =
      "%1 No prefix leases are available to be renewed for device '%2' on link %3.";
  static constexpr const char* kRebindUnknown =
      "%1 Discarding 'REBIND' from device '%2' for prefix %3. (No such binding.)";
  static constexpr const char* kRebindOffLink =
      "%1 Refusing to rebind prefix %2 for device '%3' on link %4. Not on link %5.";
  static constexpr const char* kRebindNoPool =
      "%1 Refusing to rebind prefix %2 for device '%3' on link %4. Pool %5 is no longer "
      "accessible to this device.";
};
