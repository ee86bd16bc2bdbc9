#include "oodb/CExtDomainID.h"

std::string CExtDomainID::reservedName(std::int32_t id) {
  return id == allDevices ? "All devices" : CDomainID::reservedName(id);
}
