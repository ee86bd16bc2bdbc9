#include "dhcp_base/CVarbind.h"

#include "standard/StringUtil.h"

std::optional<CVarbind> CVarbind::fromText(std::string_view text) {
  const std::size_t semi = text.find(';');
  if (semi == std::string_view::npos) return std::nullopt;
  const std::size_t eq = text.find('=', semi);
  if (eq == std::string_view::npos) return std::nullopt;
  CVarbind v{nuv::trim(text.substr(0, semi)), nuv::trim(text.substr(semi + 1, eq - semi - 1)),
             nuv::trim(text.substr(eq + 1))};
  if (v.oid.empty() || v.type.empty()) return std::nullopt;
  return v;
}
