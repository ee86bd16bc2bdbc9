#include "dhcp_database/CPrstAddressPool.h"

#include "dhcp_database/CRecordTextReader.h"
#include "standard/CException.h"

void CPrstAddressPool::subPrefixLen(std::uint32_t v) {
  if (v != _width())
    NUV_THROW(
        "CPrstAddressPool::subPrefixLen", nuv::CMessage("Unable to set sub-prefix length."),
        nuv::CMessage("The sub-prefix length is fixed at %1 for address bindings.").push(_width()));
  CPrstPool::subPrefixLen(v);
}

CPrstPool::PrefixData CPrstAddressPool::_setPrefixData(const CRecordTextReader& map,
                                                       const nuv::CIPAddress& rangeStart) const {
  const CRecordTextReader in(map.map(), "CPrstAddressPool::_setPrefixData",
                             "Cannot set address pool record from text.");
  PrefixData out{prefix(), prefixLen(), _width()};
  if (const auto len = in.u32("prefix_len")) {
    if (*len > _width()) in.invalid("prefix_len");
    out.prefixLen = *len;
  } else if (isTransient()) {
    in.fail("Missing 'prefix_len' key.");
  }
  if (const std::string* v = in.get("prefix")) {
    const auto a = CRecordTextReader::address(*v, family());
    if (!a) in.invalid("prefix");
    out.prefix = *a;
  } else if (!out.prefix.isValid() && rangeStart.isValid()) {
    out.prefix = rangeStart;  // the network of the range
  }
  if (out.prefix.isValid()) out.prefix = out.prefix.createPrefix(out.prefixLen);
  if (rangeStart.isValid() && out.prefix.isValid() &&
      rangeStart.createPrefix(out.prefixLen) != out.prefix)
    in.fail("The 'prefix' network does not appear to encompass the 'rangestart' value.");
  return out;
}

std::string CPrstAddressPool::_rangeSize() const {
  return _decimal(range().stop() - range().start() + 1);
}
