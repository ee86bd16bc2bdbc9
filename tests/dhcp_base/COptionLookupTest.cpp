// Definitions: record text, lookups by key and name, file loading order.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "OptionFixture.h"

using namespace optiontest;
namespace fs = std::filesystem;

namespace {
class COptionLookupTest : public OptionFixture {
 protected:
  fs::path dir = fs::temp_directory_path() / ("lookup-" + std::to_string(::getpid()));
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }
  void write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name) << text;
  }
};
}  // namespace

TEST_F(COptionLookupTest, RecordTextRoundTripsWithDefaults) {
  COptionAttributes a;
  a.set(
      "tagpath = 3/4/5\ntype = ipaddr\nname = x\nmax_instances = 0\nuser_definable = true\n"
      "vendor_id = 4491\ncontext_vendor_id = <17/1>\nfixed_offsets = 1,0,16;\"2\", 16 ,4\n"
      "arrayed = true\nlen_prefix_width = 2\nmin_value = 0");
  EXPECT_EQ(a.type, COptionType::ot_ipaddress);
  EXPECT_EQ(a.userDefinable, CUserDefinable::allowed);
  EXPECT_EQ(a.fixedOffsets.string(), "1,0,16; 2,16,4");
  EXPECT_EQ(a.element.maxValue, 2147483647);
  COptionAttributes b;
  b.set(a.string());
  EXPECT_EQ(b.string(), a.string());
  EXPECT_EQ(b.tag(), 5u);

  COptionAttributes d;
  d.set("tagpath = 9\ntype = 8bit\nname = d");
  EXPECT_EQ(d.maxInstances, 1u);
  EXPECT_EQ(d.userDefinable, CUserDefinable::disallowed);
  EXPECT_EQ(d.vendorId, CVendorID::reserved());
  EXPECT_EQ(d.inputTypeEncoding, -1);
}

TEST_F(COptionLookupTest, RecordFailures) {
  const std::pair<const char*, const char*> cases[] = {
      {"type = 8bit\nname = x",
       "Invalid option attribute data. | An option type definition must include a 'tagpath' "
       "setting."},
      {"tagpath = 7\nname = x",
       "Invalid data for option 7. | An option type definition must include a 'type' setting."},
      {"tagpath = 7\ntype = 8bit",
       "Invalid data for option 7. | An option type definition must include a 'name' setting."},
      {"tagpath = 7\ntype = 9bit\nname = x",
       "Cannot serialize option type. | Unknown option type '9bit'."},
      {"tagpath = 7\ntype = 8bit\nname = x\nuser_definable = maybe",
       "Cannot deserialize 'user_definable' value 'maybe'. | Illegal value."},
      {"tagpath = 7\ntype = fixed_offset\nname = x\nfixed_offsets = 1,0",
       "Format '1,0' does not describe a valid fixed offset. | Cannot locate a 'length' "
       "definition."},
      {"tagpath = 7/x\ntype = 8bit\nname = x",
       "Cannot set tag path from text '7/x'. | Invalid path component 'x'."},
  };
  for (const auto& [record, text] : cases) {
    COptionAttributes a;
    EXPECT_EQ(failure([&] { a.set(std::string(record)); }), text) << record;
  }
}

