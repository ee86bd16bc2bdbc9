#include <gtest/gtest.h>

#include "plugins/ddns/CDDNSTransport.h"
#include "tests/ddns/CKnotServer.h"
#include "tests/ddns/DDNSJobs.h"

namespace {

using Records = CDDNSJob::Records;
using Action = CDDNSJob::Action;
using Cause = CDDNSOutcome::Cause;

constexpr const char* kPtrName =
    "0.0.1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.1.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa";

class KnotTransportTest : public ::testing::Test {
 protected:
  // One attempt, as the sender makes it, with the key given; host1 in the
  // zone, or in the test zone of the records.
  CDDNSOutcome send(Records records, Action action,
                    const std::string& keyName = CKnotServer::kKeyName,
                    const std::string& secret = CKnotServer::kSecret, std::string zone = "") {
    if (zone.empty())
      zone = records == Records::forward ? CKnotServer::kForwardZone : CKnotServer::kReverseZone;
    CDDNSUpdate u = ddnsUpdate(
        "host1." + (records == Records::forward ? zone : CKnotServer::kForwardZone), zone);
    u.server = knot.endpoint();
    CDDNSMessage message(CDDNSJob{records, action, u}, 60);
    if (!keyName.empty()) message.sign(keyName, secret);
    return CDDNSTransport::exchange(message, u.server, keyName, secret, 2000);
  }

  CKnotServer knot;
};

}  // namespace

TEST_F(KnotTransportTest, UpdatesAppearAndRemovalsTakeThemOut) {
  ASSERT_TRUE(send(Records::forward, Action::add).ok());
  ASSERT_TRUE(send(Records::reverse, Action::add).ok());
  EXPECT_EQ(knot.query("host1.example.net", "AAAA"), "2001:db8:1::100\n");
  EXPECT_EQ(knot.query(kPtrName, "PTR"), "host1.example.net.\n");
  // A second addition replaces rather than adds.
  ASSERT_TRUE(send(Records::forward, Action::add).ok());
  EXPECT_EQ(knot.query("host1.example.net", "AAAA"), "2001:db8:1::100\n");

  EXPECT_TRUE(send(Records::forward, Action::remove).ok());
  EXPECT_TRUE(send(Records::reverse, Action::remove).ok());
  EXPECT_EQ(knot.query("host1.example.net", "AAAA"), "");
  EXPECT_EQ(knot.query(kPtrName, "PTR"), "");
}

TEST_F(KnotTransportTest, AnUpdateTheServerDoesNotAcceptIsNamedAndNotRetried) {
  const struct {
    const char* name;
    std::string keyName, secret, zone;
    Cause cause;
  } cases[] = {
      {"unknown key", "other-key", CKnotServer::kSecret, "", Cause::badkey},
      {"wrong secret", CKnotServer::kKeyName, "d3JvbmdzZWNyZXR3cm9uZ3NlY3JldA==", "",
       Cause::badsig},
      {"unsigned", "", "", "", Cause::notauth},
      {"zone not served", CKnotServer::kKeyName, CKnotServer::kSecret, "example.org",
       Cause::notauth},
  };
  for (const auto& c : cases) {
    const CDDNSOutcome o = send(Records::forward, Action::add, c.keyName, c.secret, c.zone);
    EXPECT_EQ(o.cause(), c.cause) << c.name << ": " << o.text();
    EXPECT_FALSE(o.retry()) << c.name;
  }
  // A zone closed to updates is not changed, whatever the server calls it.
  const CDDNSOutcome locked = send(Records::forward, Action::add, CKnotServer::kKeyName,
                                   CKnotServer::kSecret, CKnotServer::kLockedZone);
  EXPECT_FALSE(locked.ok()) << locked.text();
  EXPECT_EQ(knot.query("host1.locked.example", "AAAA"), "");
}

TEST_F(KnotTransportTest, AStoppedServerGivesNoAnswerWorthAnotherTry) {
  knot.stop();
  const CDDNSOutcome o = send(Records::forward, Action::add);
  EXPECT_EQ(o.cause(), Cause::timeout) << o.text();
  EXPECT_TRUE(o.retry());
}
