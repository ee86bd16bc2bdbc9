#include "dhcp_database/CPrstNetworkPool.h"

#include "dhcp_database/CRecordTextReader.h"

CPrstPool::PrefixData CPrstNetworkPool::_setPrefixData(const CRecordTextReader& map,
                                                       const nuv::CIPAddress&) const {
  const CRecordTextReader in(map.map(), "CPrstNetworkPool::_setPrefixData",
                             "Cannot set network pool record from text.");
  const std::uint32_t width = family() == 4 ? 32 : 128;
  PrefixData out{prefix(), prefixLen(), subPrefixLen()};
  if (const std::string* v = in.get("prefix")) {
    const auto a = CRecordTextReader::address(*v, family());
    if (!a) in.invalid("prefix");
    out.prefix = *a;
  } else if (isTransient()) {
    in.fail("Missing 'prefix' key.");
  }
  if (const auto len = in.u32("prefix_len")) {
    if (*len > width) in.invalid("prefix_len");
    out.prefixLen = *len;
  } else if (isTransient()) {
    in.fail("Missing 'prefix_len' key.");
  }
  if (const auto len = in.u32("sub_prefix_len")) {
    if (*len > width || *len == 0) in.invalid("sub_prefix_len");
    out.subPrefixLen = *len;
  } else if (isTransient()) {
    in.fail("Missing 'sub_prefix_len' key.");
  }
  if (out.prefix.isValid()) out.prefix = out.prefix.createPrefix(out.prefixLen);
  return out;
}

std::string CPrstNetworkPool::_rangeSize() const {
  const std::uint32_t spl = subPrefixLen();
  nuv::CIPAddress span = range().stop() - range().start();
  if (spl == 0 || spl > span.bitWidth()) return "0";
  span.shiftRight(static_cast<unsigned>(span.bitWidth() - spl));
  return _decimal(span + 1);
}
