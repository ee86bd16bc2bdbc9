#include "dhcp_base/CVendorIDResolver.h"

#include <cerrno>
#include <cstdlib>

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COptionStore.h"
#include "dhcp_base/CValueTypeConverter.h"
#include "dhcp_base/CVendorLookup.h"
#include "exp_eval/CExpression.h"
#include "standard/CException.h"
#include "standard/StringUtil.h"

const COption* CVendorIDResolver::_resolverOption(const CTagPath& path) const {
  for (const COption* anc = &m_option; anc; anc = anc->parent()) {
    if (!anc->canParent()) continue;
    const CTagPath base = anc->childBasePath();
    if (base.size() >= path.size() || !path.startsWith(base)) continue;
    CTagPath rest;
    for (std::size_t i = base.size(); i < path.size(); ++i) rest.push_back(path[i]);
    COption::Ptr hit;
    if (anc->find(rest, hit)) return hit.get();
  }
  COption::Ptr hit;
  if (m_top && m_top->find(path, hit)) return hit.get();
  return nullptr;
}

CVendorID CVendorIDResolver::_fromVariant(const nuv::CVariant& value) const {
  using T = nuv::CVariantType;
  switch (value.type()) {
    case T::dt_integer:
    case T::dt_uinteger: {
      const std::uint64_t n = value.uinteger();
      if (n == 0)
        NUV_THROW("CVendorIDResolver::find",
                  nuv::CMessage("Cannot resolve vendor id for options contained in %1.")
                      .pushs(m_option.label()),
                  nuv::CMessage("Reserved enterprise identifier '0' is not a valid vendor id."));
      return CVendorID{static_cast<std::int32_t>(n)};
    }
    case T::dt_string:
      return m_option.context()->vendorLookup().locate(value.string())->vendorId;
    default:
      NUV_THROW("CVendorIDResolver::find", nuv::CMessage("Cannot resolve vendor id."),
                nuv::CMessage("Resolver option is an unrecognized data type."));
  }
}

CVendorID CVendorIDResolver::find(const CVendorID& currentVendor) const {
  const std::string text = nuv::trim(m_option.attributes().contextVendorId);
  if (text.empty()) return currentVendor;

  if (text.size() > 2 && text.front() == '<' && text.back() == '>') {
    const CTagPath path(text.substr(1, text.size() - 2));
    const COption* resolver = _resolverOption(path);
    if (!resolver || resolver->count() == 0)
      NUV_THROW("CVendorIDResolver::find",
                nuv::CMessage("Cannot resolve vendor id for options contained in %1.")
                    .pushs(m_option.label()),
                nuv::CMessage("Resolver option %1 does not exist in this container.")
                    .pushs(path.string()));
    const COptionType t = resolver->valueType();
    if (!t.numeric() && t != COptionType::ot_string && t != COptionType::ot_dnsname)
      NUV_THROW("CVendorIDResolver::find", nuv::CMessage("Cannot resolve vendor id."),
                nuv::CMessage("Resolver option is an unrecognized data type."));
    return _fromVariant(CValueTypeConverter::variant(*resolver, 0));
  }

  if (nuv::isExpression(text)) {
    const nuv::CExpEval* eval = m_option.context()->evaluator();
    nuv::CMultiVariant results;
    if (eval) results = *nuv::CExpression(eval, text);
    if (results.empty())
      NUV_THROW("CVendorIDResolver::find", nuv::CMessage("Cannot resolve vendor id."),
                nuv::CMessage("Expression '%1' gave no result.").pushs(text));
    return _fromVariant(results.front());
  }

  errno = 0;
  char* end = nullptr;
  const long long n = std::strtoll(text.c_str(), &end, 0);
  if (*end == '\0' && errno == 0 && n >= 0 && n <= INT32_MAX)
    return n == 0 ? CVendorID::reserved() : CVendorID{static_cast<std::int32_t>(n)};
  NUV_THROW("CVendorIDResolver::find", nuv::CMessage("Cannot switch vendor id contexts."),
            nuv::CMessage("Failed to decipher context vendor id '%1'.").pushs(text));
}
