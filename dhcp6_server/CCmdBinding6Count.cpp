#include "dhcp6_server/CCmdBinding6Count.h"

#include "dhcp6_server/CDHCP6TLS.h"

unsigned CCmdBinding6Count::_compute(long threadIndex) {
  CDHCP6TLS& tls = m_pool.find(threadIndex);
  tls.startTransaction();
  try {
    const unsigned count = tls.session().countAddressBindings();
    tls.commitTransaction();
    return count;
  } catch (const nuv::CException&) {
    tls.rollbackTransaction();
    throw;
  }
}
