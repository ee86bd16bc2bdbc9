#include "dhcp6_server/CDHCP6MsgProcessor.h"

#include <cstdio>
#include <mutex>

#include "dhcp6_server/CDHCP6TLS.h"
#include "dhcp_base/CDHCP6OptionCode.h"
#include "dhcp_base/CDHCP6Util.h"
#include "dhcp_base/COptionFactory.h"
#include "dhcp_base/COptionTransforms.h"
#include "dhcp_base/CValueTypeConverter.h"
#include "dhcp_base/CValueTypeInserter.h"
#include "dhcp_server_common/CBindingFilter.h"
#include "dhcp_server_common/CCmdReleasePoolCandidate.h"
#include "dhcp_server_common/CDDNSDataFinder.h"
#include "dhcp_server_common/CDDNSUpdatePlan.h"
#include "dhcp_server_common/CIDHCPLBalancer.h"
#include "dhcp_server_common/CIDHCPProvisioner.h"
#include "extended/CIDHCPController.h"

namespace {
std::string packetPrefix(const char* name, unsigned int transactionId) {
  char id[16];
  std::snprintf(id, sizeof id, "0x%03x", transactionId);
  return std::string("[") + name + "/" + id + "]";
}

// The option with code at the top of options, or null.
COptionPtr topOption(const COptionPtr& options, std::uint32_t code) {
  COptionPtr found;
  if (options) options->find(CTagPath{code}, found);
  return found;
}
}  // namespace

CDHCP6MsgProcessor::CDHCP6MsgProcessor(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
                                       const char* name, unsigned int transactionId)
    : m_tls(tls),
      m_node(node),
      m_link(std::move(link)),
      m_pktID(packetPrefix(name, transactionId)),
      m_source(tls->context().inPacket()),
      m_dest(tls->context().outPacket()) {}

CDHCP6MsgProcessor::~CDHCP6MsgProcessor() = default;

CLogSink& CDHCP6MsgProcessor::_logSink() const {
  return **m_tls->controller()->dhcpLog();
}

void CDHCP6MsgProcessor::_log(unsigned severity, const nuv::CMessage& message) const {
  _logSink().log(severity, message);
}

bool CDHCP6MsgProcessor::_debugEnabled() const {
  return _logSink().debugEnabled();
}

const nuv::CHexStore& CDHCP6MsgProcessor::_serverDUID() const {
  return m_node.serverDUID();
}

bool CDHCP6MsgProcessor::_begin(unsigned short& port, CDHCP6MsgType replyType,
                                const COptionStorePtr& policyOptions, nuv::CHexStore& duid,
                                std::vector<CBinding6Tuple>& ids, const char* otherServerLine) {
  if (!_balancerCheck()) return false;
  m_account = _provision();
  if (otherServerLine && CDHCP6Util::requestedServer(m_source->hostOptions()) != _serverDUID()) {
    _log(nuv::sev_info, _msg(otherServerLine));
    return false;
  }
  _replyHeader(replyType);
  _mergePolicies(_clientPolicies(), policyOptions);
  _setDstPort(port, policyOptions);
  const COptionStorePtr& request = m_source->hostOptions();
  CDHCP6Util::cloneAndStoreRequired(CDHCP6OptionCode::clientID, request, m_dest->hostOptions());
  duid = CDHCP6Util::optionData(request, CDHCP6OptionCode::clientID);
  _storageClientID(policyOptions, duid);
  ids = CDHCP6Util::bindingIDs<CBinding6Tuple>(request, duid);
  return true;
}

bool CDHCP6MsgProcessor::_balancerCheck() {
  std::uint32_t elapsed = 0;
  if (const COptionPtr option = topOption(m_node.hostOptions(), CDHCP6OptionCode::elapsedTime))
    elapsed = CValueTypeConverter::uint16(*option, 0);
  const std::shared_ptr<CIDHCPLBalancer> balancer = m_tls->context().dhcpMediator().lbalancer();
  bool serve;
  {
    std::lock_guard<std::mutex> lock(balancer->methodLock());
    serve = balancer->canService(m_node, elapsed * 1000);
  }
  if (!serve)
    _log(nuv::sev_info,
         _msg("%1 Ignoring packet in accordance with the load balancer configuration."));
  return serve;
}

