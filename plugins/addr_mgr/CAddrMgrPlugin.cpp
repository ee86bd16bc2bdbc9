#include "plugins/addr_mgr/CAddrMgrPlugin.h"

#include "extended/CMasterController.h"
#include "extended/CPluginEntry.h"
#include "plugins/addr_mgr/CAddrMgr.h"

int CAddrMgrPlugin::openPlugin() {
  controller()->log().log(
      nuv::sev_info,
      nuv::CMessage("Plugin '%1' provides %2.").pushs(pluginName()).pushs("CIDHCPAddrMgrFactory"));
  return 0;
}

std::shared_ptr<CIDHCPAddrMgr> CAddrMgrPlugin::createAddrMgr(CIDHCPContext& context) {
  return std::make_shared<CAddrMgr>(context, m_candidates);
}

NUV_PLUGIN_ENTRY(CAddrMgrPlugin)
