// The option-tree operations the handler and the processors build replies
// with, checked on the wire where the layout matters.

#include <gtest/gtest.h>

#include "PacketFixture.h"
#include "dhcp_base/CDHCP6Util.h"

using namespace packettest;

namespace {

// Stands for the lease store's binding tuple.
struct Tuple {
  Tuple(nuv::CHexStore d, std::uint8_t t, std::uint32_t i) : duid(std::move(d)), type(t), id(i) {}
  std::uint8_t iaType() const { return type; }
  std::uint32_t iaid() const { return id; }
  nuv::CHexStore duid;
  std::uint8_t type;
  std::uint32_t id;
};

class CDHCP6UtilTest : public PacketFixture {
 protected:
  COptionStorePtr store = ctx.factory().createOS("test", "test-option ");
};

}  // namespace

TEST_F(CDHCP6UtilTest, SetT1T2) {
  const struct {
    std::uint32_t lifetime;
    const char* t1;
    const char* t2;
  } cases[] = {
      {3600, "1800", "2880"},
      {1, "0", "0"},
      {5, "2", "4"},
      {0xffffffffu, "2147483647", "3435973836"},
  };
  for (CIAType type : {CIAType::iana, CIAType::iapd})
    for (const auto& c : cases) {
      const COptionPtr ia = CDHCP6Util::createMinimalIA(type, 1, store);
      CDHCP6Util::setT1T2(ia, 1000);  // replaced, not added to
      CDHCP6Util::setT1T2(ia, c.lifetime);
      EXPECT_EQ(ia->find(CTagPath{2})->string(), c.t1) << c.lifetime;
      EXPECT_EQ(ia->find(CTagPath{3})->string(), c.t2) << c.lifetime;
      EXPECT_EQ(ia->find(CTagPath{2})->count(), 1u);
    }
  const COptionPtr ta = CDHCP6Util::createMinimalIA(CIAType::iata, 1, store);
  const std::string before = wire(*ta);
  CDHCP6Util::setT1T2(ta, 3600);
  EXPECT_EQ(wire(*ta), before);
}

TEST_F(CDHCP6UtilTest, IAsOnTheWire) {
  const COptionPtr na = CDHCP6Util::createMinimalIA(CIAType::iana, 0x01020304, store);
  EXPECT_EQ(wire(*na),
            "0003000c"
            "01020304"
            "00000000"
            "00000000");
  CDHCP6Util::setT1T2(na, 7200);
  const COptionPtr addr = CDHCP6Util::addIAADDR(na, nuv::CIPAddress("2001:db8::1"), 7200, 10800);
  EXPECT_EQ(addr->tagPath().string(), "3/4/5");
  EXPECT_EQ(wire(*na),
            "00030028"
            "01020304"
            "00000e10"
            "00001680"
            "00050018"
            "20010db8000000000000000000000001"
            "00001c20"
            "00002a30");

  const COptionPtr ta = CDHCP6Util::createMinimalIA(CIAType::iata, 9, store);
  CDHCP6Util::addIAADDR(ta, nuv::CIPAddress("2001:db8::2"), 1, 2);
  EXPECT_EQ(wire(*ta),
            "00040020"
            "00000009"
            "00050018"
            "20010db8000000000000000000000002"
            "00000001"
            "00000002");

  const COptionPtr pd = CDHCP6Util::createMinimalIA(CIAType::iapd, 7, store);
  const COptionPtr prefix =
      CDHCP6Util::addIAPrefix(pd, nuv::CIPAddress("2001:db8:1200::"), 56, 300, 400);
  EXPECT_EQ(prefix->tagPath().string(), "25/4/26");
  EXPECT_EQ(wire(*pd),
            "00190029"
            "00000007"
            "00000000"
            "00000000"
            "001a0019"
            "0000012c"
            "00000190"
            "38"
            "20010db8120000000000000000000000");

  EXPECT_EQ(failure([&] { CDHCP6Util::addIAADDR(pd, nuv::CIPAddress("2001:db8::1"), 1, 2); }),
            "Cannot add IA Address to this IA. | Invalid IA type for IA Address.");
  EXPECT_EQ(failure([&] { CDHCP6Util::addIAPrefix(na, nuv::CIPAddress("2001:db8::"), 64, 1, 2); }),
            "Cannot add IA Prefix to this IA. | Invalid IA type for IA Prefix.");
  EXPECT_EQ(failure([&] { CDHCP6Util::createMinimalIA(CIAType(), 1, store); }),
            "Unknown binding id type. | Type undefined.");
}

TEST_F(CDHCP6UtilTest, StatusCodesGoWhereTheParentKeepsItsOptions) {
  const COptionPtr top = CDHCP6Util::addStatusCode(store, CDHCP6StatusCode::no_addrs_avail);
  EXPECT_EQ(wire(*top),
            "000d0010"
            "0002"
            "6e6f5f61646472735f617661696c");  // "no_addrs_avail"

  const COptionPtr na = CDHCP6Util::createMinimalIA(CIAType::iana, 1, store);
  EXPECT_EQ(CDHCP6Util::addStatusCode(na, CDHCP6StatusCode::not_on_link)->tagPath().string(),
            "3/4/13");
  const COptionPtr addr = CDHCP6Util::addIAADDR(na, nuv::CIPAddress("2001:db8::1"), 1, 2);
  EXPECT_EQ(CDHCP6Util::addStatusCode(addr, 99)->tagPath().string(), "3/4/5/4/13");
  const COptionPtr pd = CDHCP6Util::createMinimalIA(CIAType::iapd, 2, store);
  EXPECT_EQ(CDHCP6Util::addStatusCode(pd, CDHCP6StatusCode::no_prefix_avail)->string(),
            "{ code = 6, message = \"no_prefix_avail\" }");
}

