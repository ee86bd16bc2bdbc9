// The option tree: creation through the factory, paths, finding and
// editing children, text form of option sets.

#include <gtest/gtest.h>

#include <thread>

#include "OptionFixture.h"
#include "dhcp_base/COptionPtrPool.h"
#include "dhcp_base/CValueTypeConverter.h"
#include "exp_eval/CExpEval.h"

using namespace optiontest;

namespace {
class COptionTest : public OptionFixture {
 protected:
  void SetUp() override { loadCatalogue(); }
};
}  // namespace

TEST_F(COptionTest, FactoryBuildsTypedNodesAndPaths) {
  COption::Ptr iana = make(3);
  ASSERT_TRUE(iana);
  EXPECT_EQ(iana->valueType(), COptionType::ot_fixed_offset);
  EXPECT_TRUE(iana->canParent());
  COption::Ptr elements = make(4, iana.get());
  COption::Ptr addr = make(5, elements.get());
  EXPECT_EQ(addr->tagPath().string(), "3/4/5");
  EXPECT_EQ(addr->attributes().name, "iaaddr");
  EXPECT_FALSE(make(23)->canParent());

  // Codes without a definition: null with the fallback, a failure without.
  EXPECT_FALSE(ctx.factory().create(4321, CVendorID::reserved(), nullptr, true));
  EXPECT_EQ(
      failure([&] { make(4321); }),
      "Cannot find attributes for tag 4321, vendor id 0. | No option with this tag/id exists.");
  EXPECT_EQ(failure([&] {
              ctx.factory().create(23, CVendorID::reserved(), COptionType::ot_unknown, nullptr);
            }),
            "Cannot create an option having type 'unknown'. | Invalid type specification.");

  // Header pseudo-options keep their negative codes.
  COption::Ptr msgType = make(static_cast<std::uint32_t>(-256));
  EXPECT_EQ(msgType->tagPath().string(), "-256");
  EXPECT_EQ(msgType->attributes().name, "msg-type");

  // Children of a store have paths of their own.
  COptionStorePtr store = ctx.factory().createOS("pkt-host-options", "host-option ");
  COption::Ptr inStore = make(3, store.get());
  EXPECT_EQ(inStore->tagPath().string(), "3");
  EXPECT_EQ(store->instanceName(), "pkt-host-options");
  store->append(inStore);
  EXPECT_EQ(store->dump(),
            "pkt-host-options:\nhost-option 3 ia-na (fixed_offset, 0 values) = {  }\n");
  EXPECT_EQ(store->elementPrefix(), "host-option ");
}

TEST_F(COptionTest, CreateFromVariantConvertsToTheDefinedType) {
  COption::Ptr port =
      ctx.factory().create(100017, CVendorID::reserved(), nuv::CVariant(547), nullptr);
  EXPECT_EQ(CValueTypeConverter::uint16(*port, 0), 547);
  COption::Ptr dns =
      ctx.factory().create(23, CVendorID::reserved(), nuv::CVariant("2001:db8::1"), nullptr);
  EXPECT_EQ(dns->string(), "\"2001:db8::1\"");
}

TEST_F(COptionTest, PooledObjectsAreReused) {
  const COptionPoolBase* pool = ctx.factory().pool(COptionType::ot_ipaddress);
  ASSERT_TRUE(pool);
  EXPECT_EQ(pool->name(), "ipaddress options");
  const COption* first = nullptr;
  {
    COption::Ptr a = make(23);
    a->string("2001:db8::1");
    first = a.get();
    EXPECT_EQ(pool->outstanding(), 1u);
    EXPECT_EQ(pool->available(), COptionFactory::kDefaultPoolIncrement - 1);
  }
  EXPECT_EQ(pool->outstanding(), 0u);
  COption::Ptr b = make(23);
  EXPECT_EQ(b.get(), first);
  EXPECT_EQ(b->count(), 0u);  // handed out clean
  EXPECT_EQ(b->tagPath().string(), "23");

  // Above the maximum, returned objects are freed instead of kept.
  ctx.factory().maxOptionPoolSize(2);
  std::vector<COption::Ptr> many;
  for (int i = 0; i < 30; ++i) many.push_back(make(23));
  const std::size_t idle = pool->available();
  many.clear();
  EXPECT_EQ(pool->available(), idle);
}

