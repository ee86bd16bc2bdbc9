#pragma once
// The periodic collection of pending offers that were never accepted, run
// on a worker thread. The engine's timer queues it at the configured
// interval without waiting for its result.

#include "dhcp_server_common/CTLSPool.h"
#include "extended/CAsyncCommand.h"
#include "extended/CExtAsyncResult.h"

class CDHCP6TLS;

class CCmdGarbageCollectPendings6 : public CAsyncCommand {
 public:
  CCmdGarbageCollectPendings6(CTLSPool<CDHCP6TLS>& pool, CExtAsyncResult<bool> result)
      : m_pool(pool), m_result(std::move(result)) {}
  std::string name() const override { return "pending6-garbage-collect"; }
  void execute(long threadIndex) override;
  void signalResult() { m_result.signalResult(true); }

 private:
  CTLSPool<CDHCP6TLS>& m_pool;
  CExtAsyncResult<bool> m_result;
};
