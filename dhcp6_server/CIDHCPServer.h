#pragma once
// What a host may ask a running DHCP server plug-in besides the plug-in calls.

#include "extended/CPlugin.h"
#include "extended/CProtocolFamily.h"
#include "extended/CSystemMode.h"

class CIDHCPContext;

class CIDHCPServer : public CPlugin {
 public:
  // DHCP servers run after the ordinary plug-ins they depend on.
  int runPriority() const override { return 100; }

  // The next two block the calling thread until a worker has answered.
  virtual unsigned countBindings() const = 0;
  virtual CSystemMode mode() const = 0;
  virtual CProtocolFamily protocolVersion() const = 0;
  // The engine's master context; null until the engine has started.
  virtual CIDHCPContext* context() const = 0;
};
