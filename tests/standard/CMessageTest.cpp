#include <gtest/gtest.h>

#include "standard/CException.h"
#include "standard/CMessage.h"
#include "tests/fixtures/FailureOf.h"

using nuv::CException;
using nuv::CMessage;
using nuv::CSmallMessage;

TEST(CMessageTest, FormatsPlaceholdersInOrder) {
  struct Case {
    const char* tmpl;
    std::vector<std::string> args;
    const char* expected;
  };
  const Case cases[] = {
      {"%1 Discarding 'REBIND' (no record for lease).",
       {"abc"},
       "abc Discarding 'REBIND' (no record for lease)."},
      {"%1 and %2", {"x"}, "x and %2"},      // missing argument stays literal
      {"%1 then %1", {"%1"}, "%1 then %1"},  // inserted text is not expanded again
      {"%1%1", {"a"}, "a%1"},                // search resumes one past the insert
      {"%1-%1 %1", {"ab"}, "ab-ab ab"},
      {"no placeholders", {"a", "b"}, "no placeholders"},
      {"", {}, ""},
  };
  for (const Case& c : cases) {
    CMessage m(c.tmpl);
    for (const auto& a : c.args) m.pushs(a);
    EXPECT_EQ(m.formatted(), c.expected) << c.tmpl;
  }
}

TEST(CMessageTest, NumbersPushAsDecimal) {
  CMessage m("%1 %2 %3");
  m.push(42u).push(-7).push(static_cast<unsigned long long>(18446744073709551615ull));
  EXPECT_EQ(m.formatted(), "42 -7 18446744073709551615");
}

TEST(CMessageTest, LongArgumentsSpillToHeap) {
  CMessage m("%1|%2");
  const std::string big(2000, 'x');
  m.pushs(big).pushs("tail");
  EXPECT_EQ(m.formatted(), big + "|tail");
}

TEST(CMessageTest, ArgumentBufferFailures) {
  CMessage m("x");
  Failure f = failureOf([&] { m.pushs(static_cast<const char*>(nullptr)); });
  EXPECT_EQ(f.what + " " + f.why, "Cannot push string argument. Invalid pointer.");
  f = failureOf([&] { (void)m.args()[3]; });
  EXPECT_EQ(f.what + " " + f.why, "Cannot access argument 3. Out of bounds.");

  CMessage full("x");
  for (int i = 0; i < 100; ++i) full.pushs("a");
  f = failureOf([&] { full.pushs("one too many"); });
  EXPECT_EQ(f.what + " " + f.why, "Cannot process argument. Too many arguments.");
  CSmallMessage small("x");
  for (int i = 0; i < 10; ++i) small.pushs("a");
  EXPECT_EQ(failureOf([&] { small.pushs("b"); }).why, "Too many arguments.");

  nuv::CArgBuffer<4, 8> noHeap(false);
  noHeap.push("1234");
  f = failureOf([&] { noHeap.push("12345"); });
  EXPECT_EQ(f.why, "Not enough buffer space.");
  EXPECT_EQ(f.module, "standard");
  EXPECT_EQ(f.context, "CArgBuffer::_push");
}
