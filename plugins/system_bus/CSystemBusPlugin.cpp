#include "plugins/system_bus/CSystemBusPlugin.h"

#include "extended/CDHCPConfigNames.h"
#include "extended/CMasterController.h"
#include "extended/CPluginEntry.h"

void CSystemBusPlugin::_configure() {
  const auto config = controller()->config();
  m_bus->configure(
      config->get(CDHCPConfigNames::eventLogFile()),
      config->get_uint32(nuv::CConfigNames::udpPublisherMaxHistory(), CSystemBus::kDefaultHistory));
}

int CSystemBusPlugin::openPlugin() {
  try {
    _configure();
  } catch (const nuv::CException& e) {
    controller()->log().log(nuv::sev_error, nuv::CMessage(e.printableError()));
    return -1;
  }
  m_bus->subscribe(this, {CAppEvent::kClassConfig});
  controller()->log().log(
      nuv::sev_info,
      nuv::CMessage("Plugin '%1' provides %2.").pushs(pluginName()).pushs("CISystemBusFactory"));
  return 0;
}

void CSystemBusPlugin::closePlugin() {
  m_bus->unsubscribe(this);
}

std::shared_ptr<CISystemBus> CSystemBusPlugin::createBus(const std::string&) {
  return m_bus;
}

void CSystemBusPlugin::event(const std::shared_ptr<const CAppEvent>&) {
  try {
    _configure();
  } catch (const nuv::CException& e) {
    // The old file stays in use; the operator sees why.
    controller()->exceptionFacade().record(e);
    controller()->exceptionFacade().log();
  }
}

NUV_PLUGIN_ENTRY(CSystemBusPlugin)
