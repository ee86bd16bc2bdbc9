#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "host/CPluginHost.h"
#include "tests/fixtures/CRecordingController.h"

TEST(CPluginHostTest, StatusQueriesNeedTheirPrefixAndLength) {
  CRecordingController host;
  host.registerQueryResponse("query_mode", [] { return std::string("servicing"); });
  host.registerQueryResponse("config_", [] { return std::string("bare"); });
  std::string out;
  const std::pair<std::string, bool> cases[] = {
      {"query_mode", true},
      {"query_mode\n", true},
      {"query_other", false},
      {"query", false},
      {"config_", true},
      {"config", false},
      {"\x01\x02\x03\x04\x05", false},
  };
  for (const auto& [datagram, answered] : cases) {
    out.clear();
    EXPECT_EQ(host.getQueryResponse(datagram.data(), datagram.size(), out), answered) << datagram;
  }
  ASSERT_TRUE(host.getQueryResponse("query_mode", 10, out));
  EXPECT_EQ(out, "servicing");
}
