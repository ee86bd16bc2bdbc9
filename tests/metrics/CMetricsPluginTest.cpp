#include <gtest/gtest.h>

#include "plugins/metrics/CMetricsPlugin.h"
#include "tests/fixtures/FailureOf.h"

TEST(CMetricsPluginTest, ListenValueNamesTheEndpointAndALonePortMeansLoopback) {
  struct Case {
    const char* value;
    const char* endpoint;  // null: no endpoint
  } cases[] = {
      {"", nullptr},
      {"  ", nullptr},
      {"9547", "[::1]:9547"},
      {"[::1]:9100", "[::1]:9100"},
      {"127.0.0.1:9100", "127.0.0.1:9100"},
      {"[::]:9100", "[::]:9100"},
  };
  for (const Case& c : cases) {
    const auto endpoint = CMetricsPlugin::listenEndpoint(c.value);
    if (!c.endpoint) {
      EXPECT_FALSE(endpoint) << c.value;
    } else {
      ASSERT_TRUE(endpoint) << c.value;
      EXPECT_EQ(endpoint->string(), c.endpoint);
    }
  }
  for (const char* bad : {"0", "70000", "localhost:9100", "[::1]", "on"})
    EXPECT_EQ(failureOf([&] { CMetricsPlugin::listenEndpoint(bad); }).what,
              std::string("Cannot use '") + bad + "' as the metrics endpoint.")
        << bad;
}
