#include "plugins/addr_mgr/CAddrMgrPlugin.h"

#include "dhcp_base/CDefinitionFiles.h"
#include "extended/CDHCPMeasurementSpec.h"
#include "extended/CDHCPMetricEnums.h"
#include "extended/CMasterController.h"
#include "extended/CPluginEntry.h"
#include "oodb_persistence/CIDatabaseInit.h"
#include "plugins/addr_mgr/CAddrMgr.h"

namespace {

// The first opened plug-in providing the interface, as its factory; null without one.
template <class Factory>
Factory* findFactory(const CMasterController& controller, const char* interfaceName) {
  for (CPlugin* plugin : controller.findPluginTypes(interfaceName))
    if (auto* factory = dynamic_cast<Factory*>(plugin)) return factory;
  return nullptr;
}

}  // namespace

int CAddrMgrPlugin::openPlugin() {
  controller()->log().log(
      nuv::sev_info,
      nuv::CMessage("Plugin '%1' provides %2.").pushs(pluginName()).pushs("CIDHCPAddrMgrFactory"));
  return 0;
}

int CAddrMgrPlugin::runPlugin() {
  CMasterController& host = *controller();
  std::shared_ptr<CISystemBus> bus;
  if (auto* factory = findFactory<CISystemBusFactory>(host, "CISystemBusFactory"))
    bus = factory->createBus("reclaimer");
  std::shared_ptr<CIDHCPStats> stats;
  if (auto* factory = findFactory<CIDHCPStatsFactory>(host, "CIDHCPStatsFactory")) {
    CDHCPMeasurementSpec spec("reclaimer", 0, 6);
    spec.setMeasured(CDHCPMetricEnums::bindingReclaimed);
    stats = factory->createStats(spec);
  }
  std::shared_ptr<CIDHCPDDNS> ddns;
  if (auto* factory = findFactory<CIDHCPDDNSFactory>(host, "CIDHCPDDNSFactory"))
    ddns = factory->createBackgroundDDNS();
  // Found here: the host changes its plug-in list on this thread, so the
  // reclaimer's thread must not look it up. The provider outlives the
  // reclaimer (closed after every plug-in has shut down).
  CIDatabaseInit& database = CIDatabaseInit::find(host);
  m_reclaimer.reset();
  m_context = std::make_unique<CDHCPContext>(6, &host);
  m_factory = std::make_unique<CPrstDHCP6ObjectAbstractFactory>(m_context.get());
  m_definitionsRead = false;
  m_reclaimer = std::make_unique<CReclaimer>(
      host,
      [this, &host, &database]() -> std::unique_ptr<CIPrstSession> {
        if (!m_definitionsRead) {
          CDefinitionFiles::readConfigured(*m_context, *host.config(), host.varDir());
          m_definitionsRead = true;
        }
        return database.openSession({m_factory.get()});
      },
      std::move(bus), std::move(stats), std::move(ddns));
  m_reclaimer->start();
  return 0;
}

void CAddrMgrPlugin::shutdownPlugin() {
  m_reclaimer.reset();
}

void CAddrMgrPlugin::closePlugin() {
  m_reclaimer.reset();
}

std::shared_ptr<CIDHCPAddrMgr> CAddrMgrPlugin::createAddrMgr(CIDHCPContext& context) {
  return std::make_shared<CAddrMgr>(context, m_candidates);
}

NUV_PLUGIN_ENTRY(CAddrMgrPlugin)
