#pragma once
// Shared by the option tests: a DHCPv6 context, definitions from record
// text or from the shipped catalogue, hex helpers and wire round trips.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COptionFactory.h"
#include "dhcp_base/COptionInputContext.h"
#include "dhcp_base/COptionLookup.h"
#include "dhcp_base/COptionLookupFileReader.h"
#include "dhcp_base/COptionOutputContext.h"
#include "dhcp_base/COptionStore.h"
#include "dhcp_base/CVendorLookupFileReader.h"
#include "standard/CException.h"

namespace optiontest {

inline std::vector<std::uint8_t> bytes(const std::string& hex) {
  std::vector<std::uint8_t> out;
  std::string digits;
  for (char c : hex)
    if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
    out.push_back(static_cast<std::uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
  return out;
}

inline std::string hex(const std::uint8_t* p, std::size_t n) {
  static const char* d = "0123456789abcdef";
  std::string out;
  for (std::size_t i = 0; i < n; ++i) {
    out += d[p[i] >> 4];
    out += d[p[i] & 15];
  }
  return out;
}

// The scapy-made bytes of a file in tests/data by case name.
inline std::map<std::string, std::string> scapyBytes(const char* file = "option_bytes.txt") {
  std::map<std::string, std::string> out;
  std::ifstream in(std::string(NUV_SOURCE_DIR) + "/tests/data/" + file);
  std::string name, value;
  while (in >> name) {
    if (name[0] == '#') {
      std::getline(in, value);
      continue;
    }
    in >> value;
    out[name] = value;
  }
  return out;
}

// The what- and why-text of what fn throws, or "no exception".
template <class F>
std::string failure(F&& fn) {
  try {
    fn();
  } catch (const nuv::CException& e) {
    return e.whatText() + " | " + e.whyText();
  }
  return "no exception";
}

class OptionFixture : public ::testing::Test {
 protected:
  CDHCPContext ctx{6};

  void define(const std::string& record) {
    auto a = std::make_shared<COptionAttributes>();
    a->set(record);
    ctx.optionLookup().insert(a);
  }
  void loadCatalogue() {
    COptionLookupFileReader(ctx.optionLookup())
        .execute(std::string(NUV_SOURCE_DIR) + "/data", "options6.spec");
    CVendorLookupFileReader(ctx.vendorLookup())
        .execute(std::string(NUV_SOURCE_DIR) + "/data", "vclasses6.spec");
  }
  COption::Ptr make(std::uint32_t code, COption* parent = nullptr,
                    const CVendorID& vendor = CVendorID::reserved()) {
    return ctx.factory().create(code, vendor, parent, false);
  }
  // The option with its header, as hex.
  std::string wire(const COption& o, std::size_t room = 4096) {
    std::vector<std::uint8_t> buf(room);
    COptionOutputContext oc;
    std::uint8_t* end = o.fullOutput(buf.data(), buf.size(), oc);
    return hex(buf.data(), static_cast<std::size_t>(end - buf.data()));
  }
  // Reads a sequence of options (hex) into a new store.
  COptionStorePtr parse(const std::string& hexOptions) {
    m_buf = bytes(hexOptions);
    COptionStorePtr store = ctx.factory().createOS("test", "test-option ");
    COptionInputContext ic(m_buf.data(), store.get());
    store->valueInput(m_buf.data(), m_buf.size(), ic);
    return store;
  }
  std::string wireOf(const COptionStore& store) {
    std::vector<std::uint8_t> buf(70000 * 2);
    COptionOutputContext oc;
    std::uint8_t* end = store.valueOutput(buf.data(), buf.size(), oc);
    return hex(buf.data(), static_cast<std::size_t>(end - buf.data()));
  }

 private:
  std::vector<std::uint8_t> m_buf;
};

}  // namespace optiontest
