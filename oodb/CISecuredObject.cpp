#include "oodb/CISecuredObject.h"

CAccessRights CISecuredObject::_accessRights(const CAccessToken&) const {
  return CAccessRights::all;
}
