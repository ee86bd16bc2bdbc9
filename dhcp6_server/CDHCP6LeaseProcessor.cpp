#include "dhcp6_server/CDHCP6LeaseProcessor.h"

#include "dhcp_base/COptionTransforms.h"
#include "oodb/CDeviceAccessToken.h"

COptionPtr optionsOf(const CPrstPool& pool) {
  return nuv::unowned<COption>(const_cast<COptionStore*>(&pool.optionStore()));
}

CDHCP6LeaseProcessor::CDHCP6LeaseProcessor(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
                                           const char* name, unsigned int transactionId)
    : CDHCP6MsgProcessor(tls, node, std::move(link), name, transactionId),
      m_poolOptions(_createOptionSet(std::string(name) + "-pools-options")),
      m_policyOptions(_createOptionSet(std::string(name) + "-policy-options")) {}

bool CDHCP6LeaseProcessor::_beginLeasing(unsigned short& port, CDHCP6MsgType replyType,
                                         nuv::CHexStore& duid, std::vector<CBinding6Tuple>& ids,
                                         const char* otherServerLine) {
  if (!_begin(port, replyType, m_policyOptions, duid, ids, otherServerLine)) return false;
  m_token = std::make_shared<CDeviceAccessToken>(_nodeContext().token());
  m_hostname = CDHCP6Util::clientSuppliedHostname(_source()->hostOptions());
  return true;
}

void CDHCP6LeaseProcessor::_mergePoolOptions(const CPrstPool& pool) {
  COptionTransforms::copying_merge(pool.optionStore(), *m_poolOptions);
}

COptionPtr CDHCP6LeaseProcessor::_createIA(const CBinding6Identifier& id) {
  ++m_iaCount;
  return CDHCP6Util::createMinimalIA(id.tuple(), _dest()->hostOptions());
}

void CDHCP6LeaseProcessor::_addIARequestedOptions(const CBinding6Identifier& id,
                                                  const nuv::CIPAddress* address,
                                                  const COptionPtr& fallback,
                                                  const COptionPtr& target) {
  const COptionStorePtr& request = _source()->hostOptions();
  const COptionPtr asked = address ? CDHCP6Util::findBindingID(id.tuple(), *address, request)
                                   : CDHCP6Util::findBindingID(id.tuple(), request);
  if (!asked) return;
  CDHCP6Util::addRequestedOptions(CDHCP6Util::findORO(CDHCP6Util::subOptions(asked)),
                                  m_policyOptions, fallback, target, m_placed);
}
