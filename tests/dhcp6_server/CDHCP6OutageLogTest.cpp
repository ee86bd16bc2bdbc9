#include <gtest/gtest.h>

#include "dhcp6_server/CDHCP6OutageLog.h"
#include "oodb/CPrstException.h"
#include "tests/fixtures/CRecordingController.h"

namespace {

const CPrstUnavailableException kLost(nuv::CMessage("Cannot open database 'x'."),
                                      nuv::CMessage("Connection refused."), "test");
const char* const kBegins =
    "error: The database is unavailable (Cannot open database 'x'. Connection refused.): the "
    "server drops every message it cannot serve until the database is back.";

}  // namespace

// A ten-second interval starting at 1000: lines at the first drop, at the
// first drop of each later interval, and when a message is served again.
TEST(CDHCP6OutageLogTest, OneLinePerIntervalAndOneAtTheEnd) {
  CRecordingLog log;
  CDHCP6OutageLog outage(log);
  outage.served(999);  // no outage: nothing to say
  for (std::time_t t = 1000; t < 1025; ++t)
    for (int n = 0; n < 100; ++n) outage.dropped(kLost, t);
  outage.served(1031);
  outage.served(1032);
  ASSERT_EQ(log.lines.size(), 4u) << log.text();
  EXPECT_EQ(log.lines[0], kBegins);
  for (std::size_t i : {1, 2})  // at 1010 and 1020
    EXPECT_EQ(log.lines[i],
              "error: The database is still unavailable (Cannot open database 'x'. Connection "
              "refused.): the server dropped 1000 messages in the last 10 s.");
  EXPECT_EQ(log.lines[3],
            "info: The database is available again: the server dropped 2500 messages in 31 s "
            "while it was not.");

  // A second outage is told from its start again. Answers and drops mix
  // while the threads' connections come back one by one: it ends once
  // nothing was dropped for two seconds.
  outage.dropped(kLost, 2000);
  outage.served(2001);
  outage.dropped(kLost, 2001);
  outage.served(2002);
  outage.served(2003);
  ASSERT_EQ(log.lines.size(), 6u) << log.text();
  EXPECT_EQ(log.lines[4], kBegins);
  EXPECT_EQ(log.lines[5],
            "info: The database is available again: the server dropped 2 messages in 3 s while "
            "it was not.");
}
