#include "dhcp_base/CFixedIO.h"

#include <algorithm>
#include <cstring>

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COptionFactory.h"
#include "dhcp_base/COptionInputContext.h"

const std::uint8_t* CFixedIO::valueInput(const std::uint8_t* bytes, std::size_t length,
                                         Values& values, COption& option,
                                         COptionInputContext& ic) const {
  const CVendorID current = ic.vendor();
  CVendorScope scope(ic, childVendor(option, current, ic));
  COptionFactory& factory = option.context()->factory();
  for (const CFixedRawOffset& e : option.attributes().fixedOffsets) {
    if (e.offset > length || (e.length && e.length > length - e.offset))
      _tooShort(option, ic.messageStart(), bytes + std::min<std::size_t>(e.offset, length));
    const std::size_t n = e.length ? e.length : length - e.offset;
    COption::Ptr child = factory.create(e.code, ic.vendor(), &option, true);
    if (!child) continue;
    child->valueInput(bytes + e.offset, n, ic);
    values.push_back(std::move(child));
  }
  return bytes + length;
}

std::size_t CFixedIO::area(const Values& values, const COption& option,
                           const COptionOutputContext* oc) const {
  std::size_t n = 0;
  for (const CFixedRawOffset& e : option.attributes().fixedOffsets) {
    std::size_t len = e.length;
    if (!len)
      for (const COption::Ptr& c : values)
        if (c->tag() == e.code) {
          len = c->valueArea(oc);
          break;
        }
    n = std::max<std::size_t>(n, e.offset + len);
  }
  return n;
}

std::uint8_t* CFixedIO::valueOutput(std::uint8_t* out, std::size_t room, const Values& values,
                                    const COption& option, COptionOutputContext& oc) const {
  const CFixedOffsetStorage& layout = option.attributes().fixedOffsets;
  for (const COption::Ptr& c : values)
    if (!layout.find(c->tag()))
      _fail("CFixedIO::valueOutput", "Cannot output option %1.",
            "No fixed offset for this option is defined.", {c->label()});
  const std::size_t total = area(values, option, &oc);
  if (total > room) _outputTooSmall(option);
  std::memset(out, 0, total);
  // An element that runs to the end may write more than its area said
  // (an expression knows its size only when evaluated).
  std::uint8_t* end = out + total;
  for (const COption::Ptr& c : values) {
    const CFixedRawOffset* e = layout.find(c->tag());
    std::uint8_t* stop =
        c->valueOutput(out + e->offset, e->length ? e->length : room - e->offset, oc);
    if (!e->length) end = std::max(end, stop);
  }
  return end;
}
