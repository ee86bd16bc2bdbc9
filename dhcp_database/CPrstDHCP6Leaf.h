#pragma once
// The DHCPv6 part of a binding or pending leaf: the key columns CLIENT_ID,
// IATYPE and IAID, and the family. Middle is CPrstAddressBinding,
// CPrstNetworkBinding, CPrstAddressPending or CPrstNetworkPending.

#include "dhcp_database/CPrstBinding6Key.h"

template <class Middle>
class CPrstDHCP6Leaf : public Middle {
 public:
  int family() const override { return 6; }

 protected:
  CPrstBinding6Key* _key6() override { return &m_key; }
  const CPrstBinding6Key* _key6() const override { return &m_key; }

 private:
  CPrstBinding6Key m_key{this};
};
