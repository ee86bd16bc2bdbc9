// The option and vendor-class definitions stored in the database: written
// from one context's lookups, read into another's.

#include <gtest/gtest.h>

#include "dhcp_base/COptionLookup.h"
#include "dhcp_base/CVendorLookup.h"
#include "dhcp_base/CVendorLookupFileReader.h"
#include "dhcp_database/COptionLookupPrstReader.h"
#include "dhcp_database/COptionLookupPrstWriter.h"
#include "dhcp_database/CPrstOptionAttributes.h"
#include "dhcp_database/CVendorLookupPrstReader.h"
#include "dhcp_database/CVendorLookupPrstWriter.h"
#include "tests/dhcp_database/DHCPDatabaseFixture.h"

namespace {

COptionAttributes::Ptr definition(const std::string& text) {
  auto d = std::make_shared<COptionAttributes>();
  d->set(text);
  return d;
}

}  // namespace

class CDefinitionPrstTest : public DHCPDatabaseTest {
 protected:
  bool logged(const std::string& line) const {
    for (const auto& l : logLines())
      if (l == line) return true;
    return false;
  }
};

TEST_P(CDefinitionPrstTest, SiteAndVendorDefinitionsRoundTrip) {
  CDHCPContext fresh(6, &database->controller);
  EXPECT_EQ(COptionLookupPrstReader(fresh, *session, false, fresh.optionLookup()).execute(), 0u);
  EXPECT_TRUE(logged("info: Database does not contain any option attribute declarations."));

  COptionLookup lookup;  // what users added; the catalogue's vendor options would add more
  lookup.insert(definition("tagpath = 65300\ntype = string\nname = site-motd\n"));
  lookup.insert(definition("tagpath = 17/2/1\ntype = 32bit\nname = acme-level\nvendor_id = 9\n"));
  COptionLookupPrstWriter writer(*context, *session, lookup);
  EXPECT_EQ(writer.execute(false), 2u);
  EXPECT_TRUE(logged("info: Updated 2 option declaration(s) in the database."));
  EXPECT_EQ(writer.execute(false), 0u);  // unchanged: nothing rewritten

  // The reader takes them back on top of the files' definitions.
  COptionLookupFileReader(fresh.optionLookup())
      .execute(std::string(NUV_SOURCE_DIR) + "/data", "options6.spec");
  ASSERT_FALSE(fresh.optionLookup().exists(CTagPath{65300}, CVendorID::reserved()));
  EXPECT_EQ(COptionLookupPrstReader(fresh, *session, false, fresh.optionLookup()).execute(), 2u);
  EXPECT_EQ(fresh.optionLookup().locate(CTagPath{65300}, CVendorID::reserved(), false)->name,
            "site-motd");
  EXPECT_EQ(fresh.optionLookup().locate(CTagPath{17, 2, 1}, CVendorID{9}, false)->name,
            "acme-level");

  // A definition that left the lookup leaves the database.
  COptionLookup::Map keep;
  for (const auto& [key, def] : lookup)
    if (def->name != "site-motd") keep.emplace(key, def);
  COptionLookup smaller;
  smaller.destructiveMerge(keep);
  COptionLookupPrstWriter(*context, *session, smaller).execute(false);
  EXPECT_TRUE(logged("info: Deleted 1 option declaration(s) in the database."));
  EXPECT_EQ(session->select<CPrstOptionAttributes>("generic.all").size(), 1u);
}

TEST_P(CDefinitionPrstTest, StandardOptionsAndOrphanVendorOptionsAreNotTakenFromTheDatabase) {
  COptionLookup lookup;
  lookup.insert(definition("tagpath = 23\ntype = ipaddress\nname = my-dns\n"));
  lookup.insert(definition("tagpath = 17/2/5/1\ntype = 8bit\nname = orphan\nvendor_id = 9\n"));
  EXPECT_EQ(COptionLookupPrstWriter(*context, *session, lookup).execute(true), 2u);
  CDHCPContext fresh(6, &database->controller);
  COptionLookupFileReader(fresh.optionLookup())
      .execute(std::string(NUV_SOURCE_DIR) + "/data", "options6.spec");
  EXPECT_EQ(COptionLookupPrstReader(fresh, *session, false, fresh.optionLookup()).execute(), 0u);
  EXPECT_EQ(fresh.optionLookup().locate(CTagPath{23}, CVendorID::reserved(), false)->name,
            "dns-servers");
  // The flag lifts the restriction.
  EXPECT_EQ(COptionLookupPrstReader(fresh, *session, true, fresh.optionLookup()).execute(), 2u);
  EXPECT_EQ(fresh.optionLookup().locate(CTagPath{23}, CVendorID::reserved(), false)->name,
            "my-dns");
}

TEST_P(CDefinitionPrstTest, VendorClassesRoundTripAndDuplicatesAreReported) {
  CVendorLookup& vendors = context->vendorLookup();
  CDHCPContext fresh(6, &database->controller);
  EXPECT_EQ(CVendorLookupPrstReader(fresh, *session, fresh.vendorLookup()).execute(), 0u);
  EXPECT_TRUE(logged("info: Database does not contain any vendor-class declarations."));

  auto vendor = [](const char* text) {
    auto v = std::make_shared<CVendorAttributes>();
    v->set(std::string(text));
    return v;
  };
  vendors.insert(vendor("vendor_id = 9\nvendor_class = acme\nvendor_name = Acme\n"));
  vendors.insert(vendor("vendor_id = 9\nvendor_class = acme-old\n"));
  EXPECT_EQ(CVendorLookupPrstWriter(*context, *session, vendors).execute(), 2u);
  EXPECT_TRUE(logged("info: Updated 2 vendor-class declaration(s) in the database."));
  EXPECT_EQ(CVendorLookupPrstReader(fresh, *session, fresh.vendorLookup()).execute(), 2u);
  EXPECT_EQ(fresh.vendorLookup().locate("acme")->vendorName, "Acme");
  EXPECT_TRUE(
      logged("warning: Database contains multiple vendor-class declarations for vendor id 9."));
}

NUV_PRST_BACKENDS(CDefinitionPrstTest);
