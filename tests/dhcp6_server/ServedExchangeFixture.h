#pragma once
// One worker thread of a server on a database (SQLite, or PostgreSQL when
// the test command provides a server: NUV_PRST_BACKENDS), fed with datagrams
// without a network: each message goes into the handler as if read from
// interface kLinkIndex (whose addresses the test sets) and the reply bytes
// come back from the thread's transmitter. The message processors are thus
// tested through the handler, as a client sees them, with no root and no
// socket. Messages are written as bytes; replies are read back with the
// server's own definitions.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "dhcp_base/CDHCP6Packet.h"
#include "dhcp_server_common/CIDHCPProvisioner.h"
#include "dhcp_server_common/CNodeContext.h"
#include "extended/CInterfaceEnum.h"
#include "oodb/CPrstTransaction.h"
#include "oodb_persistence/CPrstDBSession.h"
#include "tests/dhcp6_server/CHandlerThreadFixture.h"
#include "tests/fixtures/CPrstBackendTest.h"
#include "tests/fixtures/StoreRecord.h"

namespace served {

// The SQLite database file lives in the test's own directory.
class CServedController : public CRecordingController {
 public:
  std::string varDir() const override { return dir; }
  std::string dir;
};

// Puts every client into the domains the test names, besides all devices.
class CDomainProvisioner : public CPlugin,
                           public CIDHCPProvisionerFactory,
                           public CIDHCPProvisioner {
 public:
  std::string pluginName() const override { return "domain provisioner"; }
  std::string pluginInterface() const override { return "CIDHCPProvisionerFactory,CPlugin"; }
  std::shared_ptr<CIDHCPProvisioner> createProvisioner(CIDHCPContext&) override {
    return std::shared_ptr<CIDHCPProvisioner>(std::shared_ptr<void>(), this);
  }
  CAccessID setAccessToken(CNodeContext& node) override {
    node.token().grantAccess(CExtDomainID::allDevices,
                             CAccessRights::read | CAccessRights::execute);
    for (int d : domains) node.token().grantAccess(d, CAccessRights::read | CAccessRights::execute);
    return CAccessID(42);
  }
  void refreshConfig() override {}
  std::string ruleResult(CNodeContext&, const std::string&) override { return {}; }
  bool rulePersistEnabled() const override { return false; }

  std::vector<int> domains;
};

// Option and message bytes.
inline std::string u16(unsigned v) {
  return {static_cast<char>(v >> 8), static_cast<char>(v & 0xff)};
}
inline std::string opt(unsigned code, const std::string& data) {
  return u16(code) + u16(static_cast<unsigned>(data.size())) + data;
}
inline std::string msg(unsigned type, const std::string& options) {
  return std::string(1, static_cast<char>(type)) + std::string("\x12\x34\x56", 3) + options;
}
inline std::string ipv6(const char* text) {
  const nuv::CIPAddress a(text);
  return std::string(reinterpret_cast<const char*>(a.raw()), a.raw_len());
}
inline std::string u32(std::uint32_t v) {
  return u16(v >> 16) + u16(v & 0xffff);
}
// IA_NA, IA_TA and IA_PD with their IAID (T1, T2 zero) and sub-options.
inline std::string iaNA(std::uint32_t iaid, const std::string& sub = "") {
  return opt(3, u32(iaid) + std::string(8, '\0') + sub);
}
inline std::string iaTA(std::uint32_t iaid, const std::string& sub = "") {
  return opt(4, u32(iaid) + sub);
}
inline std::string iaPD(std::uint32_t iaid, const std::string& sub = "") {
  return opt(25, u32(iaid) + std::string(8, '\0') + sub);
}
inline std::string oro(std::initializer_list<unsigned> codes) {
  std::string data;
  for (unsigned c : codes) data += u16(c);
  return opt(6, data);
}
// An IA Address and an IA Prefix the client names (lifetimes 0).
inline std::string iaAddr(const char* address) {
  return opt(5, ipv6(address) + std::string(8, '\0'));
}
inline std::string iaPrefix(const char* prefix, unsigned length) {
  return opt(26, std::string(8, '\0') + std::string(1, static_cast<char>(length)) + ipv6(prefix));
}
inline const std::string kClientDUID("\x00\x03\x00\x01\x02\x00\x00\x00\x00\x02", 10);
inline std::string clientID() {
  return opt(1, kClientDUID);
}
inline std::string relayed(const char* link, const std::string& inner) {
  return std::string("\x0c\x00", 2) + ipv6(link) + ipv6("fe80::2") + opt(9, inner);
}

struct ServedExchangeFixture : CHandlerThreadFixture<CServedController> {
  static constexpr unsigned kLinkIndex = 7;

