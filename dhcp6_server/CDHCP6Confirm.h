#pragma once
// Tells a client whether the addresses it holds are still right for the
// link it is on now: Success when every one was leased on this link,
// NotOnLink when one was leased on another, and silence when one is not
// known at all (the server cannot judge). Nothing is written.

#include "dhcp6_server/CDHCP6MsgProcessor.h"

class CDHCP6Confirm : public CDHCP6MsgProcessor {
 public:
  CDHCP6Confirm(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
                unsigned int transactionId);

  Code execute(unsigned short& port);

 protected:
  bool _processIANA(const CBinding6Identifier& id, Code& code) override;
  bool _processIAPD(const CBinding6Identifier& id, Code& code) override;

 private:
  // Counts each address of the IA as on link, off link or unknown.
  template <class Binding>
  void _judge(const CBinding6Identifier& id);

  COptionStorePtr m_policyOptions;
  unsigned m_offLink = 0;
  unsigned m_unknown = 0;
};
