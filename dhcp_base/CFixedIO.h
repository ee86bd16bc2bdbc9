#pragma once
// "fixed_offset": child elements at the byte positions the definition's
// "fixed_offsets" give (IAID, T1, T2 and the sub-options of an IA). Bytes
// of the layout that no element fills are written as zeros.

#include "dhcp_base/CEncodedIO.h"

class CFixedIO : public CEncodedIO {
 public:
  static constexpr const char* kTypeName = "CFixedOption";

  const std::uint8_t* valueInput(const std::uint8_t* bytes, std::size_t length, Values& values,
                                 COption& option, COptionInputContext& ic) const;
  std::uint8_t* valueOutput(std::uint8_t* out, std::size_t room, const Values& values,
                            const COption& option, COptionOutputContext& oc) const;
  std::size_t area(const Values& values, const COption& option,
                   const COptionOutputContext* oc) const;
};
