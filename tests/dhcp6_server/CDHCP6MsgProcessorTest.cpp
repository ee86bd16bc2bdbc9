// The common steps the leasing processors build their replies with: the
// per-IA dispatch and the top level of the reply.
#include "dhcp6_server/CDHCP6MsgProcessor.h"
#include "dhcp_base/CDHCP6Util.h"
#include "tests/dhcp6_server/ServedExchangeFixture.h"
#include "tests/fixtures/SecondTick.h"

using namespace served;

namespace {

// Runs single steps on the message in the thread's request packet.
class CProbeProcessor : public CDHCP6MsgProcessor {
 public:
  CProbeProcessor(CDHCP6TLS* tls, CNodeContext& node)
      : CDHCP6MsgProcessor(tls, node, nuv::CIPAddress("::"), "probe", 0x42) {}

  using CDHCP6MsgProcessor::_addTopLevelOptions;
  using CDHCP6MsgProcessor::_createOptionSet;
  using CDHCP6MsgProcessor::_deleteAPending;
  using CDHCP6MsgProcessor::_findAPending;
  using CDHCP6MsgProcessor::_findNPending;
  using CDHCP6MsgProcessor::_processBindingIDs;

  std::vector<std::string> visited;

 protected:
  bool _processIANA(const CBinding6Identifier& id, Code& code) override {
    return _visit("na", id, code);
  }
  bool _processIAPD(const CBinding6Identifier& id, Code& code) override {
    return _visit("pd", id, code);
  }

 private:
  bool _visit(const char* what, const CBinding6Identifier& id, Code& code) {
    visited.push_back(what + std::string("/") + id.tuple().iaType().string() + "/" +
                      std::to_string(id.tuple().iaid()));
    // IAID 9 cannot go on.
    if (id.tuple().iaid() != 9) return true;
    code = CDHCP6TransmitCode::DROP;
    return false;
  }
};

struct MsgProcessorFixture : ServedExchangeFixture {
  // Puts a client message into the thread's request, as the handler does.
  CProbeProcessor& probe(const std::string& bytes) {
    CDHCP6Context& context = tls->context();
    context.clearMessage();
    context.inPacket()->serverSetFromRaw(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                         bytes.size(), nuv::CIPAddress());
    context.ncIn().hostOptions(context.inPacket()->hostOptions());
    processor = std::make_unique<CProbeProcessor>(tls.get(), context.ncIn());
    return *processor;
  }
  COptionStorePtr set(const std::string& text) {
    COptionStorePtr s = processor->_createOptionSet("probe-options");
    s->string(text);
    return s;
  }
  std::string reply() const { return tls->context().outPacket()->hostOptions()->string(); }
  std::unique_ptr<CProbeProcessor> processor;
};

}  // namespace

TEST_P(MsgProcessorFixture, EachIAGoesToItsTypesStepUntilOneStops) {
  CProbeProcessor& p = probe(msg(3, clientID() + iaNA(1) + iaTA(2) + iaPD(3) + iaNA(9) + iaNA(4) +
                                        opt(2, std::string(4, '\1'))));
  const auto ids = CDHCP6Util::bindingIDs<CBinding6Tuple>(tls->context().inPacket()->hostOptions(),
                                                          nuv::CHexStore::parse("00-03"));
  CDHCP6TransmitCode::code code = CDHCP6TransmitCode::IGNORE;
  EXPECT_FALSE(p._processBindingIDs(ids, code));
  EXPECT_EQ(code, CDHCP6TransmitCode::DROP);
  // A temporary address goes the way of a non-temporary one, under its own type.
  EXPECT_EQ(p.visited,
            (std::vector<std::string>{"na/iana/1", "na/iata/2", "pd/iapd/3", "na/iana/9"}));
  code = CDHCP6TransmitCode::IGNORE;
  EXPECT_TRUE(p._processBindingIDs({}, code));
  EXPECT_EQ(code, CDHCP6TransmitCode::IGNORE);
}

TEST_P(MsgProcessorFixture, RequestedOptionsComeFirstAndOnceAndPolicyBeatsPool) {
  CProbeProcessor& p =
      probe(msg(3, clientID() + opt(6, u16(23) + u16(24)) + opt(2, std::string(4, '\1'))));
  const COptionStorePtr pools =
      set("dns-servers = \"2001:db8::f\"\ndomain-search = pool.example\npreference = 1");
  const COptionStorePtr policy = set("dns-servers = \"2001:db8::1\"\npreference = 9");
  std::vector<std::uint32_t> placed;
  p._addTopLevelOptions(pools, policy, placed);
  EXPECT_EQ(placed, (std::vector<std::uint32_t>{23, 24}));
  // Requested ones in the order asked, then the rest, the policy's value
  // replacing the pool's.
  EXPECT_EQ(reply(),
            "dns-servers = \"2001:db8::1\"\n"
            "domain-search = pool.example\n"
            "preference = 9\n");
  EXPECT_EQ(pools->count(), 0u);
  EXPECT_EQ(policy->count(), 0u);
}

TEST_P(MsgProcessorFixture, AnOfferHoldsForNineSecondsAndIsThenRemovedWhenFound) {
  CProbeProcessor& p = probe(msg(1, clientID()));
  const nuv::CIPAddress link("2001:db8:1::1");
  auto offer = [&](std::uint32_t iaid, long age) {
    auto pending = tls->apendingFinder().createPending();
    pending->applyBindingID(
        CBinding6Identifier(nuv::CHexStore::parse("00-03"), CIAType::iana, iaid));
    pending->offeredAddress(nuv::CIPAddress("2001:db8:1::" + std::to_string(iaid)));
    pending->relayAddress(link);
    pending->poolOID(7);
    pending->offerTime(nuv::CTimeT(nuv::CTimeT::now().seconds() - age));
    pending->commit();
  };
  const auto key = [](std::uint32_t iaid) {
    return CBinding6Identifier(nuv::CHexStore::parse("00-03"), CIAType::iana, iaid);
  };
  startAfterSecondTick();
  tls->startTransaction();
  offer(9, 9);
  offer(10, 10);
  tls->syncCommands().clear();
  EXPECT_TRUE(p._findAPending(key(9), link));
  EXPECT_FALSE(p._findAPending(key(9), nuv::CIPAddress("2001:db8:2::1")));  // another link
  EXPECT_EQ(tls->syncCommands().size(), 0u);
  EXPECT_FALSE(p._findAPending(key(10), link));
  EXPECT_TRUE(
      logged("info: [probe/0x042] Removing stale address pending record for device "
             "'00-03', aged 10 seconds."));
  // Its address goes back to the address manager after commit.
  EXPECT_EQ(tls->syncCommands().size(), 1u);
  EXPECT_FALSE(tls->apendingFinder().findPending(key(10), link));
  p._deleteAPending(p._findAPending(key(9), link));
  EXPECT_FALSE(tls->apendingFinder().findPending(key(9), link));
  EXPECT_EQ(tls->syncCommands().size(), 2u);
  p._deleteAPending({});  // nothing to delete
  EXPECT_EQ(tls->syncCommands().size(), 2u);
  EXPECT_FALSE(p._findNPending(key(9), link));
  tls->commitTransaction();
  tls->syncCommands().clear();
}

NUV_PRST_BACKENDS(MsgProcessorFixture);
