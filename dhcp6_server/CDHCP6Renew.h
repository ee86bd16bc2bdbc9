#pragma once
// Answers a Renew, meant for this server, with a Reply: each lease the
// client names is extended, or written back with lifetimes 0 when it may
// not be; a lease the server does not know is left out, and an IA left
// with nothing says NoBinding.

#include "dhcp6_server/CDHCP6ExtendingProcessor.h"

class CDHCP6Renew : public CDHCP6ExtendingProcessor {
 public:
  CDHCP6Renew(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link, unsigned int transactionId);

  Code execute(unsigned short& port);

 protected:
  bool _unknownLease(const CBinding6Identifier&, const char*, const nuv::CIPAddress&,
                     Code&) override {
    return true;
  }
  void _refused(const nuv::CMessage&) override {}
  void _nothingWritten(const CBinding6Identifier& id, COptionPtr& ia,
                       const char* notRenewableLine) override;
};
