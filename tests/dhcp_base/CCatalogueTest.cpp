// The shipped definition catalogue: it loads, covers what the framing and
// the processors rely on, and decodes and encodes real options exactly as
// an independent encoder (scapy) lays them out.

#include <gtest/gtest.h>

#include <set>

#include "OptionFixture.h"
#include "dhcp_base/CPktIOException.h"
#include "dhcp_base/CValueTypeConverter.h"
#include "dhcp_base/CVendorLookup.h"

using namespace optiontest;

namespace {
class CCatalogueTest : public OptionFixture {
 protected:
  void SetUp() override { loadCatalogue(); }
  std::map<std::string, std::string> scapy = scapyBytes();
};
}  // namespace

TEST_F(CCatalogueTest, VendorsAndTopLevelNamesAreDistinct) {
  const COptionLookup& l = ctx.optionLookup();
  EXPECT_TRUE(l.exists(CTagPath("25/4/26/5/67"), CVendorID::reserved()));
  EXPECT_EQ(l.locate(CTagPath("17/2/33"), CVendorID{4491}, false)->name, "config-file");
  EXPECT_EQ(ctx.vendorLookup().locate("docsis")->vendorId, CVendorID{4491});

  // Operators type top-level names: they must be unique per vendor.
  std::set<std::string> names;
  for (const auto& entry : l) {
    if (entry.first.tagPath.size() == 1 && entry.first.vendor == CVendorID::reserved()) {
      EXPECT_TRUE(names.insert(entry.second->name).second) << entry.second->name;
    }
  }
}

TEST_F(CCatalogueTest, IANAWithAnAddressMatchesScapy) {
  COptionStorePtr s = parse(scapy["ia_na"]);
  COption::Ptr iana = s->find(CTagPath{3});
  EXPECT_EQ(CValueTypeConverter::uint32(*iana->find(CTagPath{1}), 0), 0x01020304u);
  EXPECT_EQ(CValueTypeConverter::uint32(*iana->find(CTagPath{2}), 0), 3600u);
  EXPECT_EQ(CValueTypeConverter::uint32(*iana->find(CTagPath{3}), 0), 5400u);
  COption::Ptr addr = iana->find(CTagPath{4, 5});
  EXPECT_EQ(CValueTypeConverter::ip(*addr->find(CTagPath{1}), 0).string(), "2001:db8::1");
  EXPECT_EQ(CValueTypeConverter::uint32(*addr->find(CTagPath{2}), 0), 7200u);
  EXPECT_EQ(CValueTypeConverter::uint32(*addr->find(CTagPath{3}), 0), 10800u);
  EXPECT_EQ(wireOf(*s), scapy["ia_na"]);

  // Built from text, not from bytes: the same layout.
  COptionStorePtr built = ctx.factory().createOS("built");
  built->string(
      "ia-na = { iaid = 16909060, t1 = 3600, t2 = 5400, options = { iaaddr = { address = "
      "\"2001:db8::1\", preferred-lifetime = 7200, valid-lifetime = 10800, options = {  } } } }");
  EXPECT_EQ(wireOf(*built), scapy["ia_na"]);
}

TEST_F(CCatalogueTest, RealOptionsDecodeAndEncodeLikeScapy) {
  struct Expect {
    const char* name;
    const char* text;  // the option set's text form after decoding
  };
  const Expect cases[] = {
      {"dns_servers", "dns-servers = \"2001:db8::53\", \"2001:db8::54\"\n"},
      {"domain_search", "domain-search = example.com, corp.example.net\n"},
      {"status_code", "status-code = { code = 2, message = \"no addresses\" }\n"},
      {"client_fqdn", "client-fqdn = { flags = 1, domain-name = host.example.com }\n"},
      {"vendor_class",
       "vendor-class = { enterprise-number = 4491, data = \"64-6F-63-73-69-73-33-2E-30\" }\n"},
      {"ia_pd",
       "ia-pd = { iaid = 7, t1 = 100, t2 = 200, options = { iaprefix = { preferred-lifetime = 300, "
       "valid-lifetime = 400, prefix-length = 56, prefix = \"2001:db8:1200::\", options = {  } } } "
       "}\n"},
      {"ia_ta",
       "ia-ta = { iaid = 9, options = { iaaddr = { address = \"fe80::9\", preferred-lifetime = 1, "
       "valid-lifetime = 2, options = {  } }, status-code = { code = 0, message = \"ok\" } } }\n"},
      {"auth",
       "auth = { protocol = 3, algorithm = 1, rdm = 0, replay-detection = 42, auth-info = "
       "\"DE-AD-BE-EF\" }\n"},
      {"user_class", "user-class = \"61-62\", \"63-64-65\"\n"},
      {"sip_domains", "sip-server-dns = sip.example.com\n"},
      {"sntp_servers", "sntp-servers = \"2001:db8::123\"\n"},
      {"info_refresh_time", "information-refresh-time = 86400\n"},
      {"nis_domain", "nis-domain-name = nis.example.org\n"},
      {"remote_id", "remote-id = { enterprise-number = 3561, remote-id-data = \"01-02-03\" }\n"},
      {"new_posix_timezone", "new-posix-timezone = \"EST5EDT4,M3.2.0/02:00,M11.1.0/02:00\"\n"},
      {"bootfile_url", "bootfile-url = \"tftp://[2001:db8::69]/boot.efi\"\n"},
      {"client_linklayer_addr",
       "client-linklayer-addr = { link-layer-type = 1, link-layer-address = \"00-11-22-33-44-55\" "
       "}\n"},
      {"vendor_opts",
       "vendor-opts = { enterprise-number = 4491, options = { config-file = \"modem.cfg\", "
       "tftp-servers = \"2001:db8::69\" } }\n"},
  };
  for (const Expect& c : cases) {
    SCOPED_TRACE(c.name);
    COptionStorePtr s = parse(scapy[c.name]);
    EXPECT_EQ(s->string(), c.text);
    EXPECT_EQ(wireOf(*s), scapy[c.name]);
    COptionStorePtr again = ctx.factory().createOS("again");
    again->string(c.text);
    EXPECT_EQ(wireOf(*again), scapy[c.name]);
  }
}

