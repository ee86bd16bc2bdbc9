#include "dhcp_base/CDHCP6Util.h"

#include <algorithm>

#include "dhcp_base/CDHCP6OptionCode.h"
#include "dhcp_base/CDHCP6Packet.h"
#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COptionFactory.h"
#include "dhcp_base/CValueTypeConverter.h"
#include "dhcp_base/CValueTypeInserter.h"
#include "standard/CException.h"
#include "standard/CTimeT.h"

using Code = CDHCP6OptionCode;

namespace {

// Replaces the values of a single-valued element.
template <class V>
void put(const COptionPtr& element, const V& value) {
  element->clearStorage();
  CValueTypeInserter::push_back(value, *element);
}

nuv::CTimeT seconds(std::uint64_t s) {
  return nuv::CTimeT(static_cast<std::time_t>(s));
}

bool isIA(std::uint32_t code) {
  return code == Code::iaNA || code == Code::iaTA || code == Code::iaPD;
}

// The first value of a one-valued element, or false when it has none.
bool firstIAID(const COption& ia, std::uint32_t& iaid) {
  COptionPtr e;
  if (!ia.find(CTagPath{1}, e) || e->count() == 0) return false;
  iaid = CValueTypeConverter::uint32(*e, 0);
  return true;
}

}  // namespace

COptionPtr CDHCP6Util::createOption(std::uint32_t code, COption* parent) {
  COptionPtr o = parent->context()->factory().create(code, CVendorID::reserved(), parent, false);
  if (!o)
    NUV_THROW("CDHCP6Util::createOption",
              nuv::CMessage("Cannot create option %1.").pushs(CTagPath{code}.string()),
              nuv::CMessage("Invalid type specification."));
  return o;
}

void CDHCP6Util::createAndStore(std::uint32_t code, const COptionPtr& parent, COptionPtr& result) {
  result = createOption(code, parent.get());
  parent->append(result);
}

COptionPtr CDHCP6Util::cloneAndStoreRequired(std::uint32_t code, const COptionPtr& source,
                                             const COptionPtr& destination) {
  COptionPtr copy = source->find(CTagPath{code})->clone(destination->context(), destination.get());
  destination->append(copy);
  return copy;
}

COptionPtr CDHCP6Util::cloneAndStoreOptional(std::uint32_t code, const COptionPtr& source,
                                             const COptionPtr& destination) {
  if (!source->defined(CTagPath{code})) return nullptr;
  return cloneAndStoreRequired(code, source, destination);
}

// The child element code of a fixed layout, created when missing.
COptionPtr CDHCP6Util::element(const COptionPtr& option, std::uint32_t code) {
  COptionPtr e;
  if (option->find(CTagPath{code}, e)) return e;
  e = createOption(code, option.get());
  option->append(e);
  return e;
}

void CDHCP6Util::setElement(const COptionPtr& option, std::uint32_t code, std::uint8_t value) {
  put(element(option, code), value);
}

void CDHCP6Util::setElement(const COptionPtr& option, std::uint32_t code,
                            const std::string& value) {
  put(element(option, code), value);
}

void CDHCP6Util::setT1T2(const COptionPtr& ia, std::uint32_t lifetime) {
  if (ia->tag() != Code::iaNA && ia->tag() != Code::iaPD) return;
  // Exact integer halves and four fifths: a binary fraction for 0.8 would
  // put multiples of 5 one second short.
  put(element(ia, 2), seconds(lifetime / 2));
  put(element(ia, 3), seconds(std::uint64_t{lifetime} * 4 / 5));
}

COptionPtr CDHCP6Util::addIAADDR(const COptionPtr& ia, const nuv::CIPAddress& address,
                                 std::uint32_t preferred, std::uint32_t valid) {
  if (ia->tag() != Code::iaNA && ia->tag() != Code::iaTA)
    NUV_THROW("CDHCP6Util::addIAADDR", nuv::CMessage("Cannot add IA Address to this IA."),
              nuv::CMessage("Invalid IA type for IA Address."));
  const COptionPtr options = findIAOptions(ia);
  COptionPtr a = createOption(Code::iaAddr, options.get());
  put(element(a, 1), address);
  put(element(a, 2), seconds(preferred));
  put(element(a, 3), seconds(valid));
  element(a, 4);
  options->append(a);
  return a;
}

