#include "dhcp_database/CBindingIdentifier.h"

#include "dhcp_database/CBinding6Identifier.h"
#include "oodb/CPrstException.h"

void CBindingIdentifier::_mismatch(const char* context, const char* what,
                                   const CBindingIdentifier& rhs) const {
  CPrstException e(nuv::CMessage(what).pushs(string()).pushs(rhs.string()),
                   nuv::CMessage("Type mismatch."), context, __FILE__, __LINE__);
  e.module = NUV_MODULE_NAME;  // a persistence failure of the lease records
  throw e;
}

bool CBindingIdentifier::_finalLessThan(const CBindingIdentifier& rhs) const {
  _mismatch("CBindingIdentifier::_finalLessThan",
            "Cannot test if binding identifier %1 is less than %2.", rhs);
}

bool CBindingIdentifier::_finalLessThan(const CBinding6Identifier& rhs) const {
  return _finalLessThan(static_cast<const CBindingIdentifier&>(rhs));
}

bool CBindingIdentifier::_finalEqual(const CBindingIdentifier& rhs) const {
  _mismatch("CBindingIdentifier::_finalEqual",
            "Cannot test if binding identifier %1 is equal to %2.", rhs);
}

bool CBindingIdentifier::_finalEqual(const CBinding6Identifier& rhs) const {
  return _finalEqual(static_cast<const CBindingIdentifier&>(rhs));
}

void CBindingIdentifier::_finalAssign(const CBindingIdentifier& rhs) {
  // The source key is named first: "assign <rhs> to instance <this>".
  CPrstException e(nuv::CMessage("Cannot assign binding identifier %1 to instance %2.")
                       .pushs(rhs.string())
                       .pushs(string()),
                   nuv::CMessage("Type mismatch."), "CBindingIdentifier::_finalAssign", __FILE__,
                   __LINE__);
  e.module = NUV_MODULE_NAME;
  throw e;
}

void CBindingIdentifier::_finalAssign(const CBinding6Identifier& rhs) {
  _finalAssign(static_cast<const CBindingIdentifier&>(rhs));
}
