// Solicit as a client sees it: leases it holds are offered again, otherwise
// a new address (prefix) is held for it as a pending offer; an Advertise
// that can offer nothing says NoAddrsAvail and nothing else.
#include <set>
#include <thread>

#include "dhcp6_server/CDHCP6Solicit.h"
#include "dhcp_base/CValueTypeConverter.h"
#include "dhcp_database/CPolicyRecord.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPending6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstNetworkPending6.h"
#include "dhcp_database/CPrstNetworkPool6.h"
#include "dhcp_server_common/CDHCPAddrMgrStub.h"
#include "dhcp_server_common/CIDHCPEvalFactory.h"
#include "dhcp_server_common/CNoAddressAvailException.h"
#include "oodb_persistence/CPrstDBSession.h"
#include "tests/dhcp6_server/LeasingFixture.h"

using namespace served;

namespace {

struct SolicitFixture : LeasingFixture {
  std::shared_ptr<CDHCP6Packet> solicit(const std::string& options, const char* link = kLink) {
    return clientMessage(1, options, link);
  }
};

}  // namespace

TEST_P(SolicitFixture, NewOffersAreHeldAsPendingsAndOfferedWithThePoolsLifetimes) {
  const auto advertise = solicit(iaNA(1) + iaPD(2));
  ASSERT_TRUE(advertise);
  EXPECT_EQ(advertise->msgType(), CDHCP6MsgType::advertise);
  Offer na, pd;
  ASSERT_TRUE(offer(advertise, 3, na));
  ASSERT_TRUE(offer(advertise, 25, pd));
  EXPECT_EQ(na.t1, 1800u);
  EXPECT_EQ(na.t2, 2880u);
  ASSERT_EQ(na.leases.size(), 1u);
  EXPECT_EQ(na.leases[0], "2001:db8:1::10 3600 7200");
  ASSERT_EQ(pd.leases.size(), 1u);
  EXPECT_EQ(pd.leases[0], "2001:db8:100::/56 3600 7200");
  EXPECT_FALSE(advertise->hostOptions()->defined(CTagPath{13}));
  EXPECT_EQ(pendings<CPrstAddressPending6>(), 1u);
  EXPECT_EQ(pendings<CPrstNetworkPending6>(), 1u);
  EXPECT_TRUE(
      logged("info: [solicit/0x123456] Pended address 2001:db8:1::10 for device "
             "'00-03-00-01-02-00-00-00-00-02' on link 2001:db8:1::1."));
  EXPECT_TRUE(
      logged("info: [solicit/0x123456] Pended prefix 2001:db8:100::/56 for device "
             "'00-03-00-01-02-00-00-00-00-02' on link 2001:db8:1::1."));
}

TEST_P(SolicitFixture, ARepeatedSolicitReusesTheOfferUntilItIsStale) {
  Offer first, again, later;
  ASSERT_TRUE(offer(solicit(iaNA(1)), 3, first));
  // Eight seconds, not nine: the clock may pass a second between the
  // Solicits (the nine-second edge itself is tested on the finder).
  age(8);
  ASSERT_TRUE(offer(solicit(iaNA(1)), 3, again));
  EXPECT_EQ(again.leases, first.leases);
  EXPECT_EQ(pendings<CPrstAddressPending6>(), 1u);
  // Reused, its offer time was renewed: eight more seconds are still fine.
  age(8);
  ASSERT_TRUE(offer(solicit(iaNA(1)), 3, again));
  EXPECT_EQ(again.leases, first.leases);
  age(10);
  ASSERT_TRUE(offer(solicit(iaNA(1)), 3, later));
  EXPECT_TRUE(
      logged("info: [solicit/0x123456] Removing stale address pending "
             "record for device "
             "'00-03-00-01-02-00-00-00-00-02', aged 10 seconds."));
  ASSERT_EQ(later.leases.size(), 1u);
  EXPECT_NE(later.leases, first.leases);
  EXPECT_EQ(pendings<CPrstAddressPending6>(), 1u);
}

