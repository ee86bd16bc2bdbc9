#pragma once
// The services a server context reaches, each provided by another plug-in
// or, when none provides it, by a stub that does nothing or answers
// neutrally: callers never test for absence (the publisher excepted: the
// server does not open without a system bus).

#include <memory>

#include "dhcp_server_common/CDHCPMediator.h"
#include "extended/CDHCPMeasurementSpec.h"

class CIDHCPAddrMgr;
class CIDHCPDDNS;
class CIDHCPDomainManager;
class CIDHCPEBalancer;
class CIDHCPExtension;
class CIDHCPLBalancer;
class CIDHCPLdap;
class CIDHCPLeaseQuery;
class CIDHCPPktStore;
class CIDHCPProvisioner;
class CIDHCPRewrite;
class CIDHCPStats;
class CISystemBus;
namespace nuv {
class CExpEval;
}

class CIDHCPMediator : public CDHCPMediator {
 public:
  using CDHCPMediator::CDHCPMediator;

  // Forgets every service; the next access looks it up again.
  virtual void refresh() = 0;
  virtual std::shared_ptr<nuv::CExpEval> eval() = 0;
  virtual void close() = 0;
  virtual std::shared_ptr<CIDHCPDomainManager> domainManager() = 0;
  virtual std::shared_ptr<CIDHCPProvisioner> provisioner() = 0;
  // A new statistics object for one thread; not cached.
  virtual std::shared_ptr<CIDHCPStats> createStats(const CDHCPMeasurementSpec& spec) = 0;
  virtual std::shared_ptr<CIDHCPPktStore> pktstore() = 0;
  virtual std::shared_ptr<CIDHCPLeaseQuery> leaseQuery() = 0;
  virtual std::shared_ptr<CIDHCPDDNS> ddns() = 0;
  virtual std::shared_ptr<CIDHCPExtension> extension() = 0;
  virtual std::shared_ptr<CIDHCPAddrMgr> addrMgr() = 0;
  virtual std::shared_ptr<CIDHCPEBalancer> ebalancer() = 0;
  virtual std::shared_ptr<CIDHCPLBalancer> lbalancer() = 0;
  virtual std::shared_ptr<CIDHCPRewrite> rewrite() = 0;
  virtual std::shared_ptr<CIDHCPLdap> ldap() = 0;
  // Null when no system bus plug-in is open.
  virtual std::shared_ptr<CISystemBus> publisher() = 0;
};
