#pragma once
// The host as a DHCP server sees it: the master controller plus the packet
// log, the server DUID and the configuration key registry.

#include <atomic>
#include <memory>

#include "extended/CMasterController.h"
#include "standard/CHexStore.h"

class CDHCPConfigNames;

class CIDHCPController : public CMasterController {
 public:
  // One more indirection than log(): the host may replace the sink.
  virtual CLogSink** dhcpLog() = 0;
  virtual nuv::CHexStore duid() const = 0;
  virtual std::shared_ptr<const CDHCPConfigNames> configNames() const = 0;

  // While set, the packet handlers drop what they receive (status queries
  // are still answered).
  bool inputSuspended() const { return m_inputSuspended.load(std::memory_order_relaxed); }
  void inputSuspended(bool on) { m_inputSuspended.store(on, std::memory_order_relaxed); }

 private:
  std::atomic<bool> m_inputSuspended{false};
};
