#include "dhcp_base/CProtoControlIO.h"

#include "dhcp_base/COption.h"
#include "standard/StringUtil.h"

void CProtoControlIO::set(std::string_view text, Values&, COption& option, COptionInputContext&,
                          bool) const {
  const std::string t = nuv::trim(text);
  if (!t.empty())
    _fail("CProtoControlIO::set", "Cannot set value '%1' for control option %2.",
          "Control options cannot be assigned a value.", {t, option.label()});
}

void CProtoControlIO::setJSON(const nlohmann::json& j, Values& values, COption& option,
                              COptionInputContext& ic) const {
  if (j.is_null() || (j.is_array() && j.empty())) return;
  set(j.dump(), values, option, ic, false);
}