TEST_F(COptionLookupTest, LocateByKeyAndByName) {
  define("tagpath = 3\ntype = fixed_offset\nname = ia-na");
  define("tagpath = 3/1\ntype = 32bit\nname = iaid");
  define("tagpath = 25/1\ntype = 32bit\nname = iaid");
  define("tagpath = 17/2/1\ntype = 16bit\nname = oro\nvendor_id = 4491");
  const COptionLookup& l = ctx.optionLookup();
  EXPECT_EQ(l.locate(CTagPath{3, 1}, CVendorID::reserved(), false)->name, "iaid");
  EXPECT_EQ(l.locate(CTagPath{3, 9}, CVendorID::reserved(), true), l.unknownAttr());
  EXPECT_TRUE(l.exists(CTagPath("17/2/1"), CVendorID{4491}));
  EXPECT_FALSE(l.exists(CTagPath("17/2/1"), CVendorID::reserved()));
  EXPECT_TRUE(l.exists(CTagPath{0xfffffffeu}, CVendorID::reserved()));  // the option store

  EXPECT_EQ(l.locate("iaid", CTagPath{25}, CVendorID::reserved())->tagPath.string(), "25/1");
  EXPECT_EQ(failure([&] { l.locate("ia-na", CTagPath{25}, CVendorID::reserved()); }),
            "Cannot find option named 'ia-na', vendor id 0 in tagpath 25. | No option with this "
            "name/id exists at that path.");
  EXPECT_EQ(l.locate("oro", CVendorID{4491})->tag(), 1u);
  EXPECT_EQ(
      failure([&] { l.locate("oro", CVendorID::reserved()); }),
      "Cannot find tag for option named 'oro', vendor id 0. | No option with this name/id exists.");
}

TEST_F(COptionLookupTest, LaterFileWinsAndARefusedFileChangesNothing) {
  write("a.spec", "spec_name = a\n\ntagpath = 7\ntype = 8bit\nname = first\n");
  write("b.spec", "spec_name = b\n\ntagpath = 7\ntype = 16bit\nname = second\n");
  write("c.spec",
        "spec_name = c\n\ntagpath = 8\ntype = 8bit\nname = c\n\ntagpath = 7\ntype = 8bit\n");
  COptionLookupFileReader reader(ctx.optionLookup());
  reader.execute(dir.string(), "a.spec");
  reader.execute(dir.string(), "b.spec");
  EXPECT_EQ(ctx.optionLookup().locate(CTagPath{7}, CVendorID::reserved(), false)->name, "second");
  EXPECT_NE(failure([&] { reader.execute(dir.string(), "c.spec"); }).find("at line 7"),
            std::string::npos);
  EXPECT_FALSE(ctx.optionLookup().exists(CTagPath{8}, CVendorID::reserved()));

  write("v.spec", "spec_name = v\n\nvendor_class = acme\nvendor_id = 99\nvendor_name = Acme\n");
  CVendorLookupFileReader(ctx.vendorLookup()).execute(dir.string(), "v.spec");
  EXPECT_EQ(ctx.vendorLookup().locate(99, "acme")->vendorName, "Acme");
  EXPECT_TRUE(ctx.vendorLookup().exists(CVendorID{99}));
  EXPECT_EQ(failure([&] { ctx.vendorLookup().locate("nope"); }),
            "Cannot find attributes for vendor class 'nope'. | This vendor class is not defined.");
}

TEST_F(COptionLookupTest, CodeClassesOfTheContext) {
  EXPECT_EQ(ctx.configPrefix(), "ip6.dhcp6");
  EXPECT_TRUE(ctx.isServerControlOption(100000));
  EXPECT_TRUE(ctx.isServerControlOption(102999));
  EXPECT_FALSE(ctx.isServerControlOption(103000));
  EXPECT_TRUE(ctx.isSiteSpecificOption(65280));
  EXPECT_FALSE(ctx.isSiteSpecificOption(65535));
  EXPECT_TRUE(ctx.isVendorSpecificOption(CTagPath{17, 2, 1}));
  EXPECT_FALSE(ctx.isVendorSpecificOption(CTagPath{17, 1}));
  CDHCPContext v4(4);
  EXPECT_EQ(v4.configPrefix(), "ip4.dhcp4");
  EXPECT_TRUE(v4.isServerControlOption(1000));
  EXPECT_TRUE(v4.isVendorSpecificOption(CTagPath{43, 1}));
  EXPECT_TRUE(v4.isVendorSpecificOption(CTagPath{125, 2, 1}));
}
