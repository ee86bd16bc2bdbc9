#include "dhcp_base/CDHCPContext.h"

#include "dhcp_base/COptionFactory.h"
#include "dhcp_base/COptionLookup.h"
#include "dhcp_base/CTagPath.h"
#include "dhcp_base/CVendorLookup.h"
#include "standard/CException.h"

CDHCPContext::CDHCPContext(CProtocolFamily family, CMasterController* controller)
    : m_family(family),
      m_protocol(family.value() == 4 ? CProtocolAttributes{1, 1, 1, 255}
                                     : CProtocolAttributes{2, 2, 1, 65535}),
      m_controller(controller),
      m_options(std::make_unique<COptionLookup>(controller)),
      m_vendors(std::make_unique<CVendorLookup>()),
      m_factory(std::make_unique<COptionFactory>(*this)) {}

CDHCPContext::~CDHCPContext() = default;

std::string CDHCPContext::configPrefix() const {
  const std::string digit = std::to_string(m_family.value());
  return "ip" + digit + ".dhcp" + digit;
}

namespace {
[[noreturn]] void unknownFamily(const char* context, const char* what, std::uint32_t code) {
  NUV_THROW(context, nuv::CMessage(what).push(code), nuv::CMessage("Unknown protocol family."));
}
}  // namespace

bool CDHCPContext::isServerControlOption(std::uint32_t code) const {
  switch (m_family.value()) {
    case 4:
      return code >= 1000 && code <= 2999;
    case 6:
      return code >= 100000 && code <= 102999;
  }
  unknownFamily("CDHCPContext::isServerControlOption",
                "Cannot determine if option %1 is a server control option.", code);
}

bool CDHCPContext::isSiteSpecificOption(std::uint32_t code) const {
  switch (m_family.value()) {
    case 4:
      return code >= 128 && code <= 254;
    case 6:
      return code >= 65280 && code <= 65534;
  }
  unknownFamily("CDHCPContext::isSiteSpecificOption",
                "Cannot determine if option %1 is a site specific option.", code);
}

bool CDHCPContext::isVendorSpecificOption(const CTagPath& path) const {
  switch (m_family.value()) {
    case 4:
      return (path.size() >= 2 && path[0] == 43) ||
             (path.size() >= 3 && path[0] == 125 && path[1] == 2);
    case 6:
      return path.size() >= 3 && path[0] == 17 && path[1] == 2;
  }
  NUV_THROW("CDHCPContext::isVendorSpecificOption",
            nuv::CMessage("Cannot determine if option %1 is a vendor specific option.")
                .pushs(path.string()),
            nuv::CMessage("Unknown protocol family."));
}
