#pragma once
// The generic persistent classes every database has: key/value records and
// stored addresses.

#include "oodb/CPrstUserClassFactory.h"

class CPrstGenericObjectAbstractFactory : public CIPrstAbstractFactory {
 public:
  void registerPrototypes(CPrstUserClassFactory& factory) const override;
};
