#include <gtest/gtest.h>

#include "plugins/ddns/CDDNSOutcome.h"

using Cause = CDDNSOutcome::Cause;

TEST(CDDNSOutcomeTest, NamesEachAnswerAndSaysWhetherToTryAgain) {
  const struct {
    unsigned rcode, tsigError;
    bool trusted;
    Cause cause;
    bool retry;
    const char* text;  // how the log line begins
    const char* counter;
  } cases[] = {
      {0, 0, true, Cause::none, false, "NOERROR", ""},
      {2, 0, true, Cause::servfail, true, "SERVFAIL: ", "failures.servfail"},
      {5, 0, true, Cause::refused, false, "REFUSED: ", "failures.refused"},
      {9, 0, true, Cause::notauth, false, "NOTAUTH: ", "failures.notauth"},
      // The TSIG error tells why the key was not accepted; such an answer
      // cannot be signed, so it counts even though it does not verify.
      {9, 17, false, Cause::badkey, false, "NOTAUTH (BADKEY): ", "failures.badkey"},
      {9, 16, false, Cause::badsig, false, "NOTAUTH (BADSIG): ", "failures.badsig"},
      {9, 18, false, Cause::badtime, false, "NOTAUTH (BADTIME): ", "failures.badtime"},
      {10, 0, true, Cause::notzone, false, "NOTZONE: ", "failures.notzone"},
      {1, 0, true, Cause::formerr, false, "FORMERR: ", "failures.formerr"},
      {8, 0, true, Cause::other, false, "NXRRSET: ", "failures.other"},
      {4, 0, true, Cause::other, false, "NOTIMPL: ", "failures.other"},
      // An answer that may be forged proves neither success nor a busy server.
      {0, 0, false, Cause::badAnswer, false, "the answer is not", "failures.bad_answer"},
      {2, 0, false, Cause::badAnswer, false, "the answer is not", "failures.bad_answer"},
  };
  for (const auto& c : cases) {
    const CDDNSOutcome o = CDDNSOutcome::fromAnswer(c.rcode, c.tsigError, c.trusted);
    SCOPED_TRACE(o.text());
    EXPECT_EQ(o.cause(), c.cause);
    EXPECT_EQ(o.ok(), c.cause == Cause::none);
    EXPECT_EQ(o.retry(), c.retry);
    EXPECT_EQ(o.text().rfind(c.text, 0), 0u);
    EXPECT_STREQ(CDDNSOutcome::counterName(o.cause()), c.counter);
  }
}

TEST(CDDNSOutcomeTest, NoAnswerIsWorthAnotherTryAnUnbuildableUpdateIsNot) {
  EXPECT_TRUE(CDDNSOutcome::timeout().retry());
  EXPECT_EQ(CDDNSOutcome::timeout().text(), "no answer from the DNS server (timed out)");
  const CDDNSOutcome network = CDDNSOutcome::network("Could not send or receive");
  EXPECT_TRUE(network.retry());
  EXPECT_EQ(network.text(), "cannot reach the DNS server (Could not send or receive)");
  const CDDNSOutcome invalid = CDDNSOutcome::invalid("Cannot build the DNS update.");
  EXPECT_FALSE(invalid.retry());
  EXPECT_FALSE(invalid.ok());
  EXPECT_EQ(invalid.text(), "the update cannot be made: Cannot build the DNS update.");
}