TEST_P(SolicitFixture, WhatTheAdvertiseHoldsDependsOnWhatCouldBeOffered) {
  store<CPolicyRecord>("name = dns\ndomains = 7\noption = dns-servers = 2001:db8::53");
  provisioner->domains = {7};
  const struct {
    const char* what;
    std::string options;
    const char* link;
    bool status;  // NoAddrsAvail
    bool na, pd;
  } cases[] = {
      // No IA: no status, the policy's options.
      {"no IA", oro({23}), kLink, false, false, false},
      // No pool for the link: the bare NoAddrsAvail.
      {"no pool on the link", iaNA(1) + oro({23}), "2001:db8:9::1", true, false, false},
      {"address only", iaNA(1) + iaPD(2), "2001:db8:2::1", false, true, false},
  };
  addressPool("other", "2001:db8:2::10", "2001:db8:2::ff", "2001:db8:2::1");
  for (const auto& c : cases) {
    const auto advertise = solicit(c.options, c.link);
    ASSERT_TRUE(advertise) << c.what;
    const COptionStorePtr& top = advertise->hostOptions();
    EXPECT_EQ(top->defined(CTagPath{13}), c.status) << c.what;
    EXPECT_EQ(top->defined(CTagPath{3}), c.na) << c.what;
    EXPECT_EQ(top->defined(CTagPath{25}), c.pd) << c.what;
    if (c.status) {
      // Nothing but the header, the identifiers and the status.
      EXPECT_EQ(options(*advertise).find("dns-servers"), std::string::npos) << c.what;
      EXPECT_TRUE(top->defined(CTagPath{1}) && top->defined(CTagPath{2})) << c.what;
      EXPECT_EQ(top->children()->size(), 5u) << options(*advertise);
    } else {
      EXPECT_NE(options(*advertise).find("dns-servers"), std::string::npos) << c.what;
    }
  }
  EXPECT_TRUE(
      logged("info: [solicit/0x123456] No prefix pools available for device "
             "'00-03-00-01-02-00-00-00-00-02' on link 2001:db8:2::1."));
}

TEST_P(SolicitFixture, LeasesTheClientHoldsAreOfferedAgainAndNothingIsPended) {
  addressPool("short", "2001:db8:1:1::10", "2001:db8:1:1::ff", kLink,
              "prefix = 2001:db8:1:1::\npref_lt = 1000\nvalid_lt = 2000");
  lease("2001:db8:1::20");
  lease("2001:db8:1:1::20", 1, "iana", "lease_duration = 2000", kLink, "short");
  Offer na;
  ASSERT_TRUE(offer(solicit(iaNA(1)), 3, na));
  EXPECT_EQ(na.leases,
            (std::vector<std::string>{"2001:db8:1::20 3600 7200", "2001:db8:1:1::20 1000 2000"}));
  // From the smaller preferred lifetime.
  EXPECT_EQ(na.t1, 500u);
  EXPECT_EQ(na.t2, 800u);
  EXPECT_EQ(pendings<CPrstAddressPending6>(), 0u);
}

TEST_P(SolicitFixture, ATemporaryAddressIsOfferedInAnIATAWithoutTimers) {
  lease("2001:db8:1::30", 3, "iata");
  Offer ta, fresh;
  ASSERT_TRUE(offer(solicit(iaTA(3)), 4, ta));
  EXPECT_EQ(ta.leases, std::vector<std::string>{"2001:db8:1::30 3600 7200"});
  const auto advertise = solicit(iaTA(4));
  ASSERT_TRUE(offer(advertise, 4, fresh));
  EXPECT_FALSE(advertise->hostOptions()->defined(CTagPath{3}));
  ASSERT_EQ(fresh.leases.size(), 1u);
  tls->startTransaction();
  const auto held = session().select<CPrstAddressPending6>("generic.all");
  tls->commitTransaction();
  ASSERT_EQ(held.size(), 1u);
  EXPECT_NE(held.front()->string().find("iatype = iata"), std::string::npos);
}

