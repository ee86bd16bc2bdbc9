#include "oodb/CAccessRights.h"

#include "oodb/SecurityFailure.h"
#include "standard/StringUtil.h"

namespace {
struct Name {
  const char* text;
  unsigned bits;
};
// The single rights first, in the order string() prints them.
constexpr Name kNames[] = {{"read", CAccessRights::read},       {"write", CAccessRights::write},
                           {"execute", CAccessRights::execute}, {"create", CAccessRights::create},
                           {"none", CAccessRights::none},       {"all", CAccessRights::all}};
constexpr std::size_t kSingleRights = 4;
}  // namespace

CAccessRights CAccessRights::parse(std::string_view text) {
  unsigned bits = none;
  for (const std::string& raw : nuv::split(text, ',')) {
    const std::string item = nuv::trim(raw);
    const Name* found = nullptr;
    for (const Name& n : kNames)
      if (nuv::iequals(item, n.text)) found = &n;
    if (!found)
      OODB_THROW_SECURITY("CAccessRights::parse",
                          nuv::CMessage("Cannot parse access rights '%1'.").pushs(text),
                          nuv::CMessage("Unknown right '%1'.").pushs(item));
    bits |= found->bits;
  }
  return CAccessRights(bits);
}

std::string CAccessRights::string() const {
  if (m_bits == none) return "none";
  std::string out;
  for (std::size_t i = 0; i < kSingleRights; ++i) {
    if (!(m_bits & kNames[i].bits)) continue;
    if (!out.empty()) out += ',';
    out += kNames[i].text;
  }
  return out;
}