TEST_F(CDHCP6UtilTest, IAHelpersRefuseOtherOptions) {
  const COptionPtr addr = make(5, store.get());
  EXPECT_EQ(failure([&] { CDHCP6Util::findIAIDTag(addr); }),
            "Cannot find IAID tag. | Invalid type.");
  EXPECT_EQ(failure([&] { CDHCP6Util::findIAOptions(addr); }),
            "Cannot find IA options. | Invalid type.");
  const COptionPtr ta = CDHCP6Util::createMinimalIA(CIAType::iata, 1, store);
  EXPECT_EQ(CDHCP6Util::findIAOptions(ta)->tagPath().string(), "4/2");
  EXPECT_EQ(CDHCP6Util::findIAIDTag(ta), CTagPath{1});
}

TEST_F(CDHCP6UtilTest, RequestedOptionsAreCopiedFromTheFirstSetThatHasThem) {
  COptionStorePtr policy = parse("0017001020010db8000000000000000000000053");  // 23
  COptionStorePtr pools = parse(
      "0017001020010db8000000000000000000000099"        // 23, hidden by the policy's
      "0018000d076578616d706c6503636f6d00");            // 24
  COptionStorePtr oro = parse("00060006001800270017");  // 24, 39, 23
  std::vector<std::uint32_t> added;
  CDHCP6Util::addRequestedOptions(CDHCP6Util::findORO(oro), policy, pools, store, added);
  EXPECT_EQ(added, (std::vector<std::uint32_t>{24, 23}));
  EXPECT_EQ(wireOf(*store),
            "0018000d076578616d706c6503636f6d00"
            "0017001020010db8000000000000000000000053");
  // Copies: the reply's options are not the policy's.
  EXPECT_NE(store->find(CTagPath{23}), policy->find(CTagPath{23}));
  EXPECT_EQ(store->find(CTagPath{23})->parent(), store.get());

  CDHCP6Util::addRequestedOptions(nullptr, policy, pools, store, added);
  EXPECT_EQ(added.size(), 2u);
}

TEST_F(CDHCP6UtilTest, BindingIdentitiesOfAMessage) {
  parseServer(datagram("request"));
  const COptionPtr host = request.hostOptions();
  const nuv::CHexStore duid = request.clientID();
  const std::vector<Tuple> ids = CDHCP6Util::bindingIDs<Tuple>(host, duid);
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_EQ(ids[0].type, CIAType::iana);
  EXPECT_EQ(ids[0].id, 0x0a0b0c0du);
  EXPECT_EQ(ids[1].type, CIAType::iapd);
  EXPECT_EQ(ids[1].id, 0x11223344u);
  EXPECT_EQ(ids[1].duid, duid);

  EXPECT_EQ(CDHCP6Util::findBindingID(ids[0], host), host->find(CTagPath{3}));
  EXPECT_FALSE(CDHCP6Util::findBindingID(Tuple(duid, CIAType::iana, 5), host));
  EXPECT_FALSE(CDHCP6Util::findBindingID(Tuple(duid, CIAType::iata, 0x0a0b0c0d), host));
  EXPECT_EQ(CDHCP6Util::findBindingID(ids[0], nuv::CIPAddress("2001:db8:1::100"), host),
            host->find(CTagPath{3, 4, 5}));
  EXPECT_FALSE(CDHCP6Util::findBindingID(ids[0], nuv::CIPAddress("2001:db8:1::101"), host));
  EXPECT_EQ(CDHCP6Util::findBindingID(ids[1], nuv::CIPAddress("2001:db8:100::"), host),
            host->find(CTagPath{25, 4, 26}));

  EXPECT_EQ(CDHCP6Util::findORO(host)->string(), "23, 24");
  EXPECT_EQ(CDHCP6Util::requestedServer(host), kServerDUID);
  EXPECT_EQ(CDHCP6Util::clientSuppliedHostname(host), "");
  EXPECT_TRUE(CDHCP6Util::bindingIDs<Tuple>(store, duid).empty());
  EXPECT_FALSE(CDHCP6Util::findORO(store));
  EXPECT_TRUE(CDHCP6Util::requestedServer(store).empty());
}

TEST_F(CDHCP6UtilTest, ClientSuppliedHostname) {
  COptionStorePtr fqdn = parse("002700130104686f7374076578616d706c6503636f6d00");
  EXPECT_EQ(CDHCP6Util::clientSuppliedHostname(fqdn), "host.example.com");
}

TEST_F(CDHCP6UtilTest, CloningAndCreating) {
  parseServer(datagram("renew"));
  EXPECT_EQ(
      CDHCP6Util::cloneAndStoreRequired(Code::clientID, request.hostOptions(), reply.hostOptions())
          ->parent(),
      reply.hostOptions().get());
  EXPECT_EQ(reply.clientID(), request.clientID());
  EXPECT_FALSE(
      CDHCP6Util::cloneAndStoreOptional(Code::oro, request.hostOptions(), reply.hostOptions()));
  EXPECT_EQ(failure([&] {
              CDHCP6Util::cloneAndStoreRequired(Code::oro, request.hostOptions(),
                                                reply.hostOptions());
            }),
            "Cannot find option 6 in container in-host-options. | No such option.");
  COptionPtr created;
  EXPECT_EQ(
      failure([&] { CDHCP6Util::createAndStore(4242, reply.hostOptions(), created); }),
      "Cannot find attributes for tag 4242, vendor id 0. | No option with this tag/id exists.");
  CDHCP6Util::createAndStore(Code::elapsedTime, reply.hostOptions(), created);
  EXPECT_EQ(reply.hostOptions()->find(CTagPath{Code::elapsedTime}), created);
}
