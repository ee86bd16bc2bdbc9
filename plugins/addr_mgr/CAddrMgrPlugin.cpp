#include "plugins/addr_mgr/CAddrMgrPlugin.h"

#include "extended/CMasterController.h"
#include "extended/CPluginEntry.h"

int CAddrMgrPlugin::openPlugin() {
  controller()->log().log(
      nuv::sev_info,
      nuv::CMessage("Plugin '%1' provides %2.").pushs(pluginName()).pushs("CIDHCPAddrMgrFactory"));
  return 0;
}

NUV_PLUGIN_ENTRY(CAddrMgrPlugin)
