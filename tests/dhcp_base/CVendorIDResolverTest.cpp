// Which vendor a container's children are read under.

#include <gtest/gtest.h>

#include "OptionFixture.h"
#include "dhcp_base/CVendorIDResolver.h"
#include "exp_eval/CExpEval.h"

using namespace optiontest;

namespace {
class CVendorIDResolverTest : public OptionFixture {
 protected:
  void SetUp() override {
    loadCatalogue();
    ctx.evaluator(&eval);
  }
  // A sub-encoded container whose "context_vendor_id" is text.
  CVendorID resolve(const std::string& text) {
    ctx.optionLookup().insert([&] {
      auto a = std::make_shared<COptionAttributes>();
      a->set("tagpath = 65001\ntype = subencoded\nname = box\ncontext_vendor_id = " + text);
      return a;
    }());
    COption::Ptr box = make(65001, store.get());
    return CVendorIDResolver(*box, store.get()).find(CVendorID{77});
  }
  nuv::CExpEval eval;
  COptionStorePtr store = ctx.factory().createOS("top");
};
}  // namespace

TEST_F(CVendorIDResolverTest, Literals) {
  EXPECT_EQ(resolve("4491"), CVendorID{4491});
  EXPECT_EQ(resolve("0x118b"), CVendorID{4491});
  EXPECT_EQ(resolve("0"), CVendorID::reserved());
  EXPECT_EQ(failure([&] { resolve("acme!"); }),
            "Cannot switch vendor id contexts. | Failed to decipher context vendor id 'acme!'.");
}

TEST_F(CVendorIDResolverTest, ResolverOptionsAndExpressions) {
  store->string("ddns-host-name = docsis\nreply-port = 9");
  EXPECT_EQ(resolve("<100011>"), CVendorID{4491});  // a class name
  EXPECT_EQ(resolve("<100017>"), CVendorID{9});     // an enterprise number
  EXPECT_EQ(
      failure([&] { resolve("<100012>"); }),
      "Cannot resolve vendor id for options contained in 65001. | Resolver option 100012 does "
      "not exist in this container.");
  store->string("ddns-authoritative = true");
  EXPECT_EQ(failure([&] { resolve("<100012>"); }),
            "Cannot resolve vendor id. | Resolver option is an unrecognized data type.");
  EXPECT_EQ(resolve("[4000 + 491]"), CVendorID{4491});
  EXPECT_EQ(resolve("[\"docsis\"]"), CVendorID{4491});
}
