#include "dhcp6_server/CDHCP6EventSubscriber.h"

#include "dhcp6_server/CDHCP6TLS.h"
#include "dhcp_server_common/CIDHCPAddrMgr.h"
#include "dhcp_server_common/CIDHCPLBalancer.h"
#include "dhcp_server_common/CIDHCPLeaseQuery.h"
#include "dhcp_server_common/CIDHCPProvisioner.h"
#include "extended/CIDHCPController.h"

std::vector<std::string> CDHCP6EventSubscriber::eventClasses() {
  return {CAppEvent::kClassConfig, CAppEvent::kClassMode, kAddressPools, kPrefixPools, kPolicies,
          CAppEvent::kClassRule};
}

void CDHCP6EventSubscriber::event(const std::shared_ptr<const CAppEvent>& event) {
  CIDHCPController* controller = m_tls.controller();
  if (controller->log().verboseEnabled())
    controller->log().log(
        nuv::sev_verbose,
        nuv::CMessage("Processing event notification for thread %1.").push(m_tls.threadIndex()));
  try {
    m_tls.startTransaction();
    _handle(*event);
    m_tls.commitTransaction();
  } catch (const nuv::CException& e) {
    try {
      m_tls.rollbackTransaction();
    } catch (const nuv::CException& r) {
      controller->exceptionFacade().record(r);
    }
    controller->exceptionFacade().record(e);
    controller->exceptionFacade().log();
  }
}

std::shared_ptr<const CAppEvent> CDHCP6EventSubscriber::mergeEvents(
    const std::shared_ptr<const CAppEvent>& waiting,
    const std::shared_ptr<const CAppEvent>& later) {
  const bool pools = later->evtClass == kAddressPools || later->evtClass == kPrefixPools;
  if (!pools || waiting->evtInstance == later->evtInstance) return later;
  auto all = std::make_shared<CAppEvent>(*later);
  all->evtInstance.clear();
  return all;
}

void CDHCP6EventSubscriber::_handle(const CAppEvent& event) {
  const std::string& cls = event.evtClass;
  if (cls == CAppEvent::kClassMode) {
    _modeEvent(event);
  } else if (cls == CAppEvent::kClassConfig) {
    _configEvent();
  } else if (cls == CAppEvent::kClassRule) {
    m_tls.context().mediator().provisioner()->refreshConfig();
  } else if (cls == kPolicies) {
    // Any policy may have joined or left the global ones: reload them all.
    CPolicyFinder<CPolicyRecord>& finder = m_tls.policyFinder();
    finder.resetGlobalPolicies();
    finder.findGlobalPolicies();
  } else if (cls == kAddressPools) {
    m_tls.apoolFinder().refresh(_oid(event));
  } else if (cls == kPrefixPools) {
    m_tls.npoolFinder().refresh(_oid(event));
  }
}

std::int32_t CDHCP6EventSubscriber::_oid(const CAppEvent& event) {
  // An event that names no single pool reloads them all.
  try {
    return static_cast<std::int32_t>(std::stol(event.evtInstance));
  } catch (const std::exception&) {
    return -1;
  }
}

void CDHCP6EventSubscriber::_configEvent() {
  m_tls.refreshConfig();
  CIDHCPMediator& mediator = m_tls.context().mediator();
  mediator.addrMgr()->refreshConfig();
  mediator.provisioner()->refreshConfig();
  mediator.leaseQuery()->refreshConfig();
  const std::shared_ptr<CIDHCPLBalancer> balancer = mediator.lbalancer();
  std::lock_guard<std::mutex> lock(balancer->methodLock());
  balancer->refreshConfig();
}

void CDHCP6EventSubscriber::_modeEvent(const CAppEvent& event) {
  const CSystemMode next = CSystemMode::parse(event.evtInstance);
  m_tls.controller()->log().log(
      nuv::sev_audit, nuv::CMessage("The engine is switching from mode '%1' to mode '%2'.")
                          .pushs(m_tls.mode().string())
                          .pushs(next.string()));
  m_tls.mode(next);
}
