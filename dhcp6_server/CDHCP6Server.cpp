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
  // Each worker holds a database connection; far more than the cores
  // only makes them wait on each other (and 100,000 exhaust the process).
  if (threads > kMaxThreads)
    NUV_THROW("CDHCP6Server::runPlugin",
              nuv::CMessage("Cannot start %1 worker threads.").push(threads),
              nuv::CMessage("The key '%1' takes at most %2.").pushs(key).push(kMaxThreads));
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
