#pragma once
// Answers a Release, meant for this server: the client's leases in each
// IA that were made on this link and are still its to keep end now (their
// duration becomes 0; the record stays until it is reclaimed) and are
// announced after commit. An IA with none says NoBinding; the Reply says
// Success and nothing else.

#include <vector>

#include "dhcp6_server/CDHCP6LeaseProcessor.h"

class CDHCP6Release : public CDHCP6LeaseProcessor {
 public:
  CDHCP6Release(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
                unsigned int transactionId);

  Code execute(unsigned short& port);

 protected:
  bool _processIANA(const CBinding6Identifier& id, Code& code) override;
  bool _processIAPD(const CBinding6Identifier& id, Code& code) override;

 private:
  template <class Kind, class Result>
  void _processIA(const CBinding6Identifier& id);

  // For the DNS: the addresses released, those whose bindings kept no
  // names, and the deletes of the names kept.
  std::vector<nuv::CIPAddress> m_released;
  std::vector<nuv::CIPAddress> m_unnamed;
  std::vector<CDDNSUpdate> m_forwardDeletes;
  std::vector<CDDNSUpdate> m_reverseDeletes;
};
