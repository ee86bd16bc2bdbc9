#pragma once
// The host as a DHCP server sees it: the master controller plus the packet
// log, the server DUID and the configuration key registry.

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
};
