#pragma once
// The leasing processors on a database with an address pool and a prefix
// pool on link kLink, the real address manager, system bus and evaluator
// (for the pools' access rules); messages and IAs written as bytes, the leases of a
// reply read back as text.

#include <cstdlib>
#include <mutex>

#include "dhcp_base/CDHCP6Util.h"
#include "dhcp_base/CValueTypeConverter.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPending6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "dhcp_database/CPrstNetworkPending6.h"
#include "dhcp_database/CPrstNetworkPool6.h"
#include "dhcp_server_common/CDDNSLeaseNames.h"
#include "extended/CISystemBus.h"
#include "tests/dhcp6_server/ServedExchangeFixture.h"

namespace served {

inline const char* const kLink = "2001:db8:1::1";

// What the bus announced, one line per lease event.
class CEventLog : public CIEventSubscriber {
 public:
  void event(const std::shared_ptr<const CAppEvent>& e) override {
    const nuv::CStringMap m = e->sm();
    std::lock_guard<std::mutex> lock(mutex);
    lines.push_back(*m.getp("event_type") + " " + *m.getp("event_class") + " " +
                    *m.getp("address") + " pool=" + *m.getp("pool_oid") + " host='" +
                    *m.getp("hostname") + "' family=" + *m.getp("proto_family"));
  }
  std::mutex mutex;
  std::vector<std::string> lines;
};

// A Client FQDN option: flags, then the name in wire form; a name without
// a trailing dot goes partial (no root label), as a bare host label does.
inline std::string fqdnOption(std::uint8_t flags, const std::string& name) {
  std::string data(1, static_cast<char>(flags));
  std::string label;
  const bool absolute = !name.empty() && name.back() == '.';
  for (char c : absolute ? name : name + ".") {
    if (c != '.') {
      label += c;
    } else if (!label.empty()) {
      data += static_cast<char>(label.size()) + label;
      label.clear();
    }
  }
  if (absolute) data += '\0';
  return opt(39, data);
}

// What an Advertise's IA says, in numbers.
struct Offer {
  std::uint32_t t1 = 0, t2 = 0;
  std::vector<std::string> leases;  // "address preferred valid" / "prefix/len preferred valid"
};

struct LeasingFixture : ServedExchangeFixture {
  void morePlugins() override {
    ASSERT_TRUE(host.plugins().loadPlugin(std::string(NUV_PLUGIN_DIR) + "/addr_mgr.so"));
    ASSERT_TRUE(host.plugins().loadPlugin(std::string(NUV_PLUGIN_DIR) + "/system_bus.so"));
    ASSERT_TRUE(host.plugins().loadPlugin(std::string(NUV_PLUGIN_DIR) + "/evaluator.so"));
  }
  void SetUp() override {
    ServedExchangeFixture::SetUp();
    if (!tls) return;
    lanPool = addressPool("lan", "2001:db8:1::10", "2001:db8:1::ff", kLink);
    pdPool = prefixPool("pd", kLink);
    bus = tls->context().mediator().publisher();
    ASSERT_TRUE(bus);
    bus->subscribe(&events, {"address_lease", "network_lease"});
  }
  void TearDown() override {
    if (bus) bus->unsubscribe(&events);
    ServedExchangeFixture::TearDown();
  }
  // The Server Identifier option naming this server.
  std::string thisServer() const {
    const nuv::CHexStore duid = host.duid();
    return opt(2, std::string(reinterpret_cast<const char*>(duid.data()), duid.size()));
  }
  // The stored leases, as "address relay duration pool account fixed
  // protocol domains", then "fresh" for a lease committed just now.
  template <class Binding>
  std::vector<std::string> bindings() {
    tls->startTransaction();
    std::vector<std::string> out;
    for (const auto& b : session().select<Binding>("generic.all")) {
      out.push_back(b->ipAddr().string() + " " + b->ipRelay().string() + " " +
                    std::to_string(b->leaseDuration()) + " " + std::to_string(b->poolOID()) + " " +
                    std::to_string(b->accountOID()) + " " + (b->isFixed() ? "fixed" : "dynamic") +
                    " " + b->bootProto() + " " + b->domainMemberships().string() +
                    (std::abs(b->remainingLeaseTime() - b->leaseDuration()) <= 2 ? " fresh" : ""));
    }
    tls->commitTransaction();
    return out;
  }
  // Each stored address lease as "address duration", in the order made.
  std::vector<std::string> durations() {
    tls->startTransaction();
    std::vector<std::string> out;
    for (const auto& b : session().select<CPrstAddressBinding6>("generic.all"))
      out.push_back(b->ipAddr().string() + " " + std::to_string(b->leaseDuration()));
    tls->commitTransaction();
    return out;
  }
  // The DNS names each stored address lease keeps, in the order made:
  // "address name forward-zone reverse-zone server authoritative", "-"
  // for an empty part, or "address -" when it keeps none.
  std::vector<std::string> keptNames() {
    tls->startTransaction();
    std::vector<std::string> out;
    for (const auto& b : session().select<CPrstAddressBinding6>("generic.all")) {
      const CDDNSLeaseNames n = CDDNSLeaseNames::of(*b);
      const auto part = [](const std::string& s) { return s.empty() ? std::string("-") : s; };
      out.push_back(b->ipAddr().string() +
                    (n.empty()
                         ? std::string(" -")
                         : " " + n.fqdn + " " + part(n.forwardZone) + " " + part(n.reverseZone) +
                               " " + n.server.string() + " " + (n.authoritative ? "1" : "0")));
    }
    tls->commitTransaction();
    return out;
  }
  // The Status Code inside the reply's IA of that code, as text.
  static std::string status(const std::shared_ptr<CDHCP6Packet>& reply, unsigned ia) {
    COptionPtr s;
    if (!reply || !reply->hostOptions()->find(CTagPath{ia, ia == 4 ? 2u : 4u, 13}, s))
      return "<none>";
    return s->string();
  }
  std::int32_t addressPool(const std::string& name, const std::string& start,
                           const std::string& stop, const std::string& relay,
                           const std::string& more = "") {
    return store<CPrstAddressPool6>("name = " + name + "\nvalid_lt = 7200\npref_lt = 3600\n" +
                                    "prefix_len = 64\nrangestart = " + start + "\nrangestop = " +
                                    stop + "\nrelay = " + relay + "\ndomains = 2\n" + more);
  }
  std::int32_t prefixPool(const std::string& name, const std::string& relay,
                          const std::string& more = "") {
    return store<CPrstNetworkPool6>("name = " + name +
                                    "\nvalid_lt = 7200\npref_lt = 3600\nprefix = 2001:db8:100::\n"
                                    "prefix_len = 40\nsub_prefix_len = 56\n"
                                    "rangestart = 2001:db8:100::\nrangestop = 2001:db8:1ff:ff00::\n"
                                    "relay = " +
                                    relay + "\ndomains = 2\n" + more);
  }
  // A lease of the client's, made on link in the pool.
  void lease(const std::string& address, std::uint32_t iaid = 1, const char* iatype = "iana",
             const std::string& more = "", const std::string& link = kLink,
             const std::string& pool = "lan") {
    store<CPrstAddressBinding6>(
        std::string("client_id = 00-03-00-01-02-00-00-00-00-02\niatype = ") + iatype + "\niaid = " +
        std::to_string(iaid) + "\nlease_duration = 7200\ndomains = 2\nipaddr = " + address +
        "\nrelay = " + link + "\nsource_pool = " + pool + "\n" + more);
  }
  // The client's /56 at 2001:db8:100:: (IAID 2) from pool pd.
  void prefixLease(const std::string& more = "") {
    store<CPrstNetworkBinding6>(
        "client_id = 00-03-00-01-02-00-00-00-00-02\niatype = iapd\niaid = 2\n"
        "lease_duration = 7200\ndomains = 2\nipaddr = 2001:db8:100::\nprefix_len = 56\n"
        "source_pool = pd\nrelay = " +
        std::string(kLink) + "\n" + more);
  }
  // The client's message of type with options, relayed from link (null:
  // sent on the server's own link); the reply, or null.
  std::shared_ptr<CDHCP6Packet> clientMessage(unsigned type, const std::string& options,
                                              const char* link = kLink) {
    const std::string inner = msg(type, clientID() + options);
    return exchange(link ? relayed(link, inner) : inner);
  }

