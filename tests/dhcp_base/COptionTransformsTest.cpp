// Policy merges and set operations over option sets.

#include <gtest/gtest.h>

#include "OptionFixture.h"
#include "dhcp_base/COptionTransforms.h"

using namespace optiontest;

namespace {
class COptionTransformsTest : public OptionFixture {
 protected:
  void SetUp() override {
    loadCatalogue();
    define("tagpath = 65000\ntype = 8bit\nname = limited\nmax_instances = 2");
  }
  COptionStorePtr store(const std::string& name, const std::string& text) {
    COptionStorePtr s = ctx.factory().createOS(name);
    s->string(text);
    return s;
  }
};
}  // namespace

TEST_F(COptionTransformsTest, MergeGivesTargetExactlyTheSourceInstances) {
  COptionStorePtr source = store("policy",
                                 "ntp-server = { ntp-server-address = \"2001:db8::1\" }\n"
                                 "ntp-server = { ntp-server-address = \"2001:db8::2\" }\n"
                                 "preference = 9");
  COptionStorePtr target = store("reply",
                                 "preference = 1\n"
                                 "ntp-server = { ntp-server-address = \"2001:db8::a\" }\n"
                                 "dns-servers = \"2001:db8::53\"\n"
                                 "ntp-server = { ntp-server-address = \"2001:db8::b\" }\n"
                                 "ntp-server = { ntp-server-address = \"2001:db8::c\" }");
  COptionTransforms::nondestructive_merge(*source, *target);
  EXPECT_EQ(target->string(),
            "preference = 9\n"  // single instance: replaced where it was
            "dns-servers = \"2001:db8::53\"\n"
            "ntp-server = { ntp-server-address = \"2001:db8::1\" }\n"
            "ntp-server = { ntp-server-address = \"2001:db8::2\" }\n");
  EXPECT_EQ(source->count(), 3u);  // copied, not taken
  EXPECT_NE(target->find(CTagPath{7}).get(), source->find(CTagPath{7}).get());

  COptionStorePtr other = store("reply2", "dns-servers = \"2001:db8::53\"");
  COptionTransforms::destructive_merge(*source, *other);
  EXPECT_EQ(source->count(), 0u);
  EXPECT_EQ(other->count(), 4u);
  EXPECT_EQ(other->find(CTagPath{7})->parent(), other.get());
}

TEST_F(COptionTransformsTest, NondestructiveMergeChecksInstanceLimits) {
  COptionStorePtr source = store("p", "limited = 1\nlimited = 2\nlimited = 3");
  COptionStorePtr target = store("t", "");
  EXPECT_EQ(failure([&] { COptionTransforms::nondestructive_merge(*source, *target); }),
            "Cannot merge option stores 'p' and 't'. | Option 65000 exceeds its allowed instance "
            "count of 2.");
}

TEST_F(COptionTransformsTest, CopyingMergeKeepsSourceAndSkipsInstanceLimits) {
  COptionStorePtr source = store("p", "limited = 1\nlimited = 2\nlimited = 3\npreference = 4");
  COptionStorePtr target = store("t", "preference = 1\nlimited = 9");
  COptionTransforms::copying_merge(*source, *target);
  EXPECT_EQ(target->string(), "preference = 4\nlimited = 1\nlimited = 2\nlimited = 3\n");
  EXPECT_EQ(source->count(), 4u);
  EXPECT_NE(target->find(CTagPath{7}).get(), source->find(CTagPath{7}).get());
  EXPECT_EQ(target->find(CTagPath{7})->parent(), target.get());
}

TEST_F(COptionTransformsTest, SetOperationsHaveMultisetSemantics) {
  COptionStorePtr a = store("a", "dns-servers = \"2001:db8::1\"\npreference = 1\npreference = 2");
  COptionStorePtr b =
      store("b", "dns-servers = \"2001:db8::2\"\npreference = 3\nsntp-servers = \"::1\"");
  COptionStorePtr u = ctx.factory().createOS("u");
  COptionTransforms::set_union(*a, *b, *u);
  EXPECT_EQ(u->instanceCount(CTagPath{23}), 2u);
  EXPECT_EQ(u->instanceCount(CTagPath{7}), 3u);
  EXPECT_EQ(u->count(), 6u);
  COptionStorePtr i = ctx.factory().createOS("i");
  COptionTransforms::set_intersect(*a, *b, *i);
  EXPECT_EQ(i->string(), "preference = 1\ndns-servers = \"2001:db8::1\"\n");  // ordered by code
  COptionStorePtr d = ctx.factory().createOS("d");
  COptionTransforms::set_difference(*a, *b, *d);
  EXPECT_EQ(d->string(), "preference = 2\n");

  CDHCPContext v4(4);
  COptionStorePtr four = v4.factory().createOS("four");
  EXPECT_EQ(failure([&] { COptionTransforms::set_union(*a, *four, *u); }),
            "Cannot calculate the union of option stores 'a' and 'four'. | The protocol families "
            "differ.");
  EXPECT_EQ(failure([&] { COptionTransforms::set_intersect(*a, *four, *u); }),
            "Cannot calculate the intersect between option stores 'a' and 'four'. | The protocol "
            "families differ.");
  EXPECT_EQ(failure([&] { COptionTransforms::set_difference(*a, *four, *u); }),
            "Cannot calculate the difference between option stores 'a' and 'four'. | The protocol "
            "families differ.");
}
