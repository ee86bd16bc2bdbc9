#include "dhcp_base/CTimeTIO.h"

#include <cerrno>
#include <cstdlib>

#include "standard/StringUtil.h"

std::string CTimeTIO::format(const nuv::CTimeT& v, const COption&) {
  if (static_cast<std::uint32_t>(v.get()) == kInfinite) return "infinite";
  return std::to_string(static_cast<std::int64_t>(v.get()));
}

nuv::CTimeT CTimeTIO::parse(const std::string& text, const COption& option) {
  if (nuv::iequals(text, "infinite")) return nuv::CTimeT(static_cast<std::time_t>(kInfinite));
  if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
    errno = 0;
    char* end = nullptr;
    unsigned long long v = std::strtoull(text.c_str(), &end, 0);
    if (*end == '\0' && errno == 0 && v <= kInfinite)
      return nuv::CTimeT(static_cast<std::time_t>(v));
  }
  if (std::optional<nuv::CTimeT> t = nuv::CTimeT::fromText(text)) return *t;
  _fail("CTimeTIO::set", "Cannot set time value '%1' for option %2.", "Invalid time value.",
        {text, option.label()});
}
