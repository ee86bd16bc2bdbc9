#include "dhcp6_server/CCmdGetMode6.h"

#include "dhcp6_server/CDHCP6TLS.h"

CSystemMode CCmdGetMode6::_compute(long threadIndex) {
  return m_pool.find(threadIndex).mode();
}
