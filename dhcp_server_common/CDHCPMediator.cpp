#include "dhcp_server_common/CDHCPMediator.h"

#include "extended/CIDHCPController.h"

CPlugin* CDHCPMediator::_findPlugin(const std::string& interfaceName) const {
  const std::vector<CPlugin*> plugins = m_controller->findPluginTypes(interfaceName);
  return plugins.empty() ? nullptr : plugins.front();
}
