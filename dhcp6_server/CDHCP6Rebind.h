#pragma once
// Answers a Rebind, sent to any server, with a Reply: each lease the client
// names is extended, or written back with lifetimes 0 (and the reason
// logged) when it may not be. A lease this server does not know may be
// another server's: the whole Rebind is then left unanswered, as it is
// when nothing at all could be written.

#include "dhcp6_server/CDHCP6ExtendingProcessor.h"

class CDHCP6Rebind : public CDHCP6ExtendingProcessor {
 public:
  CDHCP6Rebind(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
               unsigned int transactionId);

  Code execute(unsigned short& port);

 protected:
  bool _unknownLease(const CBinding6Identifier& id, const char* line, const nuv::CIPAddress& lease,
                     Code& code) override;
  void _refused(const nuv::CMessage& line) override;
  // The IA stays out of the Reply.
  void _nothingWritten(const CBinding6Identifier&, COptionPtr&, const char*) override {}
};
