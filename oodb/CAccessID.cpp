#include "oodb/CAccessID.h"

std::string CAccessID::name() const {
  switch (m_id) {
    case superUser:
      return kSuperUserName;
    case unknown:
      return kUnknownName;
    default:
      return {};
  }
}
