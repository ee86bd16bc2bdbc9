#pragma once
// The key of one DHCPv6 identity association: the client's DUID, the kind
// of IA and its IAID. Ordered by DUID, then IA type number, then IAID
// (unsigned), so that it can key maps of a client's leases.
//
// Text form "<duid>,<ia type>,<iaid>": "00-01-AB,iana,4294967295".

#include <cstdint>
#include <string>
#include <string_view>

#include "dhcp_base/CIAType.h"
#include "standard/CHexStore.h"

class CBinding6Tuple {
 public:
  CBinding6Tuple() = default;
  CBinding6Tuple(nuv::CHexStore duid, CIAType iaType, std::uint32_t iaid)
      : m_duid(std::move(duid)), m_iaid(iaid), m_iaType(iaType) {}
  CBinding6Tuple(const CBinding6Tuple&) = default;
  CBinding6Tuple& operator=(const CBinding6Tuple&) = default;
  virtual ~CBinding6Tuple() = default;

  const nuv::CHexStore& duid() const { return m_duid; }
  void duid(nuv::CHexStore duid) { m_duid = std::move(duid); }
  std::uint32_t iaid() const { return m_iaid; }
  void iaid(std::uint32_t iaid) { m_iaid = iaid; }
  CIAType iaType() const { return m_iaType; }
  void iaType(CIAType type) { m_iaType = type; }
  void clear() { *this = CBinding6Tuple(); }

  bool operator==(const CBinding6Tuple& o) const {
    return m_iaid == o.m_iaid && m_iaType.value() == o.m_iaType.value() && m_duid == o.m_duid;
  }
  bool operator!=(const CBinding6Tuple& o) const { return !(*this == o); }
  bool operator<(const CBinding6Tuple& o) const;
  bool operator>(const CBinding6Tuple& o) const { return o < *this; }

  std::string string() const;
  // Sets all three fields from the text form; throws "Cannot set binding
  // tuple from text." (module "dhcp_base") and leaves the tuple unchanged
  // when a field does not convert.
  void string(std::string_view text);

 private:
  nuv::CHexStore m_duid;
  std::uint32_t m_iaid = 0;
  CIAType m_iaType;
};
