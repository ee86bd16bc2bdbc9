#pragma once
// Stateless operations on DHCPv6 option trees that the packet handler and
// the message processors share: building IAs, addresses, prefixes and
// status codes, copying options between messages, reading the identity
// associations of a message, and giving a reply its request's relay path.
//
// Options are created with the reserved vendor identity under the parent
// they go into, so each gets the definition of its place in the tree
// (a Status Code inside an IA_NA is 3/4/13).
//
// The binding-tuple operations are templates over the tuple type (the
// lease store's CBinding6Tuple): it needs iaType(), iaid() and a
// (DUID, IA type, IAID) constructor.

#include <cstdint>
#include <string>
#include <vector>

#include "dhcp_base/CDHCP6StatusCode.h"
#include "dhcp_base/CIAType.h"
#include "dhcp_base/COption.h"
#include "standard/CHexStore.h"
#include "standard/CIPAddress.h"

class CDHCP6Packet;

class CDHCP6Util {
 public:
  // The kind and IAID of one IA option of a message.
  struct IAKey {
    CIAType type;
    std::uint32_t iaid;
  };

  // Option code under parent; fails when the code has no definition there
  // or its definition cannot be created ("Cannot create option %1.").
  static COptionPtr createOption(std::uint32_t code, COption* parent);
  // createOption, then appended to parent; result is the new option.
  static void createAndStore(std::uint32_t code, const COptionPtr& parent, COptionPtr& result);
  // A deep copy of source's first option code appended to destination;
  // the Required form fails "No such option." when source lacks it, the
  // Optional form then does nothing and returns null.
  static COptionPtr cloneAndStoreRequired(std::uint32_t code, const COptionPtr& source,
                                          const COptionPtr& destination);
  static COptionPtr cloneAndStoreOptional(std::uint32_t code, const COptionPtr& source,
                                          const COptionPtr& destination);

  // T1 = lifetime / 2, T2 = lifetime * 4 / 5 (truncated) on an IA_NA or
  // IA_PD; any other option is left as it is.
  static void setT1T2(const COptionPtr& ia, std::uint32_t lifetime);
  // Appends an IA Address to an IA_NA or IA_TA; returns it.
  static COptionPtr addIAADDR(const COptionPtr& ia, const nuv::CIPAddress& address,
                              std::uint32_t preferred, std::uint32_t valid);
  // Appends an IA Prefix to an IA_PD; returns it.
  static COptionPtr addIAPrefix(const COptionPtr& ia, const nuv::CIPAddress& prefix,
                                std::uint8_t prefixLength, std::uint32_t preferred,
                                std::uint32_t valid);
  // Appends a Status Code with the code's name as its message to a
  // message's options, or into the sub-options of an IA, IA Address or
  // IA Prefix; returns it.
  static COptionPtr addStatusCode(const COptionPtr& parent, CDHCP6StatusCode code);
  // An IA of the kind with the IAID, empty T1 and T2 (IA_NA, IA_PD) and an
  // empty sub-option container, appended to parent; returns it.
  static COptionPtr createMinimalIA(CIAType type, std::uint32_t iaid, const COptionPtr& parent);
  template <class Tuple>
  static COptionPtr createMinimalIA(const Tuple& tuple, const COptionPtr& parent) {
    return createMinimalIA(CIAType(tuple.iaType()), tuple.iaid(), parent);
  }

  // The data of option code of options (empty when absent).
  static nuv::CHexStore optionData(const COptionPtr& options, std::uint32_t code);
  // The Option Request option, or null.
  static COptionPtr findORO(const COptionPtr& options);
  // The Server Identifier's data, empty when absent.
  static nuv::CHexStore requestedServer(const COptionPtr& options);
  // The domain name of the Client FQDN option, empty when absent.
  static std::string clientSuppliedHostname(const COptionPtr& options);
  // The path of the IAID element relative to the IA ({1}), and the IA's
  // sub-option container; other options fail ("Invalid type.").
  static CTagPath findIAIDTag(const COptionPtr& ia);
  static COptionPtr findIAOptions(const COptionPtr& ia);
  // Where options nested in option go: a container itself, or the
  // sub-option element of an IA, IA Address or IA Prefix; other options
  // fail ("The option holds no sub-options.").
  static COptionPtr subOptions(const COptionPtr& option);

  // For each code the Option Request option lists, in order: a copy of the
  // option from primary, else from secondary (either may be null), is
  // appended to reply and its code to added; a code already in added is
  // skipped. Nothing when oro is null.
  static void addRequestedOptions(const COptionPtr& oro, const COptionPtr& primary,
                                  const COptionPtr& secondary, const COptionPtr& reply,
                                  std::vector<std::uint32_t>& added);

  // Kind and IAID of every IA_NA, IA_TA and IA_PD of options, in order.
  static std::vector<IAKey> iaKeys(const COptionPtr& options);
  template <class Tuple>
  static std::vector<Tuple> bindingIDs(const COptionPtr& options, const nuv::CHexStore& clientID) {
    std::vector<Tuple> out;
    for (const IAKey& k : iaKeys(options)) out.emplace_back(clientID, k.type, k.iaid);
    return out;
  }
  // The IA of the kind with the IAID, or null.
  static COptionPtr findIA(CIAType type, std::uint32_t iaid, const COptionPtr& options);
  // In that IA, the IA Address (IA Prefix for an IA_PD) holding address, or null.
  static COptionPtr findIAAddress(CIAType type, std::uint32_t iaid, const nuv::CIPAddress& address,
                                  const COptionPtr& options);
  // The addresses of an IA's IA Address options (the prefixes of an
  // IA_PD's IA Prefix options), in order.
  static std::vector<nuv::CIPAddress> iaAddresses(const COptionPtr& ia);
  template <class Tuple>
  static COptionPtr findBindingID(const Tuple& tuple, const COptionPtr& options) {
    return findIA(CIAType(tuple.iaType()), tuple.iaid(), options);
  }
  template <class Tuple>
  static COptionPtr findBindingID(const Tuple& tuple, const nuv::CIPAddress& address,
                                  const COptionPtr& options) {
    return findIAAddress(CIAType(tuple.iaType()), tuple.iaid(), address, options);
  }

  // Appends to reply a copy of each of request's relay layers, outermost
  // first, turned into Relay-reply; everything else the relays sent
  // (hop-count, addresses, Interface-ID, ...) is echoed unchanged.
  static void cloneAndUpdateRelayReturnHeaders(const CDHCP6Packet& request, CDHCP6Packet& reply);
  // What every reply starts with: the request's relay path, its
  // transaction-id and our Server Identifier; the transaction-id.
  static std::uint32_t startReply(const CDHCP6Packet& request, CDHCP6Packet& reply,
                                  const nuv::CHexStore& serverDUID);

  // The element of a fixed-layout option (as the Client FQDN's flags),
  // created when missing, and its one value replaced.
  static COptionPtr element(const COptionPtr& option, std::uint32_t code);
  static void setElement(const COptionPtr& option, std::uint32_t code, std::uint8_t value);
  static void setElement(const COptionPtr& option, std::uint32_t code, const std::string& value);
};
