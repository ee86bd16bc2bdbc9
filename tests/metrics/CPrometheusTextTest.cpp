#include <gtest/gtest.h>

#include "plugins/metrics/CPrometheusText.h"

TEST(CPrometheusTextTest, NamesAreMadeValidMetricNames) {
  struct Case {
    const char* raw;
    const char* name;
  } cases[] = {
      {"packets.v6_solicit", "dhcp6d_packets_v6_solicit_total"},
      {"message.bind_update.request.add", "dhcp6d_message_bind_update_request_add_total"},
      {"fail", "dhcp6d_fail_total"},
      {"odd-name with space", "dhcp6d_odd_name_with_space_total"},
  };
  for (const Case& c : cases) EXPECT_EQ(CPrometheusText::counterName(c.raw), c.name) << c.raw;
  EXPECT_EQ(CPrometheusText::metricName("9lives"), "_9lives");
  EXPECT_EQ(CPrometheusText::metricName(""), "_");
  EXPECT_EQ(CPrometheusText::metricName("a:b_c"), "a:b_c");
}

TEST(CPrometheusTextTest, FamiliesCarryHelpTypeAndEscapedLabels) {
  CPrometheusText out;
  out.family("dhcp6d_pool_free", "gauge", "Free\naddresses \\ prefixes.");
  out.sample(18446744073709551616.0, {{"pool", "lan \"a\"\\b\nc"}, {"kind", "address"}});
  out.sample(0.5);
  out.family("dhcp6d_packets_input_total", "counter", "Input.");
  out.sample(12);
  EXPECT_EQ(out.text(),
            "# HELP dhcp6d_pool_free Free\\naddresses \\\\ prefixes.\n"
            "# TYPE dhcp6d_pool_free gauge\n"
            "dhcp6d_pool_free{pool=\"lan \\\"a\\\"\\\\b\\nc\",kind=\"address\"} "
            "18446744073709551616\n"
            "dhcp6d_pool_free 0.5\n"
            "# HELP dhcp6d_packets_input_total Input.\n"
            "# TYPE dhcp6d_packets_input_total counter\n"
            "dhcp6d_packets_input_total 12\n");
}
