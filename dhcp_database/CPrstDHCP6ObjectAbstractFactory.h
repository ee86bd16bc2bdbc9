#pragma once
// The persistent classes of the DHCPv6 server for a session: pools,
// bindings, pendings (each leaf also under its family-neutral base name,
// so that "CPrstAddressBinding" yields CPrstAddressBinding6), pool ranges
// and marks, policies and the stored option and vendor definitions.
//
//   CPrstDHCP6ObjectAbstractFactory factory(&context);
//   auto session = CIDatabaseInit::find(controller).openSession({&factory});
//
// Opening a session installs the factory's context (none without one) for
// the calling thread (CDHCPRecordContext): the thread's records read their
// option sets and expressions with it.

#include "oodb/CPrstUserClassFactory.h"

class CDHCPContext;

class CPrstDHCP6ObjectAbstractFactory : public CIPrstAbstractFactory {
 public:
  explicit CPrstDHCP6ObjectAbstractFactory(CDHCPContext* context = nullptr) : m_context(context) {}

  void registerPrototypes(CPrstUserClassFactory& factory) const override;
  CDHCPContext* context() const { return m_context; }

 private:
  CDHCPContext* m_context;
};
