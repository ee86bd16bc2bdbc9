#pragma once
// What every message processor shares. One processor object answers one
// client message on the handler thread: it reads the request, writes the
// reply in place (the handler already put the transaction-id, the relay
// path and the Server Identifier in it) and reads and writes records in
// the thread's transaction. It never commits and never sends; execute()
// returns what the handler is to do.
//
// Every log line starts with the packet prefix "[<name>/0x<transaction-id>]".

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dhcp6_server/CDHCP6TransmitCode.h"
#include "dhcp_base/CDHCP6Packet.h"
#include "dhcp_database/CBinding6Identifier.h"
#include "dhcp_database/CBinding6Tuple.h"
#include "dhcp_database/CPolicyFinder.h"
#include "dhcp_database/CPolicyRecord.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPending6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "dhcp_database/CPrstNetworkPending6.h"
#include "dhcp_database/CPrstNetworkPool6.h"
#include "dhcp_server_common/CBindingFilterResult.h"
#include "dhcp_server_common/CCmdDeferredDDNS.h"
#include "dhcp_server_common/CDDNSUpdatePlan.h"
#include "dhcp_server_common/CNodeContext.h"
#include "standard/CIPAddress.h"
#include "standard/CMessage.h"

class CDHCP6TLS;
class CLogSink;
template <class Pool>
class CPoolFinder;

class CDHCP6MsgProcessor {
 public:
  using Code = CDHCP6TransmitCode::code;
  using Policies = CPolicyFinder<CPolicyRecord>::List;
  // The client's token as the leases and pools found with it keep it.
  using Token = std::shared_ptr<const CAccessToken>;
  using APending = CPrstUserClassPtr<CPrstAddressPending6>;
  using NPending = CPrstUserClassPtr<CPrstNetworkPending6>;
  using AExtensible = CBindingFilterResult<CPrstAddressPool6, CPrstAddressBinding6>;
  using NExtensible = CBindingFilterResult<CPrstNetworkPool6, CPrstNetworkBinding6>;
  // Server control options a policy may carry.
  static constexpr std::uint32_t kStorageDUIDOption = 100013;
  static constexpr std::uint32_t kDstPortOption = 100017;

  virtual ~CDHCP6MsgProcessor();
  CDHCP6MsgProcessor(const CDHCP6MsgProcessor&) = delete;
  CDHCP6MsgProcessor& operator=(const CDHCP6MsgProcessor&) = delete;

 protected:
  CDHCP6MsgProcessor(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link, const char* name,
                     unsigned int transactionId);

  // Per IA: true to go on with the next one; false stops the message with
  // the code set. An IA_TA takes the IA_NA steps under its own type.
  virtual bool _processIATA(const CBinding6Identifier& id, Code& code) {
    return _processIANA(id, code);
  }
  virtual bool _processIANA(const CBinding6Identifier& id, Code& code) = 0;
  virtual bool _processIAPD(const CBinding6Identifier& id, Code& code) = 0;

