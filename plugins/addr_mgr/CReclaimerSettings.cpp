#include "plugins/addr_mgr/CReclaimerSettings.h"

#include "extended/CDHCPConfigNames.h"
#include "extended/CMasterController.h"

namespace {

using Key = CDHCPConfigNames::DHCPKey;

void readKey(CMasterController& controller, Key key, std::uint32_t& field) {
  try {
    field = controller.config()->get_uint32(CDHCPConfigNames::keyName(key, 6), field);
  } catch (const nuv::CException& e) {
    controller.exceptionFacade().record(e);
    controller.exceptionFacade().log();
  }
}

}  // namespace

CReclaimerSettings CReclaimerSettings::read(CMasterController& controller) {
  CReclaimerSettings s;
  readKey(controller, Key::reclaimerInterval, s.interval);
  readKey(controller, Key::reclaimerSelectCount, s.selectCount);
  readKey(controller, Key::reclaimerLeadTime, s.leadTime);
  if (s.selectCount == 0) s.selectCount = kSelectCount;
  return s;
}
