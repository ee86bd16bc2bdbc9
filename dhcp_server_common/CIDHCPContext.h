#pragma once
// A server context as the services see it: one per worker thread (the first
// one is the master, the others are its clones). The services a context
// reaches go through its mediator. It is also the protocol context its
// options are made in (definitions, option factory).

#include <string>

#include "dhcp_base/CDHCPContext.h"

class CIDHCPController;
class CIDHCPMediator;
class CIPrstSession;

class CIDHCPContext : public CDHCPContext {
 public:
  using CDHCPContext::CDHCPContext;
  ~CIDHCPContext() override = default;

  // "dhcpv6" for the DHCPv6 server; services are created under this name.
  virtual const std::string& name() const = 0;
  virtual CIDHCPController* controller() const = 0;
  virtual bool master() const = 0;
  virtual CIDHCPMediator& mediator() = 0;
  // The owning thread's database session: a service reads and writes
  // records in the thread's current transaction, never in one of its own.
  // Raises when the thread has no session.
  virtual CIPrstSession& prstSession() = 0;
  // Once, on the owning thread, before the first packet; a second call raises.
  virtual void init() = 0;
  // Closes the services and forgets the packet in progress.
  virtual void close() = 0;
};
