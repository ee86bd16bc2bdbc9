#include "dhcp_base/CBooleanIO.h"

#include "standard/StringUtil.h"

bool CBooleanIO::parse(const std::string& text, const COption&) {
  if (nuv::iequals(text, "true")) return true;
  if (nuv::iequals(text, "false")) return false;
  _fail("CBooleanIO::set", "Cannot set boolean value from text.",
        "A boolean value must be 'true' or 'false'.");
}