COptionPtr CDHCP6Util::addIAPrefix(const COptionPtr& ia, const nuv::CIPAddress& prefix,
                                   std::uint8_t prefixLength, std::uint32_t preferred,
                                   std::uint32_t valid) {
  if (ia->tag() != Code::iaPD)
    NUV_THROW("CDHCP6Util::addIAPrefix", nuv::CMessage("Cannot add IA Prefix to this IA."),
              nuv::CMessage("Invalid IA type for IA Prefix."));
  const COptionPtr options = findIAOptions(ia);
  COptionPtr p = createOption(Code::iaPrefix, options.get());
  put(element(p, 4), prefix);
  put(element(p, 3), prefixLength);
  put(element(p, 1), seconds(preferred));
  put(element(p, 2), seconds(valid));
  element(p, 5);
  options->append(p);
  return p;
}

COptionPtr CDHCP6Util::subOptions(const COptionPtr& option) {
  const COptionType t = option->valueType();
  if (t == COptionType::ot_topencoded || t == COptionType::ot_subencoded) return option;
  if (isIA(option->tag())) return findIAOptions(option);
  if (const COption::Children* kids = option->children())
    for (const COptionPtr& c : *kids)
      if (c->valueType() == COptionType::ot_subencoded) return c;
  NUV_THROW("CDHCP6Util::addStatusCode",
            nuv::CMessage("Cannot add a status code to option %1.").pushs(option->label()),
            nuv::CMessage("The option holds no sub-options."));
}

COptionPtr CDHCP6Util::addStatusCode(const COptionPtr& parent, CDHCP6StatusCode code) {
  const COptionPtr options = subOptions(parent);
  COptionPtr s = createOption(Code::statusCode, options.get());
  put(element(s, 1), code.value());
  put(element(s, 2), code.string());
  options->append(s);
  return s;
}

COptionPtr CDHCP6Util::createMinimalIA(CIAType type, std::uint32_t iaid, const COptionPtr& parent) {
  COptionPtr ia = createOption(type.iaTypeTag(), parent.get());
  put(element(ia, 1), iaid);
  if (type == CIAType::iata) {
    element(ia, 2);
  } else {
    element(ia, 2);
    element(ia, 3);
    element(ia, 4);
  }
  parent->append(ia);
  return ia;
}

nuv::CHexStore CDHCP6Util::optionData(const COptionPtr& options, std::uint32_t code) {
  COptionPtr o;
  if (!options->find(CTagPath{code}, o) || o->count() == 0) return {};
  return CValueTypeConverter::hexstore(*o, 0);
}

COptionPtr CDHCP6Util::findORO(const COptionPtr& options) {
  COptionPtr o;
  options->find(CTagPath{Code::oro}, o);
  return o;
}

nuv::CHexStore CDHCP6Util::requestedServer(const COptionPtr& options) {
  return optionData(options, Code::serverID);
}

std::string CDHCP6Util::clientSuppliedHostname(const COptionPtr& options) {
  COptionPtr name;
  if (!options->find(CTagPath{Code::clientFQDN, 2}, name) || name->count() == 0) return {};
  return CValueTypeConverter::string(*name, 0);
}

CTagPath CDHCP6Util::findIAIDTag(const COptionPtr& ia) {
  if (!isIA(ia->tag()))
    NUV_THROW("CDHCP6Util::findIAIDTag", nuv::CMessage("Cannot find IAID tag."),
              nuv::CMessage("Invalid type."));
  return CTagPath{1};
}

COptionPtr CDHCP6Util::findIAOptions(const COptionPtr& ia) {
  if (!isIA(ia->tag()))
    NUV_THROW("CDHCP6Util::findIAOptions", nuv::CMessage("Cannot find IA options."),
              nuv::CMessage("Invalid type."));
  return ia->find(CTagPath{ia->tag() == Code::iaTA ? 2u : 4u});
}

