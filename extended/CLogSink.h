#pragma once
// One log destination of the host (the process log or the DHCP packet log).

#include "standard/CMessage.h"
#include "standard/CSeverity.h"

class CLogSink {
 public:
  virtual ~CLogSink() = default;
  // Writes one entry; errorCode is a system error number or 0.
  virtual void log(unsigned severity, const nuv::CMessage& message, int errorCode = 0) = 0;
  virtual bool verboseEnabled() const = 0;
  virtual bool debugEnabled() const = 0;
};
