#pragma once
// Answers an Information-request with the configuration options the client
// asked for, taken from its policies; no lease is looked at.

#include "dhcp6_server/CDHCP6MsgProcessor.h"

class CDHCP6InfoReq : public CDHCP6MsgProcessor {
 public:
  CDHCP6InfoReq(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
                unsigned int transactionId);

  Code execute(unsigned short& port);

 protected:
  // An Information-request carries no IA worth reading.
  bool _processIATA(const CBinding6Identifier&, Code&) override { return true; }
  bool _processIANA(const CBinding6Identifier&, Code&) override { return true; }
  bool _processIAPD(const CBinding6Identifier&, Code&) override { return true; }

 private:
  COptionStorePtr m_policyOptions;
};