TEST_P(SolicitFixture, TheLinkChoosesThePool) {
  addressPool("relayed", "2001:db8:2::10", "2001:db8:2::ff", "2001:db8:2::1");
  // On the server's own link a pool serves when the receiving interface
  // holds an address in its network, whichever of them it is.
  addressPool("local-a", "2001:db8:a::10", "2001:db8:a::ff", "::");
  addressPool("local-b", "2001:db8:b::10", "2001:db8:b::ff", "::");
  linkAddresses({"2001:db8:b::1", "2001:db8:c::1"});
  Offer relayed, direct;
  ASSERT_TRUE(offer(solicit(iaNA(1), "2001:db8:2::1"), 3, relayed));
  EXPECT_EQ(relayed.leases, std::vector<std::string>{"2001:db8:2::10 3600 7200"});
  ASSERT_TRUE(offer(solicit(iaNA(2), nullptr), 3, direct));
  EXPECT_EQ(direct.leases, std::vector<std::string>{"2001:db8:b::10 3600 7200"});
  linkAddresses({"2001:db8:a::1", "2001:db8:b::1"});
  ASSERT_TRUE(offer(solicit(iaNA(3), nullptr), 3, direct));
  EXPECT_EQ(direct.leases, std::vector<std::string>{"2001:db8:a::10 3600 7200"});
  // An interface without a global address has no local pool.
  linkAddresses({});
  const auto none = solicit(iaNA(4), nullptr);
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->hostOptions()->defined(CTagPath{13}));
}

TEST_P(SolicitFixture, APoolsAccessRulesDecide) {
  const struct {
    const char* rule;
    bool served;
  } cases[] = {
      {"allow = [false]", false}, {"allow = [\"yes\"]", false}, {"deny = [true]", false},
      {"deny = [false]", true},   {"allow = [true]", true},     {"enabled = false", false},
  };
  std::uint32_t iaid = 10;
  for (const auto& c : cases) {
    const std::string net = "2001:db8:" + std::to_string(iaid) + "::";
    const std::string link = net + "1";
    addressPool(std::string("rule") + std::to_string(iaid), net + "10", net + "ff", link, c.rule);
    const auto advertise = solicit(iaNA(iaid), link.c_str());
    ASSERT_TRUE(advertise) << c.rule;
    EXPECT_EQ(advertise->hostOptions()->defined(CTagPath{3}), c.served) << c.rule << "\n"
                                                                        << host.logSink.text();
    ++iaid;
  }
}

TEST_P(SolicitFixture, OptionsRequestedInsideTheIAComeFromThePolicyElseThePool) {
  addressPool("dns", "2001:db8:5::10", "2001:db8:5::ff", "2001:db8:5::1",
              "option = dns-servers = 2001:db8::5\noption = domain-search = "
              "pool.example");
  store<CPolicyRecord>("name = search\ndomains = 7\noption = domain-search = policy.example");
  provisioner->domains = {7};
  const auto advertise = solicit(iaNA(1, oro({23, 24})), "2001:db8:5::1");
  ASSERT_TRUE(advertise);
  // The reply's IA_NA, as sent: IAID, T1, T2, the address, then the two
  // options (the reply's parser knows no options inside an IA).
  const std::string sentIA = opt(3, u32(1) + u32(1800) + u32(2880) +
                                        opt(5, ipv6("2001:db8:5::10") + u32(3600) + u32(7200)) +
                                        opt(23, ipv6("2001:db8::5")) +
                                        opt(24, std::string("\x06"
                                                            "policy"
                                                            "\x07"
                                                            "example",
                                                            15) +
                                                    '\0'));
  EXPECT_NE(sent.back().find(sentIA), std::string::npos);
  // Placed inside, they are not repeated at the top.
  EXPECT_FALSE(advertise->hostOptions()->defined(CTagPath{23}));
  EXPECT_FALSE(advertise->hostOptions()->defined(CTagPath{24}));
}

NUV_PRST_BACKENDS(SolicitFixture);

namespace {

// Clients soliciting through two worker threads at once, each with its own
// state and database session, as the engine runs them.
struct ConcurrentSolicitFixture : SolicitFixture {
  static constexpr unsigned kThreads = 2;
  static constexpr unsigned kClients = 1000;  // per thread

