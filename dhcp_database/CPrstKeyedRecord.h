#pragma once
// What bindings and pendings share: the protocol family, the key of the
// record (the DHCPv6 leaves hold CLIENT_ID, IATYPE and IAID; a record of
// another protocol has none, and the DHCPv6 key operations then fail with
// "Type mismatch.") and, for prefix records, PREFIX_LEN.
// Base is the record's persistent base, Self the record class that keys
// dispatch on (CPrstBinding, CPrstPending).

#include <cstdint>
#include <memory>
#include <string>

#include "dhcp_database/CBinding6Identifier.h"
#include "dhcp_database/CPrstBinding6Key.h"
#include "dhcp_database/CPrstPool.h"
#include "dhcp_database/CRecordTextWriter.h"
#include "oodb/CPrstValueTraits.h"

template <class Base, class Self>
class CPrstKeyedRecord : public Base {
 public:
  virtual int family() const = 0;

  std::unique_ptr<CBindingIdentifier> createIdentifier() const {
    return CPrstBinding6Key::identifier(_key6());
  }
  // Copies any kind of key into the record (through the key's dispatch).
  void bindingID(const CBindingIdentifier& id) { id.applyBindingID(static_cast<Self&>(*this)); }
  // The statement arguments of the key for this record's queries.
  void setArgs(const CBinding6Identifier& id, nuv::CStringMap& args) const {
    CPrstBinding6Key::require(_key6(), *this, id, "CPrstKeyedRecord::setArgs");
    id.args(args);
  }
  void applyBindingID(const CBinding6Identifier& id) {
    CPrstBinding6Key::require(_key6(), *this, id, "CPrstKeyedRecord::applyBindingID")
        .assign(id.tuple());
  }
  void bindingIDUpdate(CBinding6Identifier& id) const {
    id = CBinding6Identifier(
        CPrstBinding6Key::require(_key6(), *this, id, "CPrstKeyedRecord::bindingIDUpdate").tuple());
  }

 protected:
  using Base::Base;

  virtual CPrstBinding6Key* _key6() { return nullptr; }
  virtual const CPrstBinding6Key* _key6() const { return nullptr; }
  // PREFIX_LEN of prefix records, null for address records.
  virtual CPrstAttr<std::uint32_t>* _prefixLen() { return nullptr; }
  virtual const CPrstAttr<std::uint32_t>* _prefixLen() const { return nullptr; }
  // The prototype of the pools the record's POOL_OID names.
  virtual const char* _poolPrototype() const = 0;

  // The name of the pool with that identity; its number when there is no
  // such pool, empty for none (0 or less).
  std::string _OIDToPoolName(std::int32_t oid) const {
    if (oid <= 0) return {};
    if (CIPrstSession* s = this->session())
      if (auto pool = s->find(_poolPrototype(), oid))
        if (const auto* p = dynamic_cast<const CPrstPool*>(pool.get())) return p->name();
    return std::to_string(oid);
  }
  // The text-form keys client_id, iatype, iaid and prefix_len.
  void _writeKey(CRecordTextWriter& out) const {
    if (const CPrstBinding6Key* key = _key6()) {
      out.add("client_id", CPrstValueTraits<nuv::CHexStore>::text(key->duid()));
      out.add("iatype", key->iaType().string());
      out.add("iaid", std::to_string(key->iaid()));
    }
    if (const auto* len = _prefixLen()) out.add("prefix_len", std::to_string(len->get()));
  }
};
