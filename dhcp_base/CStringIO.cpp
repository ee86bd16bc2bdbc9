#include "dhcp_base/CStringIO.h"

#include <cstring>

void CStringIO::writeOne(std::uint8_t* out, const std::string& v, const COption& option) {
  std::memcpy(out, v.data(), v.size());
  if (option.attributes().element.nullTerminated) out[v.size()] = 0;
}

std::string CStringIO::readOne(const std::uint8_t* p, std::size_t n, const COption& option,
                               COptionInputContext&) {
  if (option.attributes().element.nullTerminated && n && p[n - 1] == 0) --n;
  return std::string(reinterpret_cast<const char*>(p), n);
}

void CStringIO::readAll(const std::uint8_t* bytes, std::size_t n, Values& values, COption& option,
                        COptionInputContext& ic) {
  const CElementAttributes& e = option.attributes().element;
  if (!(e.arrayed && e.nullTerminated)) {
    values.push_back(readOne(bytes, n, option, ic));
    return;
  }
  const std::uint8_t* end = bytes + n;
  while (bytes < end) {
    const void* zero = std::memchr(bytes, 0, static_cast<std::size_t>(end - bytes));
    const std::uint8_t* stop = zero ? static_cast<const std::uint8_t*>(zero) : end;
    values.emplace_back(reinterpret_cast<const char*>(bytes),
                        static_cast<std::size_t>(stop - bytes));
    bytes = stop + (zero ? 1 : 0);
  }
}
