#include "dhcp6_server/CDHCP6Mediator.h"

#include "dhcp6_server/CDHCP6Context.h"
#include "dhcp_base/CDefinitionFiles.h"
#include "dhcp_server_common/CDHCPAddrMgrStub.h"
#include "dhcp_server_common/CDHCPDDNSStub.h"
#include "dhcp_server_common/CDHCPDomainManagerStub.h"
#include "dhcp_server_common/CDHCPEBalancerStub.h"
#include "dhcp_server_common/CDHCPEvalStub.h"
#include "dhcp_server_common/CDHCPExtensionStub.h"
#include "dhcp_server_common/CDHCPLBalancerStub.h"
#include "dhcp_server_common/CDHCPLdapStub.h"
#include "dhcp_server_common/CDHCPLeaseQueryStub.h"
#include "dhcp_server_common/CDHCPPktStoreStub.h"
#include "dhcp_server_common/CDHCPProvisionerStub.h"
#include "dhcp_server_common/CDHCPRewriteStub.h"
#include "dhcp_server_common/CDHCPStatsStub.h"
#include "dhcp_server_common/CIDHCPEvalFactory.h"
#include "extended/CDHCPConfigNames.h"
#include "extended/CIDHCPController.h"
#include "extended/CISystemBus.h"

CDHCP6Mediator::CDHCP6Mediator(CDHCP6Context& context, bool master)
    : CIDHCPMediator(context.controller()), m_context(context), m_master(master) {}

CDHCP6Mediator::~CDHCP6Mediator() = default;

template <class Service, class Stub, class Factory>
std::shared_ptr<Service>& CDHCP6Mediator::_cached(
    std::shared_ptr<Service>& cache, const char* interfaceName,
    std::shared_ptr<Service> (Factory::*create)(CIDHCPContext&)) {
  if (!cache) {
    if (Factory* factory = _findFactory<Factory>(interfaceName))
      cache = (factory->*create)(m_context);
    if (!cache) cache = std::make_shared<Stub>();
  }
  return cache;
}

std::string CDHCP6Mediator::_specFile(const std::string& configKey, const char* fallback) const {
  std::string file = fallback;
  if (controller()->config()) file = controller()->config()->get(configKey, fallback);
  return CDefinitionFiles::resolve(file, controller()->varDir());
}

COptionLookup& CDHCP6Mediator::optionLookup() {
  if (!m_optionsRead) {
    CDefinitionFiles::readOptions(m_context.optionLookup(),
                                  _specFile(CDHCPConfigNames::optionsFile(6), "options6.spec"));
    m_optionsRead = true;
  }
  return m_context.optionLookup();
}

CVendorLookup& CDHCP6Mediator::vendorLookup() {
  if (!m_vendorsRead) {
    CDefinitionFiles::readVendors(m_context.vendorLookup(),
                                  _specFile(CDHCPConfigNames::vendorsFile(6), "vclasses6.spec"));
    m_vendorsRead = true;
  }
  return m_context.vendorLookup();
}

COptionFactory& CDHCP6Mediator::optionFactory() {
  optionLookup();
  vendorLookup();
  return m_context.factory();
}

std::shared_ptr<nuv::CExpEval> CDHCP6Mediator::eval() {
  if (!m_eval) {
    if (auto* factory = _findFactory<CIDHCPEvalFactory>("CIDHCPEvalFactory"))
      m_eval = factory->createEval(m_context);
    if (!m_eval) m_eval = std::make_shared<CDHCPEvalStub>(controller());
    m_context.evaluator(m_eval.get());
  }
  return m_eval;
}

std::shared_ptr<CIDHCPDomainManager> CDHCP6Mediator::domainManager() {
  return _cached<CIDHCPDomainManager, CDHCPDomainManagerStub>(
      m_domainManager, "CIDHCPDomainManagerFactory",
      &CIDHCPDomainManagerFactory::createDomainManager);
}

std::shared_ptr<CIDHCPProvisioner> CDHCP6Mediator::provisioner() {
  return _cached<CIDHCPProvisioner, CDHCPProvisionerStub>(
      m_provisioner, "CIDHCPProvisionerFactory", &CIDHCPProvisionerFactory::createProvisioner);
}

std::shared_ptr<CIDHCPStats> CDHCP6Mediator::createStats(const CDHCPMeasurementSpec& spec) {
  std::shared_ptr<CIDHCPStats> stats;
  if (auto* factory = _findFactory<CIDHCPStatsFactory>("CIDHCPStatsFactory"))
    stats = factory->createStats(spec);
  if (!stats) stats = std::make_shared<CDHCPStatsStub>();
  return stats;
}

