#include "extended/CSystemMode.h"

#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace {
// Indexed by the mode value.
const char* const kNames[] = {"unknown", "init",     "paused", "servicing",
                              "standby", "learning", "error"};
constexpr unsigned kCount = sizeof kNames / sizeof kNames[0];
}  // namespace

CSystemMode CSystemMode::fromValue(unsigned value) {
  if (value >= kCount)
    NUV_THROW("CSystemMode::fromValue", nuv::CMessage("Cannot create system mode %1.").push(value),
              nuv::CMessage("Invalid value."));
  return CSystemMode(static_cast<Mode>(value));
}

CSystemMode CSystemMode::parse(std::string_view name) {
  for (unsigned i = 0; i < kCount; ++i)
    if (nuv::iequals(name, kNames[i])) return CSystemMode(static_cast<Mode>(i));
  NUV_THROW("CSystemMode::parse", nuv::CMessage("Cannot parse system mode '%1'.").pushs(name),
            nuv::CMessage("Unknown mode."));
}

std::string CSystemMode::string() const {
  // A value forced past the enumeration by a cast still prints.
  return m_mode < kCount ? kNames[m_mode] : "unknown";
}