  // Every Advertise a worker sent, as bytes.
  std::vector<std::string> serve(unsigned index) {
    std::vector<std::string> replies;
    CDHCP6TLS state(&task, index, &host, &tls->context());
    state.init();
    state.mode(CSystemMode::servicing);
    state.transmitter([&replies](const void* bytes, std::size_t length, const nuv::CEndpoint&) {
      replies.emplace_back(static_cast<const char*>(bytes), length);
      return static_cast<ssize_t>(length);
    });
    for (unsigned i = 0; i < kClients; ++i) {
      const std::string duid = std::string("\x00\x04", 2) + u32(index) + u32(i);
      const std::string solicit = relayed(kLink, msg(1, opt(1, duid) + iaNA(1) + iaPD(2)));
      handler.deliver(state, reinterpret_cast<const std::uint8_t*>(solicit.data()), solicit.size(),
                      nuv::CEndpoint("[fe80::2]:547"), nuv::CIPAddress("ff02::1:2"), kLinkIndex);
    }
    state.close();
    return replies;
  }
};

}  // namespace

TEST_P(ConcurrentSolicitFixture, TwoWorkersNeverOfferOneAddressOrPrefixTwice) {
  addressPool("big", "2001:db8:1::1:0", "2001:db8:1::1:ffff", kLink);
  std::vector<std::string> replies[kThreads];
  {
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < kThreads; ++t)
      workers.emplace_back([this, t, &replies] { replies[t] = serve(t + 1); });
    for (std::thread& w : workers) w.join();
  }
  std::set<std::string> addresses, prefixes;
  for (const auto& list : replies) {
    EXPECT_EQ(list.size(), kClients);
    for (const std::string& bytes : list) {
      auto advertise = std::make_shared<CDHCP6Packet>(&tls->context(), "reply");
      const std::string inner = relayMessage(bytes);
      advertise->clientSetFromRaw(reinterpret_cast<const std::uint8_t*>(inner.data()), inner.size(),
                                  nuv::CIPAddress());
      Offer na, pd;
      ASSERT_TRUE(offer(advertise, 3, na) && offer(advertise, 25, pd)) << options(*advertise);
      addresses.insert(na.leases.at(0));
      prefixes.insert(pd.leases.at(0));
    }
  }
  EXPECT_EQ(addresses.size(), kThreads * kClients);
  EXPECT_EQ(prefixes.size(), kThreads * kClients);
  // As stored: one offer per client and IA, no address twice.
  tls->startTransaction();
  std::set<std::string> held;
  const auto all = CPrstSelectOptions().withRows(4 * kThreads * kClients);
  for (const auto& p :
       session().select<CPrstAddressPending6>("generic.all", nuv::CStringMap(), all))
    held.insert(p->offeredAddress().string());
  for (const auto& p :
       session().select<CPrstNetworkPending6>("generic.all", nuv::CStringMap(), all))
    held.insert(p->offeredAddress().string());
  tls->commitTransaction();
  EXPECT_EQ(held.size(), 2 * kThreads * kClients);
  EXPECT_FALSE(logged("database is locked"));
}

NUV_PRST_BACKENDS(ConcurrentSolicitFixture);

namespace {

// Hands out the addresses it is given, in order, and records what comes back.
class CScriptedAddrMgr : public CPlugin, public CIDHCPAddrMgrFactory, public CDHCPAddrMgrStub {
 public:
  std::string pluginName() const override { return "scripted address manager"; }
  std::string pluginInterface() const override { return "CIDHCPAddrMgrFactory,CPlugin"; }
  std::shared_ptr<CIDHCPAddrMgr> createAddrMgr(CIDHCPContext&) override {
    return std::shared_ptr<CIDHCPAddrMgr>(std::shared_ptr<void>(), this);
  }
  void getPoolCandidate(int, const std::vector<long>& pools, nuv::CIPAddress& address, long& pool,
                        CIDHCPStats&) override {
    if (next == script.size())
      throw CNoAddressAvailException(nuv::CMessage("No free addresses available."),
                                     nuv::CMessage("Every candidate pool is exhausted."), "test",
                                     "CScriptedAddrMgr", __FILE__, __LINE__);
    address = nuv::CIPAddress(script[next++]);
    pool = pools.front();
  }
  void releasePoolCandidate(int, const nuv::CIPAddress& address, long, CIDHCPStats&) override {
    released.push_back(address.string());
  }
  std::vector<std::string> script;
  std::size_t next = 0;
  std::vector<std::string> released;
};

struct ScriptedSolicitFixture : SolicitFixture {
  void morePlugins() override {
    manager = new CScriptedAddrMgr;
    host.plugins().addPlugin(manager, deleteTestPlugin, nullptr, "address manager");
    ASSERT_TRUE(host.plugins().loadPlugin(std::string(NUV_PLUGIN_DIR) + "/system_bus.so"));
  }
  CScriptedAddrMgr* manager = nullptr;
};

}  // namespace

