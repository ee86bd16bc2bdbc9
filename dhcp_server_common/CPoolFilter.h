#pragma once
// Which of a client's candidate pools it may use: an enabled pool whose
// "allow" expression gives true (or is empty) and whose "deny" expression
// gives false (or is empty). A setting that fails to evaluate, or gives
// anything but a boolean, denies access: a pool is never handed out by
// mistake. Instantiated for CPrstAddressPool6 and CPrstNetworkPool6.

#include <algorithm>

#include "exp_eval/CExpression.h"
#include "extended/CIDHCPController.h"
#include "oodb/CPrstUserClassPtr.h"

template <class Pool>
class CPoolFilter {
 public:
  using List = CPrstUserClassPtrList<Pool>;

  explicit CPoolFilter(CIDHCPController* controller) : m_controller(controller) {}

  // Drops the pools isUsable refuses; the order of the others is kept.
  void removeUnusable(List& pools) const {
    pools.erase(std::remove_if(pools.begin(), pools.end(),
                               [this](const CPrstUserClassPtr<Pool>& p) { return !isUsable(*p); }),
                pools.end());
  }

  bool isUsable(const Pool& pool) const {
    try {
      if (!pool.active()) {
        _log(nuv::CMessage("Discarding inactive pool '%1'.").pushs(pool.name()));
        return false;
      }
      return _admits(pool, pool.allow(), true) && _admits(pool, pool.deny(), false);
    } catch (const nuv::CException& e) {
      m_controller->exceptionFacade().record(e);
      m_controller->exceptionFacade().log();
      return false;
    }
  }

 private:
  // An empty setting admits; otherwise its first value must be the
  // boolean that admits (true for allow, false for deny).
  bool _admits(const Pool& pool, const nuv::CExpression& setting, bool allow) const {
    if (setting.empty()) return true;
    const nuv::CMultiVariant values = *setting;
    if (values.empty() || values.front().type() != nuv::CVariantType::dt_boolean) {
      _log(nuv::CMessage(allow ? "The 'allow' setting for pool '%1' does not evaluate to a "
                                 "boolean result. Access is denied for this reason."
                               : "The 'deny' setting for pool '%1' does not evaluate to a "
                                 "boolean result. Access is denied for this reason.")
               .pushs(pool.name()));
      return false;
    }
    if (values.front().boolean() == allow) return true;
    _log(nuv::CMessage(allow ? "The 'allow' setting for pool '%1' evaluates to 'false'. Access "
                               "is denied for this reason."
                             : "The 'deny' setting for pool '%1' evaluates to 'true'. Access is "
                               "denied for this reason.")
             .pushs(pool.name()));
    return false;
  }
  void _log(const nuv::CMessage& message) const {
    if (m_controller->log().debugEnabled()) m_controller->log().log(nuv::sev_debug, message);
  }

  CIDHCPController* m_controller;  // not owned
};
