#include "plugins/sqlite_db/CSQLiteDatabasePlugin.h"

#include "extended/CMasterController.h"
#include "extended/CPluginEntry.h"

int CSQLiteDatabasePlugin::openPlugin() {
  controller()->log().log(
      nuv::sev_info,
      nuv::CMessage("Plugin '%1' provides %2.").pushs(pluginName()).pushs("CIDatabaseInit"));
  return 0;
}

NUV_PLUGIN_ENTRY(CSQLiteDatabasePlugin)
