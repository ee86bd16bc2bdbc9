#pragma once
// The DHCPv6 context's way to the other plug-ins' services. Each service is
// looked up by its factory's interface name on first use and cached until
// refresh(); a missing one is replaced by its stub. The cache belongs to
// the context's thread, except the load balancer's, which is locked.

#include <memory>
#include <mutex>

#include "dhcp_base/CDHCP6Attributes.h"
#include "dhcp_server_common/CIDHCPMediator.h"

class CDHCP6Context;
class CIDHCPContext;
class COptionFactory;
class COptionLookup;
class CVendorLookup;

class CDHCP6Mediator : public CIDHCPMediator {
 public:
  CDHCP6Mediator(CDHCP6Context& context, bool master);
  ~CDHCP6Mediator() override;

  CDHCP6Context& context6() const { return m_context; }
  bool master() const { return m_master; }

  void refresh() override;
  // The option and vendor definitions of the context, read on first use
  // from the files the configuration names (a relative name is taken in
  // the variable-data directory, else among the server's own data files).
  // They stay for the life of the context: every option made with them
  // refers to them.
  COptionLookup& optionLookup();
  CVendorLookup& vendorLookup();
  COptionFactory& optionFactory();
  const CDHCP6Attributes& protocolAttributes() const { return m_attributes; }
  std::shared_ptr<nuv::CExpEval> eval() override;
  void close() override;
  std::shared_ptr<CIDHCPDomainManager> domainManager() override;
  std::shared_ptr<CIDHCPProvisioner> provisioner() override;
  std::shared_ptr<CIDHCPStats> createStats(const CDHCPMeasurementSpec& spec) override;
  std::shared_ptr<CIDHCPPktStore> pktstore() override;
  std::shared_ptr<CIDHCPLeaseQuery> leaseQuery() override;
  std::shared_ptr<CIDHCPDDNS> ddns() override;
  std::shared_ptr<CIDHCPExtension> extension() override;
  std::shared_ptr<CIDHCPAddrMgr> addrMgr() override;
  std::shared_ptr<CIDHCPEBalancer> ebalancer() override;
  std::shared_ptr<CIDHCPLBalancer> lbalancer() override;
  std::shared_ptr<CIDHCPRewrite> rewrite() override;
  std::shared_ptr<CIDHCPLdap> ldap() override;
  std::shared_ptr<CISystemBus> publisher() override;

 private:
  // Looks the service up when the cache is empty: Factory's create (a
  // pointer to member) when a plug-in offers it, else the stub.
  template <class Service, class Stub, class Factory>
  std::shared_ptr<Service>& _cached(std::shared_ptr<Service>& cache, const char* interfaceName,
                                    std::shared_ptr<Service> (Factory::*create)(CIDHCPContext&));
  void _dropAll();
  // configKey's file, or fallback, as a path.
  std::string _specFile(const std::string& configKey, const char* fallback) const;

  CDHCP6Context& m_context;
  bool m_master;
  CDHCP6Attributes m_attributes;
  bool m_optionsRead = false;
  bool m_vendorsRead = false;

  std::shared_ptr<nuv::CExpEval> m_eval;
  std::shared_ptr<CIDHCPDomainManager> m_domainManager;
  std::shared_ptr<CIDHCPProvisioner> m_provisioner;
  std::shared_ptr<CIDHCPPktStore> m_pktstore;
  std::shared_ptr<CIDHCPLeaseQuery> m_leaseQuery;
  std::shared_ptr<CIDHCPDDNS> m_ddns;
  std::shared_ptr<CIDHCPExtension> m_extension;
  std::shared_ptr<CIDHCPAddrMgr> m_addrMgr;
  std::shared_ptr<CIDHCPEBalancer> m_ebalancer;
  std::mutex m_lbalancerMutex;
  std::shared_ptr<CIDHCPLBalancer> m_lbalancer;
  std::shared_ptr<CIDHCPRewrite> m_rewrite;
  std::shared_ptr<CIDHCPLdap> m_ldap;
  std::shared_ptr<CISystemBus> m_publisher;
  bool m_publisherLooked = false;  // null is a valid answer for the bus
};
