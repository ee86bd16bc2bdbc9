#include "dhcp6_server/CDHCP6Server.h"

#include "dhcp6_server/CDHCP6Context.h"
#include "extended/CDHCPConfigNames.h"
#include "extended/CIDHCPController.h"
#include "standard/CException.h"
#include "standard/CIPAddress.h"

int CDHCP6Server::openPlugin() {
  try {
    nuv::CIPAddress probe("::1");
    (void)probe;
  } catch (const nuv::CException&) {
    controller()->log().log(nuv::sev_info,
                            nuv::CMessage("This machine does not have ipv6 enabled. The DHCPv6 "
                                          "server plugin will not be available."));
    return 1;
  }
  return 0;
}

int CDHCP6Server::runPlugin() {
  auto* dhcp = static_cast<CIDHCPController*>(controller());
  const std::string key = dhcp->configNames()->engineThreadCount(CProtocolFamily(6));
  const std::uint32_t threads = dhcp->config()->get_uint32(key, 1);
  m_engine = std::make_unique<CDHCP6Engine>(dhcp, threads);
  const int rc = m_engine->run();
  if (rc != 0) m_engine.reset();
  return rc;
}

void CDHCP6Server::shutdownPlugin() {
  if (!m_engine) return;
  m_engine->shutdown();
  m_engine.reset();
}

CIDHCPContext* CDHCP6Server::context() const {
  return m_engine->context();
}