  // The IA of the Advertise, or nothing.
  static bool offer(const std::shared_ptr<CDHCP6Packet>& advertise, unsigned code, Offer& out) {
    out = Offer();
    COptionPtr ia;
    if (!advertise || !advertise->hostOptions()->find(CTagPath{code}, ia)) return false;
    const COptionPtr sub = CDHCP6Util::subOptions(ia);
    if (code != 4) {
      out.t1 = CValueTypeConverter::uint32(*ia->find(CTagPath{2}), 0);
      out.t2 = CValueTypeConverter::uint32(*ia->find(CTagPath{3}), 0);
    }
    for (const COptionPtr& c : *sub->children()) {
      const auto n = [&](unsigned e) {
        return CValueTypeConverter::uint32(*c->find(CTagPath{e}), 0);
      };
      if (c->tag() == 5)
        out.leases.push_back(CValueTypeConverter::ip(*c->find(CTagPath{1}), 0).string() + " " +
                             std::to_string(n(2)) + " " + std::to_string(n(3)));
      else if (c->tag() == 26)
        out.leases.push_back(CValueTypeConverter::ip(*c->find(CTagPath{4}), 0).string() + "/" +
                             std::to_string(CValueTypeConverter::uint8(*c->find(CTagPath{3}), 0)) +
                             " " + std::to_string(n(1)) + " " + std::to_string(n(2)));
    }
    return true;
  }
  std::int32_t lanPool = 0, pdPool = 0;
  std::shared_ptr<CISystemBus> bus;
  CEventLog events;

  template <class Pending>
  std::size_t pendings() {
    tls->startTransaction();
    const std::size_t n = session().select<Pending>("generic.all").size();
    tls->commitTransaction();
    return n;
  }
  // An offer of address to a client's IA_NA, held as another server
  // sharing the database leaves it.
  void heldOffer(const char* duid, std::uint32_t iaid, const char* address) {
    tls->startTransaction();
    auto pending = tls->apendingFinder().createPending();
    pending->applyBindingID(CBinding6Identifier(nuv::CHexStore::parse(duid), CIAType::iana, iaid));
    pending->offeredAddress(nuv::CIPAddress(address));
    pending->relayAddress(nuv::CIPAddress(kLink));
    pending->poolOID(lanPool);
    pending->offerTime(nuv::CTimeT::now());
    pending->commit();
    tls->commitTransaction();
    tls->syncCommands().clear();
  }
  // Makes every offer older by seconds.
  void age(long seconds) {
    tls->startTransaction();
    older<CPrstAddressPending6>(seconds);
    older<CPrstNetworkPending6>(seconds);
    tls->commitTransaction();
  }
  template <class Pending>
  void older(long seconds) {
    for (auto& p : session().select<Pending>("generic.all")) {
      p->offerTime(nuv::CTimeT(p->offerTime().seconds() - seconds));
      p->commit();
    }
  }
};

}  // namespace served
