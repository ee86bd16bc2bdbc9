#pragma once
// A DHCPv6 context with the shipped option catalogue, a recording log,
// policy option sets built from (code, text) pairs and Client FQDN options
// in wire form: what the DNS update decisions are tested with.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "dhcp_base/COptionFactory.h"
#include "dhcp_base/COptionInputContext.h"
#include "dhcp_base/COptionLookupFileReader.h"
#include "dhcp_base/COptionStore.h"
#include "dhcp_base/CVendorLookupFileReader.h"
#include "dhcp_server_common/CIDHCPContext.h"
#include "tests/fixtures/CRecordingController.h"

class CDDNSTestContext : public CIDHCPContext {
 public:
  explicit CDDNSTestContext(CIDHCPController* controller, unsigned family = 6)
      : CIDHCPContext(family, controller), m_controller(controller) {
    COptionLookupFileReader(optionLookup())
        .execute(std::string(NUV_SOURCE_DIR) + "/data", "options6.spec");
    CVendorLookupFileReader(vendorLookup())
        .execute(std::string(NUV_SOURCE_DIR) + "/data", "vclasses6.spec");
  }
  const std::string& name() const override { return m_name; }
  CIDHCPController* controller() const override { return m_controller; }
  bool master() const override { return true; }
  CIDHCPMediator& mediator() override { throw std::logic_error("no mediator in this test"); }
  CIPrstSession& prstSession() override { throw std::logic_error("no session in this test"); }
  void init() override {}
  void close() override {}

 private:
  CIDHCPController* m_controller;
  std::string m_name = "dhcpv6";
};

struct DDNSFixture : ::testing::Test {
  using Settings = std::vector<std::pair<std::uint32_t, std::string>>;

  // The policy option set holding the settings.
  COptionStorePtr policies(const Settings& settings) {
    COptionStorePtr store = context.factory().createOS("test-policy-options");
    for (const auto& [code, text] : settings)
      store->append(
          context.factory().create(code, CVendorID::reserved(), nuv::CVariant(text), store.get()));
    return store;
  }
  // A Client FQDN option: flags, then the name in wire form; a name
  // without a trailing dot is sent partial (no root label), as clients
  // send a bare host label. A '/' in name stands for a dot inside a label.
  COptionPtr fqdn(std::uint8_t flags, const std::string& name) {
    std::string data(1, static_cast<char>(flags));
    std::string label;
    for (char c : name + (name.empty() || name.back() == '.' ? "" : ".")) {
      if (c != '.') {
        label += c == '/' ? '.' : c;
        continue;
      }
      if (!label.empty()) data += static_cast<char>(label.size()) + label;
      label.clear();
    }
    if (!name.empty() && name.back() == '.') data += '\0';
    m_wire = {0, 39, 0, static_cast<std::uint8_t>(data.size())};
    m_wire.insert(m_wire.end(), data.begin(), data.end());
    COptionStorePtr store = context.factory().createOS("test-request");
    COptionInputContext ic(m_wire.data(), store.get());
    store->valueInput(m_wire.data(), m_wire.size(), ic);
    COptionPtr option;
    EXPECT_TRUE(store->find(CTagPath{39}, option)) << name;
    m_stores.push_back(store);
    return option;
  }
  bool logged(const std::string& text) const { return host.logSink.contains(text); }

  CRecordingController host;
  CDDNSTestContext context{&host};

 private:
  std::vector<std::uint8_t> m_wire;
  std::vector<COptionStorePtr> m_stores;  // keep the parsed options' parents alive
};