CAccessID CDHCP6MsgProcessor::_provision() {
  CAccessID account = m_tls->context().dhcpMediator().provisioner()->setAccessToken(m_node);
  m_node.provisioned().account(account);
  return account;
}

void CDHCP6MsgProcessor::_replyHeader(CDHCP6MsgType type) {
  CDHCP6Util::cloneAndStoreRequired(CDHCP6OptionCode::msgType, m_source->hostOptions(),
                                    m_dest->hostOptions());
  m_dest->msgType(type);
}

bool CDHCP6MsgProcessor::_namesOtherServer() const {
  const COptionPtr option = topOption(m_source->hostOptions(), CDHCP6OptionCode::serverID);
  return option && CValueTypeConverter::hexstore(*option, 0) != _serverDUID();
}

bool CDHCP6MsgProcessor::_storageClientID(const COptionPtr& policyOptions, nuv::CHexStore& duid) {
  const COptionPtr option = topOption(policyOptions, kStorageDUIDOption);
  if (!option) return false;
  nuv::CHexStore storage = CValueTypeConverter::hexstore(*option, 0);
  if (_debugEnabled())
    _log(nuv::sev_debug, _msg("%1 The server is overriding duid '%2' with duid '%3' in "
                              "accordance with policy configuration.")
                             .pushs(duid.string())
                             .pushs(storage.string()));
  duid = std::move(storage);
  return true;
}

bool CDHCP6MsgProcessor::_setDstPort(unsigned short& port, const COptionPtr& policyOptions) {
  const COptionPtr option = topOption(policyOptions, kDstPortOption);
  if (!option) return false;
  port = CValueTypeConverter::uint16(*option, 0);
  return true;
}

void CDHCP6MsgProcessor::_mergePolicies(const Policies& policies, const COptionPtr& target) {
  COptionStore& into = static_cast<COptionStore&>(*target);
  const Policies global = m_tls->policyFinder().findGlobalPolicies();
  for (auto it = global.rbegin(); it != global.rend(); ++it) {
    if (_debugEnabled())
      _log(nuv::sev_debug,
           _msg("%1 The server is applying options from global policy '%2'.").pushs((*it)->name()));
    COptionTransforms::copying_merge((*it)->optionStore(), into);
  }
  for (auto it = policies.rbegin(); it != policies.rend(); ++it) {
    if (_debugEnabled())
      _log(nuv::sev_debug,
           _msg("%1 The server is applying options from policy '%2'.").pushs((*it)->name()));
    COptionTransforms::copying_merge((*it)->optionStore(), into);
  }
}

CDHCP6MsgProcessor::Policies CDHCP6MsgProcessor::_clientPolicies() {
  return m_tls->policyFinder().findNonGlobalPolicies(m_node.token());
}

bool CDHCP6MsgProcessor::_processBindingIDs(const std::vector<CBinding6Tuple>& ids, Code& code) {
  for (const CBinding6Tuple& tuple : ids) {
    const CBinding6Identifier id(tuple);
    bool goOn = true;
    switch (tuple.iaType().value()) {
      case CIAType::iana:
        goOn = _processIANA(id, code);
        break;
      case CIAType::iata:
        goOn = _processIATA(id, code);
        break;
      case CIAType::iapd:
        goOn = _processIAPD(id, code);
        break;
      default:
        break;
    }
    if (!goOn) return false;
  }
  return true;
}

void CDHCP6MsgProcessor::_addTopLevelOptions(const COptionStorePtr& poolOptions,
                                             const COptionStorePtr& policyOptions,
                                             std::vector<std::uint32_t>& placed) {
  const COptionStorePtr& reply = m_dest->hostOptions();
  CDHCP6Util::addRequestedOptions(CDHCP6Util::findORO(m_source->hostOptions()), policyOptions,
                                  poolOptions, reply, placed);
  // What the client asked for is in the reply once; the sets keep the rest.
  for (std::uint32_t code : placed)
    for (const COptionStorePtr& set : {poolOptions, policyOptions})
      while (set->erase(CTagPath{code})) {
      }
  COptionTransforms::destructive_merge(*poolOptions, *reply);
  COptionTransforms::destructive_merge(*policyOptions, *reply);
}