void CDHCP6Util::addRequestedOptions(const COptionPtr& oro, const COptionPtr& primary,
                                     const COptionPtr& secondary, const COptionPtr& reply,
                                     std::vector<std::uint32_t>& added) {
  if (!oro) return;
  for (std::size_t i = 0; i < oro->count(); ++i) {
    const std::uint32_t code = CValueTypeConverter::uint16(*oro, i);
    // A code requested twice, or already placed, is answered once.
    if (std::find(added.begin(), added.end(), code) != added.end()) continue;
    COptionPtr found;
    if (!(primary && primary->find(CTagPath{code}, found)) &&
        !(secondary && secondary->find(CTagPath{code}, found)))
      continue;
    // A copy: the sets it comes from (policies, pools) outlive the reply.
    reply->append(found->clone(reply->context(), reply.get()));
    added.push_back(code);
  }
}

std::vector<CDHCP6Util::IAKey> CDHCP6Util::iaKeys(const COptionPtr& options) {
  std::vector<IAKey> out;
  if (const COption::Children* kids = options->children())
    for (const COptionPtr& c : *kids) {
      const CIAType type = CIAType::fromOptionCode(c->tag());
      std::uint32_t iaid = 0;
      if (type != CIAType::unknown && firstIAID(*c, iaid)) out.push_back({type, iaid});
    }
  return out;
}

COptionPtr CDHCP6Util::findIA(CIAType type, std::uint32_t iaid, const COptionPtr& options) {
  const std::uint32_t code = type.iaTypeTag();
  if (const COption::Children* kids = options->children())
    for (const COptionPtr& c : *kids) {
      std::uint32_t id = 0;
      if (c->tag() == code && firstIAID(*c, id) && id == iaid) return c;
    }
  return nullptr;
}

namespace {
// Calls visit(option, address) for each IA Address (IA Prefix) of ia until
// it answers true; that option, or null.
template <class Visit>
COptionPtr eachIAAddress(const COptionPtr& ia, Visit visit) {
  const CIAType type = CIAType::fromOptionCode(ia->tag());
  const std::uint32_t code = type.iaAddrTag();
  const CTagPath element{type.iaAddrAddressTag()};
  for (const COptionPtr& c : *CDHCP6Util::findIAOptions(ia)->children()) {
    COptionPtr a;
    if (c->tag() == code && c->find(element, a) && a->count() &&
        visit(CValueTypeConverter::ip(*a, 0)))
      return c;
  }
  return nullptr;
}
}  // namespace

COptionPtr CDHCP6Util::findIAAddress(CIAType type, std::uint32_t iaid,
                                     const nuv::CIPAddress& address, const COptionPtr& options) {
  const COptionPtr ia = findIA(type, iaid, options);
  if (!ia) return nullptr;
  return eachIAAddress(ia, [&address](const nuv::CIPAddress& a) { return a == address; });
}

std::vector<nuv::CIPAddress> CDHCP6Util::iaAddresses(const COptionPtr& ia) {
  std::vector<nuv::CIPAddress> out;
  eachIAAddress(ia, [&out](const nuv::CIPAddress& a) {
    out.push_back(a);
    return false;
  });
  return out;
}

void CDHCP6Util::cloneAndUpdateRelayReturnHeaders(const CDHCP6Packet& request,
                                                  CDHCP6Packet& reply) {
  for (const COptionStorePtr& layer : request.relayOptions()) {
    COptionStorePtr copy = layer->clone(reply.context());
    put(copy->find(CTagPath{Code::msgType}), std::uint8_t{CDHCP6MsgType::relay_reply});
    reply.appendRelayLayer(std::move(copy));
  }
}

std::uint32_t CDHCP6Util::startReply(const CDHCP6Packet& request, CDHCP6Packet& reply,
                                     const nuv::CHexStore& serverDUID) {
  cloneAndUpdateRelayReturnHeaders(request, reply);
  cloneAndStoreRequired(CDHCP6OptionCode::transactionID, request.hostOptions(),
                        reply.hostOptions());
  COptionPtr serverID;
  createAndStore(CDHCP6OptionCode::serverID, reply.hostOptions(), serverID);
  CValueTypeInserter::push_back(serverDUID, *serverID);
  return request.transactionID();
}
