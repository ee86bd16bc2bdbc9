#pragma once
// "dnsname": each name as DNS labels (length byte, label bytes) closed by a
// zero byte. Compressed names are refused: options are read without the
// message around them. A payload that ends after a whole label without the
// closing zero (a partial name, as in Client FQDN) still reads. Names
// given as text must be made of letters, digits and "-_*/", so that the
// text form of a set reads back as the same set.

#include <string>

#include "dhcp_base/CLeafIO.h"

class CDNSNameIO : public CLeafIO<CDNSNameIO, std::string> {
 public:
  static constexpr const char* kTypeName = "CDNSNameOption";

  static std::size_t size(const std::string& v, const COption&);
  static void writeOne(std::uint8_t* out, const std::string& v, const COption&);
  static std::string readOne(const std::uint8_t* p, std::size_t n, const COption& option,
                             COptionInputContext& ic);
  static void readAll(const std::uint8_t* bytes, std::size_t n, Values& values, COption& option,
                      COptionInputContext& ic);
  static std::string format(const std::string& v, const COption&) { return v; }
  static std::string parse(const std::string& text, const COption& option);

 private:
  // Reads one name at pos; returns the position after it.
  static const std::uint8_t* _readName(const std::uint8_t* pos, const std::uint8_t* end,
                                       std::string& name, const COption& option,
                                       COptionInputContext& ic);
};