template <class Release, class Pending, class Finder>
CPrstUserClassPtr<Pending> CDHCP6MsgProcessor::_findPending(Finder& finder,
                                                            const CBinding6Identifier& id,
                                                            const nuv::CIPAddress& link,
                                                            const char* staleLine) {
  CPrstUserClassPtr<Pending> pending = finder.findPending(id, link);
  if (!pending) return pending;
  const std::int64_t age = pending->age();
  if (age < static_cast<std::int64_t>(Finder::kStaleAge)) return pending;
  _log(nuv::sev_info, _msg(staleLine).pushs(id.tuple().duid().string()).push(age));
  _deletePending<Release>(pending);
  return CPrstUserClassPtr<Pending>();
}

template <class Release, class Pending>
void CDHCP6MsgProcessor::_deletePending(const CPrstUserClassPtr<Pending>& pending) {
  if (!pending) return;
  m_tls->syncCommands().append(std::make_unique<Release>(
      m_tls->context(), pending->offeredAddress(), pending->poolOID(), m_tls->stats()));
  pending->deletePersistent();
  pending->commit();
}

CDHCP6MsgProcessor::APending CDHCP6MsgProcessor::_findAPending(const CBinding6Identifier& id,
                                                               const nuv::CIPAddress& link) {
  return _findPending<CCmdReleaseAPoolCandidate, CPrstAddressPending6>(
      m_tls->apendingFinder(), id, link,
      "%1 Removing stale address pending record for device '%2', aged %3 seconds.");
}

CDHCP6MsgProcessor::NPending CDHCP6MsgProcessor::_findNPending(const CBinding6Identifier& id,
                                                               const nuv::CIPAddress& link) {
  return _findPending<CCmdReleaseNPoolCandidate, CPrstNetworkPending6>(
      m_tls->npendingFinder(), id, link,
      "%1 Removing stale prefix pending record for device '%2', aged %3 seconds.");
}

void CDHCP6MsgProcessor::_deleteAPending(const APending& pending) {
  _deletePending<CCmdReleaseAPoolCandidate>(pending);
}

void CDHCP6MsgProcessor::_deleteNPending(const NPending& pending) {
  _deletePending<CCmdReleaseNPoolCandidate>(pending);
}

template <class Binding, class Pool, class Result>
void CDHCP6MsgProcessor::_extensible(CPoolFinder<Pool>& finder, const CBinding6Identifier& id,
                                     const nuv::CIPAddress& link, const Token& token,
                                     const char* foundLine, const char* keptLine,
                                     std::vector<Result>& out) {
  const auto bindings = Binding::selectByKeyAndRelay(m_tls->prstSession(), token, id, link);
  const bool debug = _debugEnabled();
  const std::string duid = debug ? id.tuple().duid().string() : std::string();
  if (debug) _log(nuv::sev_debug, _msg(foundLine).push(bindings.size()).pushs(duid).pusho(link));
  if (bindings.empty()) return;
  const std::size_t before = out.size();
  CBindingFilter<Pool, Binding>(m_pktID, finder, *m_tls->context().dhcpMediator().addrMgr(),
                                m_tls->controller())
      .allExtensible(bindings, token, link, out);
  if (debug) _log(nuv::sev_debug, _msg(keptLine).push(out.size() - before).pushs(duid).pusho(link));
}

void CDHCP6MsgProcessor::_findExtensibleBindings(const CBinding6Identifier& id,
                                                 const nuv::CIPAddress& link, const Token& token,
                                                 std::vector<AExtensible>& out) {
  _extensible<CPrstAddressBinding6>(
      m_tls->apoolFinder(), id, link, token,
      "%1 Found %2 address leases for device '%3' on link %4.",
      "%1 Found %2 address leases that can be extended for device '%3' on link %4.", out);
}