TEST_F(COptionTest, OptionsMayOutliveTheirFactory) {
  COption::Ptr keep;
  {
    CDHCPContext other(6);
    COptionLookupFileReader(other.optionLookup())
        .execute(std::string(NUV_SOURCE_DIR) + "/data", "options6.spec");
    keep = other.factory().create(23, CVendorID::reserved(), nullptr, false);
  }
  keep.reset();  // returns to an orphaned pool, which then goes; sanitizers check
}

TEST_F(COptionTest, FindDefinedAndInstanceCount) {
  COptionStorePtr store = ctx.factory().createOS("host");
  COption::Ptr a = make(1, store.get());
  a->string("00-01");
  COption::Ptr b = make(1, store.get());
  b->string("00-02");
  store->append(a);
  store->append(b);
  EXPECT_EQ(store->instanceCount(CTagPath{1}), 2u);
  EXPECT_EQ(store->find(CTagPath{1}).get(), a.get());  // the first one parsed
  COption::Ptr second;
  EXPECT_TRUE(store->findInstance(CTagPath{1}, second, 1));
  EXPECT_EQ(second.get(), b.get());

  EXPECT_FALSE(store->defined(CTagPath{2}));
  EXPECT_EQ(failure([&] { store->find(CTagPath{2}); }),
            "Cannot find option 2 in container host. | No such option.");
  EXPECT_EQ(
      failure([&] { store->find(CTagPath{1}, COptionType::ot_string); }),
      "Cannot find option 1 in container 'host' as type 'string'. | The option exists, but has "
      "type 'byte_sequence'.");
  EXPECT_TRUE(store->defined(CTagPath{1}, COptionType::ot_byte_sequence));
  EXPECT_FALSE(store->defined(CTagPath{1}, COptionType::ot_string));

  COption::Ptr iana = make(3);
  iana->append(make(4, iana.get()));
  iana->append(make(5, iana->find(CTagPath{4}).get()), CTagPath{4});
  EXPECT_TRUE(iana->defined(CTagPath{4, 5}));
  EXPECT_EQ(failure([&] {
              iana->find(CTagPath{4, 13});
            }),
            "Cannot find option 4/13 in option 3. | No such option.");
  EXPECT_EQ(failure([&] { iana->append(make(13), CTagPath{9}); }),
            "Cannot append option 13 to option 3. | Suboption 9 does not exist in this container.");
  EXPECT_EQ(
      failure([&] { iana->overwrite(make(13), CTagPath{9}); }),
      "Cannot overwrite option 13 in option 3. | Suboption 9 does not exist in this container.");

  EXPECT_TRUE(store->erase(CTagPath{1}, 0));
  EXPECT_EQ(store->find(CTagPath{1}).get(), b.get());
  EXPECT_FALSE(store->erase(CTagPath{1}, 3));
}

TEST_F(COptionTest, OverwriteKeepsThePosition) {
  COptionStorePtr store = parse(
      "00070001ff"
      "00080002000a"
      "001700102001"
      "0db80000000000000000000000001");
  ASSERT_EQ(store->count(), 3u);
  COption::Ptr pref = make(8, store.get());
  pref->string("99");
  store->overwrite(pref);
  EXPECT_EQ(store->values()[1]->string(), "99");
  EXPECT_EQ(store->count(), 3u);
}

TEST_F(COptionTest, CloneIsDeepAndReparented) {
  COptionStorePtr store = parse(scapyBytes()["ia_na"]);
  COptionStorePtr copy = store->clone(&ctx);
  EXPECT_EQ(copy->string(), store->string());
  COption::Ptr addr = copy->find(CTagPath{3, 4, 5});
  EXPECT_EQ(addr->parent()->parent(), copy->find(CTagPath{3}).get());
  addr->find(CTagPath{1})->string("2001:db8::99");
  EXPECT_NE(copy->string(), store->string());
}