TEST_P(ScriptedSolicitFixture, AnAddressOfferedElsewhereIsPassedOverForTheNext) {
  // Another server sharing the database offered ::10 meanwhile.
  heldOffer("00-99", 1, "2001:db8:1::10");
  manager->script = {"2001:db8:1::10", "2001:db8:1::11"};
  Offer na;
  ASSERT_TRUE(offer(solicit(iaNA(1)), 3, na));
  EXPECT_EQ(na.leases, std::vector<std::string>{"2001:db8:1::11 3600 7200"});
  EXPECT_EQ(manager->released, std::vector<std::string>{"2001:db8:1::10"});
  EXPECT_EQ(pendings<CPrstAddressPending6>(), 2u);
  // Nothing free at all: the IA goes without, the failure is logged.
  const auto none = solicit(iaNA(2));
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->hostOptions()->defined(CTagPath{13}));
  EXPECT_TRUE(logged("No free addresses available."));
}

TEST_P(ScriptedSolicitFixture, AnAddressLeasedElsewhereSinceTheSearchIsPassedOver) {
  // Another server sharing the database turned its offer of ::10 into a
  // lease after the search had found ::10 free: no offer of ::10 is left.
  store<CPrstAddressBinding6>(std::string("client_id = 00-99\niatype = iana\niaid = 1\n"
                                          "lease_duration = 7200\ndomains = 2\n"
                                          "ipaddr = 2001:db8:1::10\nrelay = ") +
                              kLink + "\nsource_pool = lan");
  manager->script = {"2001:db8:1::10", "2001:db8:1::11"};
  Offer na;
  ASSERT_TRUE(offer(solicit(iaNA(1)), 3, na));
  EXPECT_EQ(na.leases, std::vector<std::string>{"2001:db8:1::11 3600 7200"});
  EXPECT_EQ(manager->released, std::vector<std::string>{"2001:db8:1::10"});
  EXPECT_EQ(pendings<CPrstAddressPending6>(), 1u);
}

TEST_P(ScriptedSolicitFixture, AnOfferThatCannotBeStoredIsHandedBackAndNothingIsAnswered) {
  refuseInserts("dhcp_apendings6");
  manager->script = {"2001:db8:1::10"};
  EXPECT_FALSE(solicit(iaNA(1)));
  EXPECT_EQ(manager->released, std::vector<std::string>{"2001:db8:1::10"});
  EXPECT_EQ(pendings<CPrstAddressPending6>(), 0u);
}

NUV_PRST_BACKENDS(ScriptedSolicitFixture);

TEST_P(SolicitFixture, APoolThatPrefersNothingOffersHalfItsValidLifetime) {
  // A preferred lifetime of 0 is kept as half the valid one: an address
  // deprecated the moment it is offered would be of no use to the client.
  addressPool("half", "2001:db8:6::10", "2001:db8:6::ff", "2001:db8:6::1",
              "pref_lt = 0\nvalid_lt = 7200");
  lease("2001:db8:6::20", 1, "iana", "", "2001:db8:6::1", "half");
  Offer held, fresh;
  ASSERT_TRUE(offer(solicit(iaNA(1), "2001:db8:6::1"), 3, held));
  ASSERT_TRUE(offer(solicit(iaNA(2), "2001:db8:6::1"), 3, fresh));
  for (const Offer* o : {&held, &fresh}) {
    ASSERT_EQ(o->leases.size(), 1u);
    EXPECT_NE(o->leases[0].find(" 3600 7200"), std::string::npos) << o->leases[0];
    EXPECT_EQ(o->t1, 1800u);
    EXPECT_EQ(o->t2, 2880u);
  }
}