void CDHCP6MsgProcessor::_findExtensibleBindings(const CBinding6Identifier& id,
                                                 const nuv::CIPAddress& link, const Token& token,
                                                 std::vector<NExtensible>& out) {
  _extensible<CPrstNetworkBinding6>(
      m_tls->npoolFinder(), id, link, token,
      "%1 Found %2 prefix leases for device '%3' on link %4.",
      "%1 Found %2 prefix leases that can be extended for device '%3' on link %4.", out);
}

std::optional<CDDNSUpdatePlan> CDHCP6MsgProcessor::_ddnsPlan(
    const std::shared_ptr<CDHCP6Packet>& request, const COptionStorePtr& policyOptions) {
  try {
    CIDHCPContext& context = m_tls->context();
    const COptionPtr fqdn = topOption(request->hostOptions(), CDHCP6OptionCode::clientFQDN);
    const COptionPtr modeOption = topOption(policyOptions, CDDNSDataFinder::modeTag(context));
    const std::uint8_t mode = modeOption ? CValueTypeConverter::uint8(*modeOption, 0) : 0;
    std::optional<CDDNSUpdatePlan> plan(std::in_place, context, policyOptions, mode, fqdn);
    // A client that asks for no update at all is heard while its own name
    // is used.
    if (mode == CDDNSDataFinder::clientFQDN && (_fqdnFlags(fqdn) & CDDNSDataFinder::kNFlag6))
      plan->clear();
    return plan;
  } catch (const std::exception& e) {
    _log(nuv::sev_error, _msg("%1 Cannot prepare the DNS update: %2").pushs(e.what()));
    return std::nullopt;
  }
}

std::uint8_t CDHCP6MsgProcessor::_fqdnFlags(const COptionPtr& fqdn) const {
  COptionPtr e;
  if (fqdn && fqdn->find(CTagPath{CDDNSDataFinder::fqdnFlagsTag(m_tls->context())}, e) &&
      e->count())
    return CValueTypeConverter::uint8(*e, 0);
  return 0;
}

void CDHCP6MsgProcessor::_ddnsKeepNames(const std::optional<CDDNSUpdatePlan>& plan,
                                        CPrstBinding& binding, const nuv::CIPAddress& address) {
  if (!plan || (!plan->forward() && !plan->reverse())) return;
  const CDDNSLeaseNames names = plan->names(address);
  CDDNSLeaseNames kept;
  try {
    kept = CDDNSLeaseNames::of(binding);
  } catch (const std::exception& e) {
    _log(nuv::sev_error,
         _msg("%1 Cannot keep the DNS names of %2: %3").pusho(address).pushs(e.what()));
    return;
  }
  if (names == kept) return;
  // What the new updates do not replace would stay in the DNS: an AAAA
  // under another name (unless the client now adds its own under the same
  // one), a PTR in another zone (one in the same zone is replaced).
  std::vector<CDDNSUpdate> forward, reverse;
  CDDNSLeaseNames stale = kept;
  if (kept.fqdn == names.fqdn &&
      (names.forwardZone.empty() || kept.forwardZone == names.forwardZone))
    stale.forwardZone.clear();
  if (kept.reverseZone == names.reverseZone) stale.reverseZone.clear();
  stale.appendDeletes(address, forward, reverse);
  _queueDDNS(true, true, std::move(forward));
  _queueDDNS(false, true, std::move(reverse));
  names.keepIn(binding);
}

bool CDHCP6MsgProcessor::_ddnsTakeNames(CPrstBinding& binding, std::vector<CDDNSUpdate>& forward,
                                        std::vector<CDDNSUpdate>& reverse) {
  CDDNSLeaseNames kept;
  try {
    kept = CDDNSLeaseNames::of(binding);
  } catch (const std::exception& e) {
    _log(nuv::sev_error,
         _msg("%1 Cannot read the DNS names of %2: %3").pusho(binding.ipAddr()).pushs(e.what()));
    return false;
  }
  if (kept.empty()) return false;
  kept.appendDeletes(binding.ipAddr(), forward, reverse);
  CDDNSLeaseNames().keepIn(binding);
  return true;
}

