#include "dhcp_server_common/CDHCPEvalStub.h"

#include "extended/CMasterController.h"

void CDHCPEvalStub::execute(nuv::CVariant& result, const nuv::CSyntaxTreeProxy&) const {
  _report();
  result = nuv::CVariant();
}

void CDHCPEvalStub::execute(nuv::CMultiVariant& results, const nuv::CSyntaxTreeProxy&) const {
  _report();
  results.clear();
}

void CDHCPEvalStub::_report() const {
  if (!controller()) return;
  controller()->exceptionFacade().record(
      nuv::CException(nuv::CMessage("Cannot execute expression."),
                      nuv::CMessage("No expression evaulator module is loaded."), NUV_MODULE_NAME,
                      "CDHCPEvalStub::execute", __FILE__, __LINE__));
  controller()->exceptionFacade().log();
}
