#pragma once
// "dnsname": each name as DNS labels (length byte, label bytes) closed by a
// zero byte. Compressed names are refused: options are read without the
// message around them. A payload that ends after a whole label without the
// closing zero (a partial name, as in Client FQDN) still reads.
//
// The text form is the zone-file one (RFC 1035 5.1, RFC 4343): a dot in a
// label is "\.", a backslash "\\", and any byte but letters, digits and
// "-_*/" is "\DDD" (decimal), so that every name read from the wire
// writes back the same, a list's text form reads back as the same list, and
// no byte of a client's name reaches a log line as it came.

#include <string>
#include <string_view>

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

  // The position of the first dot that ends a label of a name's text form
  // (an escaped one does not), or npos.
  static std::size_t labelEnd(std::string_view text, std::size_t from = 0);
  // The text form without its final root dot (an escaped dot stays).
  static std::string_view withoutRootDot(std::string_view text);

 private:
  // Reads one name at pos; returns the position after it.
  // Writes the wire form of a valid text form (without root dot) to out,
  // or only counts it when out is null; returns its length.
  static std::size_t _wire(std::string_view text, std::uint8_t* out);
  // Appends a label's bytes in text form.
  static void _appendLabel(const std::uint8_t* label, std::size_t n, std::string& text);
  static const std::uint8_t* _readName(const std::uint8_t* pos, const std::uint8_t* end,
                                       std::string& name, const COption& option,
                                       COptionInputContext& ic);
};
