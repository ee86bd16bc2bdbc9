#pragma once
// Answers the host's binding-count question on a worker thread: counts the
// address bindings in a transaction of that thread's session.

#include "dhcp_server_common/CTLSPool.h"
#include "extended/CResultCommand.h"

class CDHCP6TLS;

class CCmdBinding6Count : public CResultCommand<unsigned> {
 public:
  CCmdBinding6Count(CTLSPool<CDHCP6TLS>& pool, CExtAsyncResult<unsigned> result)
      : CResultCommand<unsigned>(std::move(result)), m_pool(pool) {}
  std::string name() const override { return "binding6-count"; }

 protected:
  unsigned _compute(long threadIndex) override;

 private:
  CTLSPool<CDHCP6TLS>& m_pool;
};
