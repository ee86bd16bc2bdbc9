#pragma once
// Finds the policies that apply to a device, one finder per handler
// thread: the global policies (those of the all-devices domain, cached for
// the life of the finder until reset) and the device's own policies (those
// of the other domains of its token, selected anew for every message).
// Instantiated for CPolicyRecord.

#include <cstddef>
#include <memory>

#include "extended/CLogSink.h"
#include "oodb/CDeviceAccessToken.h"
#include "oodb/CExtDomainID.h"
#include "oodb/CPrstTransaction.h"
#include "oodb/CPrstUserClassPtr.h"

template <class Policy>
class CPolicyFinder {
 public:
  using List = CPrstUserClassPtrList<Policy>;
  static constexpr std::size_t kRows = CIPrstSession::kRowsPerPage;
  static constexpr const char* kGlobalEnforced = "Global Enforced";
  static constexpr const char* kGlobalOptional = "Global Optional";
  // The right the finder's tokens hold in the domains they look into.
  static constexpr CAccessRights::Right kRight = CAccessRights::execute;

  // log: where the incorrect-permissions warning goes (may be null).
  explicit CPolicyFinder(CIPrstSession& session, CLogSink* log = nullptr, std::size_t rows = kRows)
      : m_session(session), m_log(log), m_rows(rows) {}

  // The policies visible through the all-devices domain, loaded on first
  // use (and after resetGlobalPolicies) in the session's transaction.
  List findGlobalPolicies() {
    if (m_global.empty()) {
      auto token = std::make_shared<CDeviceAccessToken>(CExtDomainID::allDevices, kRight);
      List found = Policy::fastSelectRec(m_session, token, m_rows);
      m_global.assign(found.begin(), found.end());
    }
    return m_global;
  }
  // Forgets the cached global policies (a policy changed).
  void resetGlobalPolicies() { m_global.clear(); }

  // The policies of the device's own domains: the all-devices domain is
  // left out (its policies are the global ones). A token left without any
  // domain would look into the invalid domain, of which no object is a
  // member: it finds nothing, so most devices (those known only to the
  // all-devices domain) cost no query at all.
  List findNonGlobalPolicies(const CDeviceAccessToken& device) {
    if (!_hasOtherDomain(device)) return {};
    auto token = std::make_shared<CDeviceAccessToken>(device);
    token->revokeAccess(CExtDomainID::allDevices);
    return Policy::fastSelectRec(m_session, token, m_rows);
  }

  // Creates "Global Enforced" and "Global Optional" in the all-devices
  // domain when no global policy is visible. When a policy of either name
  // exists outside that domain, only logs that its permissions are wrong.
  void createGlobalPoliciesIf() {
    if (!findGlobalPolicies().empty()) return;
    if (!Policy::fastSelectRec(m_session, kGlobalEnforced).empty() ||
        !Policy::fastSelectRec(m_session, kGlobalOptional).empty()) {
      if (m_log)
        m_log->log(nuv::sev_warning,
                   nuv::CMessage("Global policy '%1' or '%2' has incorrect permissions.")
                       .pushs(kGlobalEnforced)
                       .pushs(kGlobalOptional));
      return;
    }
    const bool own = !m_session.inTransaction();
    std::unique_ptr<CPrstTransaction> tx;
    if (own) tx = std::make_unique<CPrstTransaction>(m_session);
    _create(kGlobalEnforced, "Options in this policy are mandatory for every device", true);
    _create(kGlobalOptional, "Options in this policy are provided when requested by any device",
            false);
    if (tx) tx->commit();
  }

  std::size_t rows() const { return m_rows; }

 private:
  static bool _hasOtherDomain(const CDeviceAccessToken& device) {
    for (const auto& right : device.domainRights())
      if (right.first != CExtDomainID::allDevices) return true;
    return false;
  }

  void _create(const char* name, const char* description, bool enforce) {
    auto p = m_session.createTransient<Policy>();
    p->name(name);
    p->description(description);
    p->enforce(enforce);
    p->domainMemberships({CExtDomainID::allDevices});
    p->commit();
  }

  CIPrstSession& m_session;
  CLogSink* m_log;
  std::size_t m_rows;
  List m_global;
};
