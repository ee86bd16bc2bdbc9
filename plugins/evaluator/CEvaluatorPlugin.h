#pragma once
// The expression evaluator plug-in: gives each server context the
// library's evaluator, so that pool and policy settings in "[...]"
// (allow, deny and expression options) are computed. Without it every
// such setting evaluates to nothing and a pool with an allow or deny rule
// admits nobody. It knows every built-in function; names that read the
// packet in progress are not provided.

#include "dhcp_server_common/CIDHCPEvalFactory.h"
#include "extended/CPlugin.h"

class CEvaluatorPlugin : public CPlugin, public CIDHCPEvalFactory {
 public:
  int openPlugin() override;
  std::string pluginName() const override { return "Expression Evaluator"; }
  std::string pluginInterface() const override {
    return "CIDHCPEvalFactory,CEvaluatorPlugin,CPlugin";
  }

  std::shared_ptr<nuv::CExpEval> createEval(CIDHCPContext& context) override;
};
