#include "plugins/evaluator/CEvaluatorPlugin.h"

#include "extended/CMasterController.h"
#include "extended/CPluginEntry.h"

int CEvaluatorPlugin::openPlugin() {
  controller()->log().log(
      nuv::sev_info,
      nuv::CMessage("Plugin '%1' provides %2.").pushs(pluginName()).pushs("CIDHCPEvalFactory"));
  return 0;
}

std::shared_ptr<nuv::CExpEval> CEvaluatorPlugin::createEval(CIDHCPContext&) {
  // The controller gives the encryption functions their shared key.
  return std::make_shared<nuv::CExpEval>(controller());
}

NUV_PLUGIN_ENTRY(CEvaluatorPlugin)