TEST_F(COptionTest, StoreTextForm) {
  COptionStorePtr store = ctx.factory().createOS("policy");
  store->string("  dns-servers =  \"2001:db8::1\", \"2001:db8::2\"  \n\n\tpreference=5\t\n");
  EXPECT_EQ(store->string(),
            "dns-servers = \"2001:db8::1\", \"2001:db8::2\"\n"
            "preference = 5\n");
  COptionStorePtr same = ctx.factory().createOS("policy");
  same->string(store->string());
  EXPECT_EQ(same->string(), store->string());

  store->string(
      "ia-na = { iaid = 7, t1 = 100, t2 = infinite, options = { iaaddr = { address = "
      "\"2001:db8::5\", preferred-lifetime = 1, valid-lifetime = 2, options = {  } } } }");
  EXPECT_EQ(
      store->find(CTagPath{3})->string(),
      "{ iaid = 7, t1 = 100, t2 = infinite, options = { iaaddr = { address = \"2001:db8::5\", "
      "preferred-lifetime = 1, valid-lifetime = 2, options = {  } } } }");
  // Quotes keep commas, equals signs and braces inside a value.
  COptionStorePtr quoted = ctx.factory().createOS("q");
  quoted->string("status-code = { code = 1, message = \"a, b = {c} \\\"d\\\"\" }");
  EXPECT_EQ(quoted->find(CTagPath{13, 2})->string(), "\"a, b = {c} \\\"d\\\"\"");
  COptionStorePtr requoted = ctx.factory().createOS("q");
  requoted->string(quoted->string());
  EXPECT_EQ(requoted->string(), quoted->string());

  EXPECT_EQ(failure([&] { store->string("no-such-option = 1"); }),
            "Cannot find tag for option named 'no-such-option', vendor id 0. | No option with this "
            "name/id exists.");
}

TEST_F(COptionTest, StoreLineWithAnExpressionBecomesAnExpressionOption) {
  nuv::CExpEval eval;
  ctx.evaluator(&eval);
  COptionStorePtr store = ctx.factory().createOS("policy");
  store->string("reply-port = [500 + 47]\npreference = 3");
  COption::Ptr port = store->find(CTagPath{100017});
  EXPECT_EQ(port->valueType(), COptionType::ot_expression);
  EXPECT_EQ(store->string(), "reply-port = [500 + 47]\npreference = 3\n");
  // Codes wider than the wire field are cut; such options stay in policies.
  EXPECT_EQ(wireOf(*store),
            "86b100020223"
            "0007000103");
}

TEST_F(COptionTest, ServerControlOptionsStayOffTheWire) {
  COptionStorePtr store = ctx.factory().createOS("policy");
  store->string("reply-port = 547\npreference = 3");
  std::uint8_t buf[64];
  COptionOutputContext oc(store.get(), false);
  std::uint8_t* end = store->valueOutput(buf, sizeof buf, oc);
  EXPECT_EQ(hex(buf, static_cast<std::size_t>(end - buf)), "0007000103");
  EXPECT_EQ(store->string(), "reply-port = 547\npreference = 3\n");
  // Forbidden codes are skipped too (header fields written separately).
  oc.allowServerControl(true);
  oc.forbid(7);
  end = store->valueOutput(buf, sizeof buf, oc);
  EXPECT_EQ(hex(buf, static_cast<std::size_t>(end - buf)), "86b100020223");
}

TEST_F(COptionTest, CheckWireRefusesWhatAClientCouldNotRead) {
  nuv::CExpEval eval;
  ctx.evaluator(&eval);
  COptionStorePtr store = ctx.factory().createOS("policy");
  // Server settings and expressions never go on the wire as they stand.
  store->string(
      "dns-servers = 2001:db8::1\nreply-port = 547\npreference = [1 + 2]\nrapid-commit =");
  store->checkWire();
  // An address list without addresses: option 23 of length 0.
  COptionStorePtr empty = ctx.factory().createOS("policy");
  empty->string("dns-servers =");
  EXPECT_EQ(failure([&] { empty->checkWire(); }),
            "Option 'dns-servers' would be sent malformed. | Buffer is too short to represent this "
            "option.");
}

TEST_F(COptionTest, OptionsMayBeReleasedOnAnotherThread) {
  // Policy sets are built on one thread and dropped on another: the pools
  // must stay consistent (the sanitizer build checks).
  std::vector<COption::Ptr> built;
  for (int i = 0; i < 2000; ++i) built.push_back(make(23));
  std::thread dropper([&built] { built.clear(); });
  for (int i = 0; i < 2000; ++i) {
    COption::Ptr o = make(23);
    o->string("2001:db8::1");
  }
  dropper.join();
  EXPECT_EQ(ctx.factory().pool(COptionType::ot_ipaddress)->outstanding(), 0u);
}
