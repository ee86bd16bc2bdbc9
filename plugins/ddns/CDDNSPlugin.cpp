#include "plugins/ddns/CDDNSPlugin.h"

#include "extended/CDHCPMeasurementSpec.h"
#include "extended/CDHCPMetricEnums.h"
#include "extended/CMasterController.h"
#include "extended/CPluginEntry.h"
#include "plugins/ddns/CDDNSService.h"
#include "plugins/ddns/CDDNSSettings.h"

CDDNSPlugin::~CDDNSPlugin() {
  closePlugin();
}

int CDDNSPlugin::openPlugin() {
  CMasterController& host = *controller();
  m_queue = std::make_unique<CDDNSQueue>(CDDNSSettings::read(host).queueSize);
  host.registerQueryResponse(kQuery, [this] { return m_counters.summary(); });
  host.log().log(
      nuv::sev_info,
      nuv::CMessage("Plugin '%1' provides %2.").pushs(pluginName()).pushs("CIDHCPDDNSFactory"));
  return 0;
}

int CDDNSPlugin::runPlugin() {
  CMasterController& host = *controller();
  std::shared_ptr<CIDHCPStats> stats;
  for (CPlugin* plugin : host.findPluginTypes("CIDHCPStatsFactory"))
    if (auto* factory = dynamic_cast<CIDHCPStatsFactory*>(plugin)) {
      CDHCPMeasurementSpec spec("ddns", 0, 6);
      spec.setMeasured(CDHCPMetricEnums::updatesForward, CDHCPMetricEnums::deletesReverse);
      stats = factory->createStats(spec);
      break;
    }
  m_sender = std::make_unique<CDDNSSender>(*m_queue, m_counters, host.log(),
                                           [&host] { return CDDNSSettings::read(host); });
  m_sender->start(std::move(stats));
  return 0;
}

void CDDNSPlugin::shutdownPlugin() {
  m_sender.reset();
}

void CDDNSPlugin::closePlugin() {
  m_sender.reset();
  if (controller()) controller()->deregisterQueryResponse(kQuery);
}

std::shared_ptr<CIDHCPDDNS> CDDNSPlugin::createDDNS(CIDHCPContext&) {
  return createService();
}

std::shared_ptr<CIDHCPDDNS> CDDNSPlugin::createService() {
  return std::make_shared<CDDNSService>(*m_queue, m_counters, controller()->log());
}

NUV_PLUGIN_ENTRY(CDDNSPlugin)