TEST_F(CCatalogueTest, VendorOptionsAreReadUnderTheirOwnEnterpriseNumber) {
  COptionStorePtr s = parse(scapy["vendor_opts"]);
  COption::Ptr file = s->find(CTagPath{17, 2, 33});
  EXPECT_EQ(file->attributes().vendorId, CVendorID{4491});
  EXPECT_TRUE(ctx.isVendorSpecificOption(file->tagPath()));

  // Another vendor's sub-options have no definitions here: skipped.
  std::string other = scapy["vendor_opts"];
  other.replace(8, 8, "00000009");
  EXPECT_EQ(parse(other)->find(CTagPath{17, 2})->count(), 0u);

  // Enterprise number 0 names no vendor.
  std::string zero = scapy["vendor_opts"];
  zero.replace(8, 8, "00000000");
  EXPECT_EQ(failure([&] { parse(zero); }),
            "Cannot resolve vendor id for options contained in 17/2. | Reserved enterprise "
            "identifier '0' is not a valid vendor id.");
}

TEST_F(CCatalogueTest, ASolicitsOptionsRoundTrip) {
  COptionStorePtr s = parse(scapy["solicit_options"]);
  EXPECT_EQ(s->count(), 7u);
  EXPECT_EQ(s->find(CTagPath{6})->string(), "23, 24, 17, 39, 82");
  EXPECT_EQ(s->find(CTagPath{14})->valueType(), COptionType::ot_control);
  EXPECT_EQ(wireOf(*s), scapy["solicit_options"]);
  COptionStorePtr json = ctx.factory().createOS("json");
  json->json(s->json());
  EXPECT_EQ(wireOf(*json), scapy["solicit_options"]);
}

TEST_F(CCatalogueTest, ContainerReadingRules) {
  // Code 65535 ends the container even with bytes after it.
  COptionStorePtr s = parse(
      "0007000105"
      "ffff0000"
      "0007000106");
  EXPECT_EQ(s->count(), 1u);
  // A child without a definition is passed over; the next one is read.
  s = parse(
      "fe000003aabbcc"
      "0007000109");
  ASSERT_EQ(s->count(), 1u);
  EXPECT_EQ(s->values()[0]->string(), "9");
  EXPECT_EQ(failure([&] { parse("00070005aa"); }),
            "Cannot decode option 7. | Payload length out of bounds.");
  EXPECT_EQ(failure([&] { parse("000700"); }),
            "Cannot read option length. | Malformed buffer (no terminator found).");
  try {
    parse(
        "00070001aa"
        "0008000500");
    ADD_FAILURE();
  } catch (const CPktIOException& e) {
    EXPECT_EQ(e.offset(), 9u);  // where the failing payload starts
  }
}

TEST_F(CCatalogueTest, FixedLayouts) {
  // An IA_NA shorter than its fixed part is refused.
  EXPECT_EQ(failure([&] {
              parse(
                  "00030008"
                  "0000000100000002");
            }),
            "Cannot decode option 3. | Buffer is too short to represent this option.");
  // Elements left empty are written as zeros; a stray element has no place.
  COption::Ptr iana = make(3);
  COption::Ptr iaid = make(1, iana.get());
  iaid->string("5");
  iana->append(iaid);
  iana->append(make(4, iana.get()));
  EXPECT_EQ(wire(*iana),
            "0003000c"
            "00000005"
            "00000000"
            "00000000");
  iana->append(make(13, iana->find(CTagPath{4}).get()), CTagPath{4});
  EXPECT_EQ(wire(*iana),
            "00030012"
            "00000005"
            "00000000"
            "00000000"
            "000d0002"
            "0000");
  iana->children()->push_back(make(23));
  EXPECT_EQ(failure([&] { wire(*iana); }),
            "Cannot output option 23. | No fixed offset for this option is defined.");
}