std::shared_ptr<CIDHCPPktStore> CDHCP6Mediator::pktstore() {
  return _cached<CIDHCPPktStore, CDHCPPktStoreStub>(m_pktstore, "CIDHCPPktStoreFactory",
                                                    &CIDHCPPktStoreFactory::createPktStore);
}

std::shared_ptr<CIDHCPLeaseQuery> CDHCP6Mediator::leaseQuery() {
  return _cached<CIDHCPLeaseQuery, CDHCPLeaseQueryStub>(m_leaseQuery, "CIDHCPLeaseQueryFactory",
                                                        &CIDHCPLeaseQueryFactory::createLeaseQuery);
}

std::shared_ptr<CIDHCPDDNS> CDHCP6Mediator::ddns() {
  return _cached<CIDHCPDDNS, CDHCPDDNSStub>(m_ddns, "CIDHCPDDNSFactory",
                                            &CIDHCPDDNSFactory::createDDNS);
}

std::shared_ptr<CIDHCPExtension> CDHCP6Mediator::extension() {
  if (!m_extension) {
    _cached<CIDHCPExtension, CDHCPExtensionStub>(m_extension, "CIDHCPExtensionFactory",
                                                 &CIDHCPExtensionFactory::createExtension);
    m_extension->init();
  }
  return m_extension;
}

std::shared_ptr<CIDHCPAddrMgr> CDHCP6Mediator::addrMgr() {
  if (!m_addrMgr) {
    if (auto* factory = _findFactory<CIDHCPAddrMgrFactory>("CIDHCPAddrMgrFactory"))
      m_addrMgr = factory->createAddrMgr(m_context);
    if (!m_addrMgr) {
      controller()->log().log(nuv::sev_info,
                              nuv::CMessage("The server is not using an address manager."));
      m_addrMgr = std::make_shared<CDHCPAddrMgrStub>();
    }
  }
  return m_addrMgr;
}

std::shared_ptr<CIDHCPEBalancer> CDHCP6Mediator::ebalancer() {
  return _cached<CIDHCPEBalancer, CDHCPEBalancerStub>(m_ebalancer, "CIDHCPEBalancerFactory",
                                                      &CIDHCPEBalancerFactory::createEBalancer);
}

std::shared_ptr<CIDHCPLBalancer> CDHCP6Mediator::lbalancer() {
  std::lock_guard<std::mutex> lock(m_lbalancerMutex);
  return _cached<CIDHCPLBalancer, CDHCPLBalancerStub>(m_lbalancer, "CIDHCPLBalancerFactory",
                                                      &CIDHCPLBalancerFactory::createLBalancer);
}

std::shared_ptr<CIDHCPRewrite> CDHCP6Mediator::rewrite() {
  return _cached<CIDHCPRewrite, CDHCPRewriteStub>(m_rewrite, "CIDHCPRewriteFactory",
                                                  &CIDHCPRewriteFactory::createRewrite);
}

std::shared_ptr<CIDHCPLdap> CDHCP6Mediator::ldap() {
  return _cached<CIDHCPLdap, CDHCPLdapStub>(m_ldap, "CIDHCPLdapFactory",
                                            &CIDHCPLdapFactory::createLdap);
}

std::shared_ptr<CISystemBus> CDHCP6Mediator::publisher() {
  if (!m_publisherLooked) {
    if (auto* factory = _findFactory<CISystemBusFactory>("CISystemBusFactory"))
      m_publisher = factory->createBus(m_context.name());
    m_publisherLooked = true;
  }
  return m_publisher;
}

void CDHCP6Mediator::refresh() {
  _dropAll();
}

void CDHCP6Mediator::close() {
  if (m_extension) m_extension->close();
  _dropAll();
}

void CDHCP6Mediator::_dropAll() {
  m_context.evaluator(nullptr);
  m_eval.reset();
  m_domainManager.reset();
  m_provisioner.reset();
  m_pktstore.reset();
  m_leaseQuery.reset();
  m_ddns.reset();
  m_extension.reset();
  m_addrMgr.reset();
  m_ebalancer.reset();
  {
    std::lock_guard<std::mutex> lock(m_lbalancerMutex);
    m_lbalancer.reset();
  }
  m_rewrite.reset();
  m_ldap.reset();
  m_publisher.reset();
  m_publisherLooked = false;
}
