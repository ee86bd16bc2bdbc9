#pragma once
// The key of a DHCPv6 binding or pending: one CBinding6Tuple.

#include <memory>

#include "dhcp_database/CBinding6Tuple.h"
#include "dhcp_database/CBindingIdentifier.h"

class CBinding6Identifier : public CBindingIdentifier {
 public:
  CBinding6Identifier() = default;
  explicit CBinding6Identifier(CBinding6Tuple tuple) : m_tuple(std::move(tuple)) {}
  CBinding6Identifier(nuv::CHexStore duid, CIAType iaType, std::uint32_t iaid)
      : m_tuple(std::move(duid), iaType, iaid) {}
  CBinding6Identifier(const CBinding6Identifier& o) : CBindingIdentifier(o), m_tuple(o.m_tuple) {}
  CBinding6Identifier& operator=(const CBinding6Identifier& o) {
    m_tuple = o.m_tuple;
    return *this;
  }
  using CBindingIdentifier::operator=;

  const nuv::CHexStore& DUID() const { return m_tuple.duid(); }
  void DUID(nuv::CHexStore duid) { m_tuple.duid(std::move(duid)); }
  std::uint32_t IAID() const { return m_tuple.iaid(); }
  void IAID(std::uint32_t iaid) { m_tuple.iaid(iaid); }
  CIAType IAType() const { return m_tuple.iaType(); }
  void IAType(CIAType type) { m_tuple.iaType(type); }
  const nuv::CHexStore& clientIdentifier() const { return m_tuple.duid(); }
  const CBinding6Tuple& tuple() const { return m_tuple; }

  std::string string() const override { return m_tuple.string(); }
  std::unique_ptr<CBindingIdentifier> clone() const override {
    return std::make_unique<CBinding6Identifier>(*this);
  }
  void clear() override { m_tuple.clear(); }

  // CLIENT_ID (the DUID's hex text), IATYPE and IAID (signed decimal, so
  // IAID 4294967295 is "-1") as statement arguments.
  void args(nuv::CStringMap& args) const;

  void setArgs(const CPrstBinding& record, nuv::CStringMap& args) const override;
  void setArgs(const CPrstPending& record, nuv::CStringMap& args) const override;
  void applyBindingID(CPrstBinding& record) const override;
  void applyBindingID(CPrstPending& record) const override;
  void cacheUpdate(const CPrstBinding& record) override;
  void cacheUpdate(const CPrstPending& record) override;

 protected:
  bool _lessThan(const CBindingIdentifier& lhs) const override { return lhs._finalLessThan(*this); }
  bool _equal(const CBindingIdentifier& lhs) const override { return lhs._finalEqual(*this); }
  void _assign(CBindingIdentifier& lhs) const override { lhs._finalAssign(*this); }

  using CBindingIdentifier::_finalAssign;
  using CBindingIdentifier::_finalEqual;
  using CBindingIdentifier::_finalLessThan;
  bool _finalLessThan(const CBinding6Identifier& rhs) const override {
    return m_tuple < rhs.m_tuple;
  }
  bool _finalEqual(const CBinding6Identifier& rhs) const override { return m_tuple == rhs.m_tuple; }
  void _finalAssign(const CBinding6Identifier& rhs) override { m_tuple = rhs.m_tuple; }

 private:
  CBinding6Tuple m_tuple;
};
