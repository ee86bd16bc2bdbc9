#include "dhcp_database/CPrstDHCP6ObjectAbstractFactory.h"

#include "dhcp_database/CDHCPRecordContext.h"
#include "dhcp_database/CPolicyRecord.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPending6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "dhcp_database/CPrstNetworkPending6.h"
#include "dhcp_database/CPrstNetworkPool6.h"
#include "dhcp_database/CPrstOptionAttributes.h"
#include "dhcp_database/CPrstPoolMark.h"
#include "dhcp_database/CPrstVendorAttributes.h"

void CPrstDHCP6ObjectAbstractFactory::registerPrototypes(CPrstUserClassFactory& f) const {
  CDHCPRecordContext::current(m_context);
  f.registerClass<CPrstAddressPool6>(CPrstAddressPool6::kTable, {"CPrstAddressPool"});
  f.registerClass<CPrstNetworkPool6>(CPrstNetworkPool6::kTable, {"CPrstNetworkPool"});
  f.registerClass<CPrstAddressBinding6>(CPrstAddressBinding6::kTable, {"CPrstAddressBinding"});
  f.registerClass<CPrstNetworkBinding6>(CPrstNetworkBinding6::kTable, {"CPrstNetworkBinding"});
  f.registerClass<CPrstAddressPending6>(CPrstAddressPending6::kTable, {"CPrstAddressPending"});
  f.registerClass<CPrstNetworkPending6>(CPrstNetworkPending6::kTable, {"CPrstNetworkPending"});
  f.registerClass<CPrstDHCPIPAddressRange>(CPrstDHCPIPAddressRange::kTable);
  f.registerClass<CPrstDHCPIPExcAddrRange>(CPrstDHCPIPExcAddrRange::kTable);
  f.registerClass<CPrstAPoolMark>(CPrstPoolMark::kTable);
  f.registerClass<CPrstNPoolMark>(CPrstPoolMark::kTable);
  f.registerClass<CPolicyRecord>(CPolicyRecord::kTable);
  f.registerClass<CPrstOptionAttributes>(CPrstOptionAttributes::kTable);
  f.registerClass<CPrstVendorAttributes>(CPrstVendorAttributes::kTable);
}
