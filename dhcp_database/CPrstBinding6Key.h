#pragma once
// The DHCPv6 key columns of a binding or pending: CLIENT_ID (the DUID),
// IATYPE and IAID. A record holds one as a member made with `this`.

#include <cstdint>
#include <memory>

#include "dhcp_database/CBinding6Tuple.h"
#include "oodb/CPrstAttr.h"

class CBindingIdentifier;

class CPrstBinding6Key {
 public:
  explicit CPrstBinding6Key(CPrstUserBase* owner)
      : m_duid(owner, "CLIENT_ID"),
        m_iaType(owner, "IATYPE", CDBType::uint32, CIAType::unknown),
        m_iaid(owner, "IAID") {}

  CBinding6Tuple tuple() const { return CBinding6Tuple(m_duid.get(), iaType(), m_iaid.get()); }
  void assign(const CBinding6Tuple& t) {
    m_duid.set(t.duid());
    m_iaType.set(t.iaType().value());
    m_iaid.set(t.iaid());
  }
  // The key of a record that may have none (a record of another protocol):
  // fails "Type mismatch." without one.
  static CPrstBinding6Key& require(CPrstBinding6Key* key, const CPrstUserBase& record,
                                   const CBindingIdentifier& id, const char* context);
  static const CPrstBinding6Key& require(const CPrstBinding6Key* key, const CPrstUserBase& record,
                                         const CBindingIdentifier& id, const char* context);
  // A new DHCPv6 identifier of the key; null without one.
  static std::unique_ptr<CBindingIdentifier> identifier(const CPrstBinding6Key* key);

  const nuv::CHexStore& duid() const { return m_duid.get(); }
  void duid(nuv::CHexStore v) { m_duid.set(std::move(v)); }
  CIAType iaType() const { return CIAType(static_cast<std::uint8_t>(m_iaType.get())); }
  void iaType(CIAType v) { m_iaType.set(v.value()); }
  std::uint32_t iaid() const { return m_iaid.get(); }
  void iaid(std::uint32_t v) { m_iaid.set(v); }

 private:
  CPrstAttr<nuv::CHexStore> m_duid;
  CPrstAttr<std::uint32_t> m_iaType;
  CPrstAttr<std::uint32_t> m_iaid;
};
