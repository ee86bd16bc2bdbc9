#include "oodb/CDomainID.h"

std::string CDomainID::reservedName(std::int32_t id) {
  switch (id) {
    case superUsers:
      return "Administrators";
    case allUsers:
      return "Observers";
    default:
      return {};
  }
}