  void SetUp() override {
    const bool pg = GetParam() == "pgsql";
    NUV_REQUIRE_TEST_PG(GetParam());
    // A database of its own on the test server, dropped at the end.
    if (pg) database = CPrstTestDatabase::forHost(host.mutableConfig());
    char tmpl[] = "/tmp/nuv_served_XXXXXX";
    host.dir = mkdtemp(tmpl);
    provisioner = new CDomainProvisioner;
    ASSERT_TRUE(host.plugins().loadPlugin(std::string(NUV_PLUGIN_DIR) +
                                          (pg ? "/pg_db.so" : "/sqlite_db.so")));
    host.plugins().addPlugin(provisioner, deleteTestPlugin, nullptr, "provisioner");
    morePlugins();
    startState();
    if (!tls) return;
    tls->transmitter([this](const void* bytes, std::size_t length, const nuv::CEndpoint& to) {
      sent.emplace_back(static_cast<const char*>(bytes), length);
      sentTo = to;
      return static_cast<ssize_t>(length);
    });
    linkAddresses({"2001:db8:1::1"});
  }
  // The global addresses of the interface the messages arrive on.
  void linkAddresses(std::vector<const char*> addresses) {
    CInterfaceEnum::Detail link;
    link.name = "link0";
    link.index = kLinkIndex;
    link.addresses.push_back(nuv::CIPAddress("fe80::1"));
    for (const char* a : addresses) link.addresses.push_back(nuv::CIPAddress(a));
    tls->interfaceAddresses().lister([link] { return std::vector<CInterfaceEnum::Detail>{link}; });
  }
  void TearDown() override {
    CHandlerThreadFixture::TearDown();
    database.reset();
    std::error_code ec;
    if (!host.dir.empty()) std::filesystem::remove_all(host.dir, ec);
  }

  // A derived fixture's own service plug-ins, added before the thread starts.
  virtual void morePlugins() {}

  CIPrstSession& session() { return tls->prstSession(); }
  // Stores a record given in its text form, in its own transaction; its key.
  template <class Record>
  std::int32_t store(const std::string& text) {
    return storeRecord<Record>(session(), text);
  }
  // From now on every insert into table fails, as a full disk or a broken
  // database would make it.
  void refuseInserts(const std::string& table) {
    CSqlConnection& db = dynamic_cast<CPrstDBSession&>(session()).connection();
    if (GetParam() == "pgsql")
      db.executeScript(
          "CREATE OR REPLACE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
          "$$ BEGIN RAISE EXCEPTION 'refused'; END $$; CREATE TRIGGER refuse "
          "BEFORE INSERT ON " +
          table + " FOR EACH ROW EXECUTE FUNCTION refuse();");
    else
      db.executeScript("CREATE TRIGGER refuse BEFORE INSERT ON " + table +
                       " BEGIN SELECT RAISE(ABORT, 'refused'); END;");
  }
  // The thread forgets its cached global policies, as on a policy event.
  void policiesChanged() {
    tls->startTransaction();
    tls->policyFinder().resetGlobalPolicies();
    tls->policyFinder().findGlobalPolicies();
    tls->commitTransaction();
  }

  // Hands the message to the handler and returns the reply, parsed; null
  // without reply.
  std::shared_ptr<CDHCP6Packet> exchange(const std::string& bytes) {
    host.logSink.lines.clear();
    sent.clear();
    handler.deliver(*tls, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                    nuv::CEndpoint("[fe80::2]:546"), nuv::CIPAddress("ff02::1:2"), kLinkIndex);
    if (sent.empty()) return nullptr;
    std::string bytesIn = sent.back();
    // A client never sees relay layers: take them off as the relay would.
    relayLayers = 0;
    while (!bytesIn.empty() && bytesIn[0] == '\x0d') {
      ++relayLayers;
      bytesIn = relayMessage(bytesIn);
    }
    auto reply = std::make_shared<CDHCP6Packet>(&tls->context(), "reply");
    try {
      reply->clientSetFromRaw(reinterpret_cast<const std::uint8_t*>(bytesIn.data()), bytesIn.size(),
                              nuv::CIPAddress());
    } catch (const nuv::CException& e) {
      ADD_FAILURE() << e.printableError();
    }
    return reply;
  }
  // The Relay Message option's data of a relay message (empty without one).
  static std::string relayMessage(const std::string& relay) {
    for (std::size_t at = 34; at + 4 <= relay.size();) {
      const unsigned code =
          static_cast<unsigned char>(relay[at]) << 8 | static_cast<unsigned char>(relay[at + 1]);
      const std::size_t len = static_cast<unsigned char>(relay[at + 2]) << 8 |
                              static_cast<unsigned char>(relay[at + 3]);
      if (code == 9) return relay.substr(at + 4, len);
      at += 4 + len;
    }
    return {};
  }
  // The top-level options of the reply's client message, "name = value" lines.
  static std::string options(const CDHCP6Packet& reply) { return reply.hostOptions()->string(); }
  CDomainProvisioner* provisioner = nullptr;
  std::unique_ptr<CPrstTestDatabase> database;  // PostgreSQL only
  unsigned relayLayers = 0;                     // of the last reply
  std::vector<std::string> sent;                // datagrams the server sent
  nuv::CEndpoint sentTo;                        // where the last one went
};

}  // namespace served
