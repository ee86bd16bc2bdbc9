#include "dhcp_base/CElementAttributes.h"

#include "standard/CException.h"
#include "standard/CStringMap.h"

namespace {
std::uint8_t width(const nuv::CStringMap& r, const char* key, std::uint8_t def) {
  std::uint32_t v = r.get_uint32(key, def);
  if (v > 8)
    NUV_THROW("CElementAttributes::set", nuv::CMessage("Cannot set '%1' to %2.").pushs(key).push(v),
              nuv::CMessage("Data width %1 is not supported.").push(v));
  return static_cast<std::uint8_t>(v);
}
}  // namespace

void CElementAttributes::set(const nuv::CStringMap& r) {
  arrayed = r.get_bool("arrayed", arrayed);
  isSigned = r.get_bool("signed", isSigned);
  nullTerminated = r.get_bool("null_terminated", nullTerminated);
  unit = r.get("unit", unit);
  lenPrefixWidth = width(r, "len_prefix_width", lenPrefixWidth);
  subtagWidth = width(r, "subtag_width", subtagWidth);
  sublenWidth = width(r, "sublen_width", sublenWidth);
  subtypeWidth = width(r, "subtype_width", subtypeWidth);
  minValue = r.get_int64("min_value", minValue);
  maxValue = r.get_int64("max_value", maxValue);
}

std::string CElementAttributes::string() const {
  const CElementAttributes d;
  std::string out;
  auto line = [&out](const char* key, const std::string& value) {
    out.append(key).append(" = ").append(value).append("\n");
  };
  if (arrayed != d.arrayed) line("arrayed", arrayed ? "true" : "false");
  if (isSigned != d.isSigned) line("signed", isSigned ? "true" : "false");
  if (nullTerminated != d.nullTerminated)
    line("null_terminated", nullTerminated ? "true" : "false");
  if (unit != d.unit) line("unit", unit);
  if (lenPrefixWidth) line("len_prefix_width", std::to_string(lenPrefixWidth));
  if (subtagWidth) line("subtag_width", std::to_string(subtagWidth));
  if (sublenWidth) line("sublen_width", std::to_string(sublenWidth));
  if (subtypeWidth) line("subtype_width", std::to_string(subtypeWidth));
  if (minValue != d.minValue) line("min_value", std::to_string(minValue));
  if (maxValue != d.maxValue) line("max_value", std::to_string(maxValue));
  return out;
}
