#pragma once
// Answers the host's mode question on a worker thread: the mode of the
// state of the thread that runs it.

#include "dhcp_server_common/CTLSPool.h"
#include "extended/CResultCommand.h"
#include "extended/CSystemMode.h"

class CDHCP6TLS;

class CCmdGetMode6 : public CResultCommand<CSystemMode> {
 public:
  CCmdGetMode6(CTLSPool<CDHCP6TLS>& pool, CExtAsyncResult<CSystemMode> result)
      : CResultCommand<CSystemMode>(std::move(result)), m_pool(pool) {}
  std::string name() const override { return "get-mode6"; }

 protected:
  CSystemMode _compute(long threadIndex) override;

 private:
  CTLSPool<CDHCP6TLS>& m_pool;
};
