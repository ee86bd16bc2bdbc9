#include "dhcp_server_common/CDHCPEvalStub.h"

#include "extended/CMasterController.h"

CDHCPEvalStub::CDHCPEvalStub(CMasterController* controller)
    : nuv::CExpEval(controller), m_controller(controller) {}

void CDHCPEvalStub::execute(nuv::CVariant& result, const nuv::CSyntaxTreeProxy&) const {
  _report();
  result = nuv::CVariant();
}

void CDHCPEvalStub::execute(nuv::CMultiVariant& results, const nuv::CSyntaxTreeProxy&) const {
  _report();
  results.clear();
}

void CDHCPEvalStub::_report() const {
  if (!m_controller) return;
  m_controller->exceptionFacade().record(
      nuv::CException(nuv::CMessage("Cannot execute expression."),
                      nuv::CMessage("No expression evaulator module is loaded."), NUV_MODULE_NAME,
                      "CDHCPEvalStub::execute", __FILE__, __LINE__));
  m_controller->exceptionFacade().log();
}
