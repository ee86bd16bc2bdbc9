#include "plugins/system_bus/CSystemBusPlugin.h"

#include "extended/CMasterController.h"
#include "extended/CPluginEntry.h"

int CSystemBusPlugin::openPlugin() {
  controller()->log().log(
      nuv::sev_info,
      nuv::CMessage("Plugin '%1' provides %2.").pushs(pluginName()).pushs("CISystemBusFactory"));
  return 0;
}

NUV_PLUGIN_ENTRY(CSystemBusPlugin)
