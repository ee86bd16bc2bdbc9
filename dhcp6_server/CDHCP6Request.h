#pragma once
// Answers a Request with a Reply: the client's leases that may be kept are
// extended and its live offer becomes a lease (a binding), announced once
// the transaction has committed. An IA with neither gets NotOnLink. A
// Request meant for another server withdraws this server's offers of
// addresses to the client and is not answered.

#include <cstdint>
#include <optional>
#include <vector>

#include "dhcp6_server/CDHCP6LeaseProcessor.h"

class CDHCP6Request : public CDHCP6LeaseProcessor {
 public:
  CDHCP6Request(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
                unsigned int transactionId);

  Code execute(unsigned short& port);

 protected:
  bool _processIANA(const CBinding6Identifier& id, Code& code) override;
  bool _processIAPD(const CBinding6Identifier& id, Code& code) override;

  // Extends one lease into the reply's IA (made on first use); minimum is
  // the running minimum of the IA's preferred lifetimes.
  void _processABinding(const CBinding6Identifier& id, const AExtensible& result, COptionPtr& ia,
                        std::uint32_t& minimum);
  void _processNBinding(const CBinding6Identifier& id, const NExtensible& result, COptionPtr& ia,
                        std::uint32_t& minimum);
  // Turns the offer into a lease, or drops it when its pool is closed to
  // the client.
  void _processAPending(const CBinding6Identifier& id, const APending& pending, COptionPtr& ia,
                        std::uint32_t& minimum);
  void _processNPending(const CBinding6Identifier& id, const NPending& pending, COptionPtr& ia,
                        std::uint32_t& minimum);

 private:
  template <class Kind, class Result>
  void _processIA(const CBinding6Identifier& id);
  template <class Kind, class Result>
  void _extend(const CBinding6Identifier& id, const Result& result, COptionPtr& ia,
               std::uint32_t& minimum);
  template <class Kind>
  void _claim(const CBinding6Identifier& id,
              const CPrstUserClassPtr<typename Kind::Pending>& pending, COptionPtr& ia,
              std::uint32_t& minimum);
  // The reply's lease option and what goes with it: the DNS update list,
  // the pool's options and those asked for inside the client's address.
  template <class Kind>
  void _reply(const CBinding6Identifier& id, COptionPtr& ia, const nuv::CIPAddress& address,
              std::uint32_t length, std::uint32_t preferred, std::uint32_t valid,
              const CPrstPool* pool, std::uint32_t& minimum);

  std::optional<CDDNSUpdatePlan> m_ddnsPlan;
  std::vector<nuv::CIPAddress> m_ddnsAddresses;
};
