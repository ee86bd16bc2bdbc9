#pragma once
// An offer made in an Advertise and not yet requested: it reserves the
// offered address or prefix for one identity association until a Request
// claims it (it then becomes a binding) or it is collected. Not secured;
// pendings are made by the server only and never set from text.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "dhcp_database/CPrstBindingAddrKey.h"
#include "dhcp_database/CPrstKeyedRecord.h"
#include "oodb/CFirstClassObject.h"
#include "standard/CStringMap.h"

class CDHCPContext;
class CRecordTextWriter;

class CPrstPending : public CPrstKeyedRecord<CFirstClassObject, CPrstPending> {
 public:
  CDHCPContext* context() const { return m_context; }
  void context(CDHCPContext* context) { m_context = context; }

  const nuv::CIPAddress& offeredAddress() const { return m_ipAddr.get(); }
  void offeredAddress(const nuv::CIPAddress& a) {
    m_ipAddr.set(a);
    m_addrKey.follow(a);
  }
  const nuv::CIPAddress& relayAddress() const { return m_relay.get(); }
  void relayAddress(const nuv::CIPAddress& a) { m_relay.set(a); }
  std::int32_t poolOID() const { return m_poolOID.get(); }
  void poolOID(std::int32_t v) { m_poolOID.set(v); }
  nuv::CTimeT offerTime() const { return m_offerTime.get(); }
  void offerTime(nuv::CTimeT t) { m_offerTime.set(t); }
  // now - offer time, in whole seconds.
  std::int64_t age() const;

  // Key/value lines with the keys ipaddr, relay, source_pool, offer_time,
  // mod_time, client_id, iatype, iaid (and prefix_len for prefix pendings).
  std::string string() const override;
  // Always fails: "Cannot set a pending record from text." / "This
  // operation is not allowed.".
  void string(std::string_view text) override;
  [[noreturn]] void _set(const nuv::CStringMap& map);

 protected:
  CPrstPending() = default;
  void _postConstruction() override;

  friend class CPrstBinding;  // a binding takes a claimed offer's values

 private:
  CDHCPContext* m_context = nullptr;
  CPrstAttr<nuv::CIPAddress> m_ipAddr{this, "IPADDR"};
  CPrstBindingAddrKey m_addrKey{this};
  CPrstAttr<nuv::CIPAddress> m_relay{this, "RELAY"};
  CPrstAttr<std::int32_t> m_poolOID{this, "POOL_OID", CDBType::longInt};
  CPrstAttr<nuv::CTimeT> m_offerTime{this, "OFFER_TIME"};
};
