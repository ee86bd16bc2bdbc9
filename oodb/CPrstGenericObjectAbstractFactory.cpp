#include "oodb/CPrstGenericObjectAbstractFactory.h"

#include "oodb/CPrstIPAddress.h"
#include "oodb/CPrstKeyValue.h"

void CPrstGenericObjectAbstractFactory::registerPrototypes(CPrstUserClassFactory& factory) const {
  factory.registerClass<CPrstKeyValue>(CPrstKeyValue::kTable);
  factory.registerClass<CPrstIPAddress>(CPrstIPAddress::kTable);
}
