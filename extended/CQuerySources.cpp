#include "extended/CQuerySources.h"

#include "extended/CInterfaceAddresses.h"
#include "standard/CException.h"

CQuerySources::CQuerySources(std::string_view text) {
  const auto refuse = [&text](const std::string& item) {
    NUV_THROW("CQuerySources::CQuerySources",
              nuv::CMessage("Cannot read the status query sources '%1'.").pushs(text),
              nuv::CMessage("'%1' is neither an address nor a prefix.").pushs(item));
  };
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t comma = std::min(text.find(',', at), text.size());
    std::string item(text.substr(at, comma - at));
    at = comma + 1;
    item.erase(0, item.find_first_not_of(" \t"));
    item.erase(item.find_last_not_of(" \t") + 1);
    if (item.empty()) continue;
    const std::size_t slash = item.find('/');
    nuv::CIPAddress address;
    try {
      address = nuv::CIPAddress(item.substr(0, slash));
    } catch (const nuv::CException&) {
      refuse(item);
    }
    if (!address.isValid()) refuse(item);
    unsigned length = static_cast<unsigned>(address.bitWidth());
    if (slash != std::string::npos) {
      const std::string digits = item.substr(slash + 1);
      if (digits.empty() || digits.size() > 3 ||
          digits.find_first_not_of("0123456789") != std::string::npos)
        refuse(item);
      length = static_cast<unsigned>(std::stoul(digits));
      if (length > address.bitWidth()) refuse(item);
    }
    m_prefixes.emplace_back(address.createPrefix(length), length);
  }
}

bool CQuerySources::local(const nuv::CIPAddress& source, CInterfaceAddresses& own) {
  // A dual-stack socket sees IPv4 loopback as ::ffff:127.x.y.z.
  static const nuv::CIPAddress mappedLoopback("::ffff:127.0.0.0");
  return source.isLoopBack() || own.isOwn(source) ||
         (source.isMappedIPv4() && source.createPrefix(104) == mappedLoopback);
}

bool CQuerySources::allows(const nuv::CIPAddress& source, CInterfaceAddresses& own) const {
  if (m_prefixes.empty()) return local(source, own);
  for (const auto& [network, length] : m_prefixes)
    if (source.type() == network.type() && source.createPrefix(length) == network) return true;
  return false;
}
