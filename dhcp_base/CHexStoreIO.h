#pragma once
// "byte_sequence": the raw bytes. Text: hexadecimal pairs joined by "-"
// (input also takes ":" or no separator).

#include "dhcp_base/CLeafIO.h"
#include "standard/CHexStore.h"

class CHexStoreIO : public CLeafIO<CHexStoreIO, nuv::CHexStore> {
 public:
  static constexpr const char* kTypeName = "CHexStoreOption";
  static constexpr bool kQuoted = true;

  static std::size_t size(const nuv::CHexStore& v, const COption&) { return v.size(); }
  static void writeOne(std::uint8_t* out, const nuv::CHexStore& v, const COption&);
  static nuv::CHexStore readOne(const std::uint8_t* p, std::size_t n, const COption&,
                                COptionInputContext&) {
    return nuv::CHexStore(p, n);
  }
  static std::string format(const nuv::CHexStore& v, const COption&) { return v.string(); }
  static nuv::CHexStore parse(const std::string& text, const COption& option);
};
