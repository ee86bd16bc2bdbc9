#pragma once
// Shared by the fuzz targets: a DHCPv6 context with the option and vendor
// definitions the server ships, built once per process.

#include <string>

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/CDefinitionFiles.h"

inline CDHCPContext& fuzzCatalogue() {
  static CDHCPContext* context = [] {
    auto* c = new CDHCPContext(6);
    const std::string data = std::string(NUV_SOURCE_DIR) + "/data/";
    CDefinitionFiles::readOptions(c->optionLookup(), data + "options6.spec");
    CDefinitionFiles::readVendors(c->vendorLookup(), data + "vclasses6.spec");
    return c;
  }();
  return *context;
}
