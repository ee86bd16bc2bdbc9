#pragma once
// Answers a Decline, meant for this server: the client found the addresses
// (prefixes) it names unusable, so their leases are deleted, in order, up
// to the first one the server has no record of; that IA then says
// NoBinding. Nothing is announced; the Reply says Success.

#include "dhcp6_server/CDHCP6LeaseProcessor.h"

class CDHCP6Decline : public CDHCP6LeaseProcessor {
 public:
  CDHCP6Decline(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
                unsigned int transactionId);

  Code execute(unsigned short& port);

 protected:
  bool _processIANA(const CBinding6Identifier& id, Code& code) override;
  bool _processIAPD(const CBinding6Identifier& id, Code& code) override;

 private:
  template <class Kind>
  void _processIA(const CBinding6Identifier& id);
};