  // The steps every answer begins with: the load balancer's gate, the
  // provisioning hook, the reply header of replyType, the client's
  // policies merged into policyOptions, the reply port, the Client
  // Identifier copied into the reply and the client's IAs keyed by its
  // storage identity. False (nothing else done) when the balancer refuses,
  // or, with otherServerLine, when the message names another server (or
  // none): that is then checked right after provisioning and logged.
  bool _begin(unsigned short& port, CDHCP6MsgType replyType, const COptionStorePtr& policyOptions,
              nuv::CHexStore& duid, std::vector<CBinding6Tuple>& ids,
              const char* otherServerLine = nullptr);
  // Whether this server answers the message at all.
  bool _balancerCheck();
  // Lets the provisioner fill the client's token; the client's account.
  CAccessID _provision();
  // The request's message-type field, copied into the reply as type.
  void _replyHeader(CDHCP6MsgType type);
  // Whether the request names a server other than this one; a request
  // without a Server Identifier names none.
  bool _namesOtherServer() const;
  // Replaces duid when the policies give a storage identity.
  bool _storageClientID(const COptionPtr& policyOptions, nuv::CHexStore& duid);
  // Overrides the reply's UDP port when the policies give one.
  bool _setDstPort(unsigned short& port, const COptionPtr& policyOptions);
  // The global policies, then the client's, each walked last to first, so
  // that a policy nearer the front wins and a client policy beats a global one.
  void _mergePolicies(const Policies& policies, const COptionPtr& target);
  // The top level of a reply that leases: every requested option, from the
  // policy set before the pools set, then the rest of both sets merged in,
  // a policy option replacing a pool option of the same code. placed holds
  // the codes already in the reply's IAs on entry (they are left out) and
  // every code placed on return. Both sets are emptied.
  void _addTopLevelOptions(const COptionStorePtr& poolOptions, const COptionStorePtr& policyOptions,
                           std::vector<std::uint32_t>& placed);
  // Calls the IA operation of each tuple's type in order.
  bool _processBindingIDs(const std::vector<CBinding6Tuple>& ids, Code& code);
  // The client's live offer for the identity association on the link; a
  // stale one (older than 9 seconds) is deleted and not returned.
  APending _findAPending(const CBinding6Identifier& id, const nuv::CIPAddress& link);
  NPending _findNPending(const CBinding6Identifier& id, const nuv::CIPAddress& link);
  // Deletes the offer in the transaction; its address or prefix goes back
  // to the address manager once the transaction has committed.
  void _deleteAPending(const APending& pending);
  void _deleteNPending(const NPending& pending);
  // The client's leases of the identity association made on the link that
  // may still be extended, each with its pool.
  void _findExtensibleBindings(const CBinding6Identifier& id, const nuv::CIPAddress& link,
                               const Token& token, std::vector<AExtensible>& out);
  void _findExtensibleBindings(const CBinding6Identifier& id, const nuv::CIPAddress& link,
                               const Token& token, std::vector<NExtensible>& out);
  // DNS updates, never failing the message. A Request plans them before
  // it writes its bindings, so that each address binding keeps what it
  // gets in the DNS (CDDNSLeaseNames) with the write it makes anyway; after
  // the IAs the Client FQDN option is copied into the reply with the flags
  // of what the server does, and the updates are handed to the DDNS
  // service after the commit. A Release deletes what its bindings kept,
  // and for those that kept nothing what the policies and the message's
  // name call for.
  std::optional<CDDNSUpdatePlan> _ddnsPlan(const std::shared_ptr<CDHCP6Packet>& request,
                                           const COptionStorePtr& policyOptions);
  // Has the binding of address keep the names the plan gives it (a plan
  // that updates nothing leaves what it kept); records it kept that the
  // plan does not renew are deleted after the commit (a changed name).
  void _ddnsKeepNames(const std::optional<CDDNSUpdatePlan>& plan, CPrstBinding& binding,
                      const nuv::CIPAddress& address);
  // The binding forgets its names; their deletes join forward and reverse.
  // False when it kept none (or they cannot be read: logged).
  bool _ddnsTakeNames(CPrstBinding& binding, std::vector<CDDNSUpdate>& forward,
                      std::vector<CDDNSUpdate>& reverse);
  void _ddnsExtendBindings(const std::shared_ptr<CDHCP6Packet>& request,
                           const std::shared_ptr<CDHCP6Packet>& reply,
                           std::optional<CDDNSUpdatePlan>& plan,
                           const std::vector<nuv::CIPAddress>& addresses);
  // released: every address the Release ended; unnamed: those whose
  // bindings kept no names; forward and reverse: the deletes of the kept ones.
  void _ddnsReleaseBindings(const std::shared_ptr<CDHCP6Packet>& request,
                            const std::shared_ptr<CDHCP6Packet>& reply,
                            const COptionStorePtr& policyOptions,
                            const std::vector<nuv::CIPAddress>& released,
                            const std::vector<nuv::CIPAddress>& unnamed,
                            std::vector<CDDNSUpdate> forward, std::vector<CDDNSUpdate> reverse);
  // A new empty option set made by the context's factory.
  COptionStorePtr _createOptionSet(const std::string& name) const;
  // The client's own policies.
  Policies _clientPolicies();

  // A processor line: the template with the packet prefix as %1; push
  // the other arguments after it.
  nuv::CMessage _msg(const char* text) const { return nuv::CMessage(text).pushs(m_pktID); }
  void _log(unsigned severity, const nuv::CMessage& message) const;
  bool _debugEnabled() const;

  CDHCP6TLS* _tls() const { return m_tls; }
  CNodeContext& _nodeContext() const { return m_node; }
  const nuv::CIPAddress& _relay() const { return m_link; }
  const std::string& _pktID() const { return m_pktID; }
  const std::shared_ptr<CDHCP6Packet>& _source() const { return m_source; }
  const std::shared_ptr<CDHCP6Packet>& _dest() const { return m_dest; }
  const nuv::CHexStore& _serverDUID() const;
  // The client's account as the provisioning hook of _begin found it.
  const CAccessID& _account() const { return m_account; }

 private:
  CLogSink& _logSink() const;
  template <class Release, class Pending, class Finder>
  CPrstUserClassPtr<Pending> _findPending(Finder& finder, const CBinding6Identifier& id,
                                          const nuv::CIPAddress& link, const char* staleLine);
  template <class Release, class Pending>
  void _deletePending(const CPrstUserClassPtr<Pending>& pending);
  // The reply's Client FQDN option (when the client sent one) with the
  // flags of what the plan does for addresses.
  void _ddnsAnswer(const std::shared_ptr<CDHCP6Packet>& request,
                   const std::shared_ptr<CDHCP6Packet>& reply, std::optional<CDDNSUpdatePlan>& plan,
                   const std::vector<nuv::CIPAddress>& addresses);
  void _queueDDNS(bool forward, bool release, std::vector<CDDNSUpdate> updates);
  // The flags byte of a Client FQDN option (0 without one).
  std::uint8_t _fqdnFlags(const COptionPtr& fqdn) const;
  void _queueDDNS(CCmdDeferredDDNS::Action action, CDDNSUpdate update);
  template <class Binding, class Pool, class Result>
  void _extensible(CPoolFinder<Pool>& finder, const CBinding6Identifier& id,
                   const nuv::CIPAddress& link, const Token& token, const char* foundLine,
                   const char* keptLine, std::vector<Result>& out);

  CDHCP6TLS* m_tls;
  CNodeContext& m_node;
  nuv::CIPAddress m_link;
  std::string m_pktID;
  std::shared_ptr<CDHCP6Packet> m_source;
  std::shared_ptr<CDHCP6Packet> m_dest;
  CAccessID m_account;
};
