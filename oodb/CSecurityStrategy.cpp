#include "oodb/CSecurityStrategy.h"

#include "oodb/CPrstException.h"
#include "oodb/CPrstUserBase.h"

void CSecurityStrategy::checkRead(const CPrstUserBase& object, const CAccessToken& token) {
  if (!object._supportsSecuredAccess()) return;
  if (object._accessRights(token).has(CAccessRights::read)) return;
  PRST_THROW("CSecurityStrategy::checkRead",
             nuv::CMessage("Unable to read object %1 of type %2.")
                 .push(object.pk())
                 .pushs(object.typeName()),
             nuv::CMessage("Access denied."));
}
