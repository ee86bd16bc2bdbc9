#include "dhcp_base/CCodePath.h"

#include <cerrno>
#include <cstdlib>

#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace detail {

void codePathFailure(const char* context, const char* what, std::string_view text,
                     const char* why) {
  NUV_THROW(context, nuv::CMessage(what).pushs(text), nuv::CMessage(why).pushs(text));
}

std::string codePathString(const std::int64_t* values, std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) {
    if (i) out += '/';
    out += std::to_string(values[i]);
  }
  return out;
}

std::size_t parseCodePath(std::string_view text, std::int64_t* out, const char* context,
                          const char* what) {
  std::string t = nuv::trim(text);
  if (t.empty()) return 0;
  std::size_t n = 0;
  for (const std::string& raw : nuv::split(t, '/')) {
    std::string item = nuv::trim(raw);
    if (n == CCodePath<std::uint32_t>::kMaxSize)
      codePathFailure(context, what, text, "A path has at most 100 components.");
    errno = 0;
    char* end = nullptr;
    long long v = item.empty() ? 0 : std::strtoll(item.c_str(), &end, 0);
    if (item.empty() || *end != '\0' || errno == ERANGE || v < INT32_MIN || v > UINT32_MAX)
      NUV_THROW(context, nuv::CMessage(what).pushs(text),
                nuv::CMessage("Invalid path component '%1'.").pushs(item));
    out[n++] = v;
  }
  return n;
}

}  // namespace detail