void CDHCP6MsgProcessor::_ddnsExtendBindings(const std::shared_ptr<CDHCP6Packet>& request,
                                             const std::shared_ptr<CDHCP6Packet>& reply,
                                             std::optional<CDDNSUpdatePlan>& plan,
                                             const std::vector<nuv::CIPAddress>& addresses) {
  _ddnsAnswer(request, reply, plan, addresses);
  if (!plan) return;
  _queueDDNS(true, false, plan->updates(addresses, true));
  _queueDDNS(false, false, plan->updates(addresses, false));
}

void CDHCP6MsgProcessor::_ddnsReleaseBindings(const std::shared_ptr<CDHCP6Packet>& request,
                                              const std::shared_ptr<CDHCP6Packet>& reply,
                                              const COptionStorePtr& policyOptions,
                                              const std::vector<nuv::CIPAddress>& released,
                                              const std::vector<nuv::CIPAddress>& unnamed,
                                              std::vector<CDDNSUpdate> forward,
                                              std::vector<CDDNSUpdate> reverse) {
  std::optional<CDDNSUpdatePlan> plan = _ddnsPlan(request, policyOptions);
  _ddnsAnswer(request, reply, plan, released);
  _queueDDNS(true, true, std::move(forward));
  _queueDDNS(false, true, std::move(reverse));
  if (!plan) return;
  _queueDDNS(true, true, plan->updates(unnamed, true));
  _queueDDNS(false, true, plan->updates(unnamed, false));
}

void CDHCP6MsgProcessor::_ddnsAnswer(const std::shared_ptr<CDHCP6Packet>& request,
                                     const std::shared_ptr<CDHCP6Packet>& reply,
                                     std::optional<CDDNSUpdatePlan>& plan,
                                     const std::vector<nuv::CIPAddress>& addresses) {
  try {
    const COptionPtr replyFQDN = CDHCP6Util::cloneAndStoreOptional(
        CDHCP6OptionCode::clientFQDN, request->hostOptions(), reply->hostOptions());
    if (!plan) return;
    if (addresses.empty()) plan->clear();
    if (!replyFQDN) return;
    CIDHCPContext& context = m_tls->context();
    std::uint8_t flags =
        _fqdnFlags(topOption(request->hostOptions(), CDHCP6OptionCode::clientFQDN));
    CDDNSDataFinder::setSFlag(flags, plan->forward());
    CDDNSDataFinder::setNFlag(context, flags, !plan->forward() && !plan->reverse());
    CDHCP6Util::setElement(replyFQDN, CDDNSDataFinder::fqdnFlagsTag(context), flags);
    const std::string name = plan->fqdn(addresses.empty() ? nuv::CIPAddress() : addresses[0]);
    if (!name.empty() && name != plan->clientName())
      CDHCP6Util::setElement(replyFQDN, CDDNSDataFinder::fqdnDomainTag(context), name);
  } catch (const std::exception& e) {
    _log(nuv::sev_error, _msg("%1 Cannot prepare the DNS update: %2").pushs(e.what()));
    plan.reset();
  }
}

void CDHCP6MsgProcessor::_queueDDNS(bool forward, bool release, std::vector<CDDNSUpdate> updates) {
  using Action = CCmdDeferredDDNS::Action;
  const Action action = forward ? (release ? Action::deleteForward : Action::addForward)
                                : (release ? Action::deleteReverse : Action::addReverse);
  for (CDDNSUpdate& update : updates) _queueDDNS(action, std::move(update));
}

void CDHCP6MsgProcessor::_queueDDNS(CCmdDeferredDDNS::Action action, CDDNSUpdate update) {
  if (_debugEnabled())
    _log(nuv::sev_debug, _msg("%1 Handing the DNS update of '%2' in zone '%3' to the DDNS "
                              "service after commit.")
                             .pushs(update.fqdn)
                             .pushs(update.zone));
  m_tls->syncCommands().append(
      std::make_unique<CCmdDeferredDDNS>(m_tls->context(), action, std::move(update)));
}

COptionStorePtr CDHCP6MsgProcessor::_createOptionSet(const std::string& name) const {
  return m_tls->context().factory().createOS(name);
}
