#include "dhcp_base/COptionFactory.h"

#include <new>

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COptionLookup.h"
#include "dhcp_base/COptionPtrPool.h"
#include "dhcp_base/COptionTypes.h"
#include "dhcp_base/CValueTypeInserter.h"
#include "standard/CException.h"

void storageTypeMismatch(const COption& from, const COption& into) {
  NUV_THROW("CStorageOption::assignStorage",
            nuv::CMessage("Cannot insert option '%1' into option %2, type '%3'.")
                .pushs(from.label())
                .pushs(into.label())
                .pushs(into.valueType().string()),
            nuv::CMessage("Type mismatch."));
}

template <class T>
void COptionFactory::_addPool(COptionType type, const char* name) {
  m_pools[type] = new COptionPtrPool<T>(name, m_increment, m_maxPoolSize);
}

COptionFactory::COptionFactory(CDHCPContext& context) : m_context(context) {
  _addPool<C8BitOption>(COptionType::ot_8bit, "8 bit options");
  _addPool<C16BitOption>(COptionType::ot_16bit, "16 bit options");
  _addPool<C24BitOption>(COptionType::ot_24bit, "24 bit options");
  _addPool<C32BitOption>(COptionType::ot_32bit, "32 bit options");
  _addPool<C64BitOption>(COptionType::ot_64bit, "64 bit options");
  _addPool<CStringOption>(COptionType::ot_string, "string options");
  _addPool<CIPAddressOption>(COptionType::ot_ipaddress, "ipaddress options");
  _addPool<CEndpointOption>(COptionType::ot_ip_endpoint, "endpoint options");
  _addPool<CBooleanOption>(COptionType::ot_boolean, "boolean options");
  _addPool<CTimeOption>(COptionType::ot_time, "time options");
  _addPool<CHexStoreOption>(COptionType::ot_byte_sequence, "hexstore options");
  _addPool<CSubEncodedOption>(COptionType::ot_subencoded, "subencoded options");
  _addPool<COptionStore>(COptionType::ot_topencoded, "topencoded options");
  _addPool<CFixedOption>(COptionType::ot_fixed_offset, "fixedoffset options");
  _addPool<CDNSNameOption>(COptionType::ot_dnsname, "dnsname options");
  _addPool<CVarbindOption>(COptionType::ot_snmp_oid, "varbind options");
  _addPool<CExpressionOption>(COptionType::ot_expression, "expression options");
  _addPool<CProtoControlOption>(COptionType::ot_control, "protocol control options");
}

COptionFactory::~COptionFactory() {
  for (COptionPoolBase* p : m_pools)
    if (p) p->orphan();
}

void COptionFactory::maxOptionPoolSize(std::size_t n) {
  m_maxPoolSize = n;
  for (COptionPoolBase* p : m_pools)
    if (p) p->maxSize(n);
}

void COptionFactory::optionPoolIncrements(std::size_t n) {
  m_increment = n ? n : 1;
  for (COptionPoolBase* p : m_pools)
    if (p) p->increment(m_increment);
}

namespace {
template <class T>
COption::Ptr take(COptionPoolBase* pool) {
  return static_cast<COptionPtrPool<T>*>(pool)->get();
}
}  // namespace

COption::Ptr COptionFactory::allocate(COptionType type) {
  COptionPoolBase* p = type < COptionType::kCount ? m_pools[type] : nullptr;
  switch (type) {
    case COptionType::ot_8bit:
      return take<C8BitOption>(p);
    case COptionType::ot_16bit:
      return take<C16BitOption>(p);
    case COptionType::ot_24bit:
      return take<C24BitOption>(p);
    case COptionType::ot_32bit:
      return take<C32BitOption>(p);
    case COptionType::ot_64bit:
      return take<C64BitOption>(p);
    case COptionType::ot_string:
      return take<CStringOption>(p);
    case COptionType::ot_ipaddress:
      return take<CIPAddressOption>(p);
    case COptionType::ot_boolean:
      return take<CBooleanOption>(p);
    case COptionType::ot_time:
      return take<CTimeOption>(p);
    case COptionType::ot_byte_sequence:
      return take<CHexStoreOption>(p);
    case COptionType::ot_subencoded:
      return take<CSubEncodedOption>(p);
    case COptionType::ot_topencoded:
      return take<COptionStore>(p);
    case COptionType::ot_dnsname:
      return take<CDNSNameOption>(p);
    case COptionType::ot_expression:
      return take<CExpressionOption>(p);
    case COptionType::ot_control:
      return take<CProtoControlOption>(p);
    case COptionType::ot_fixed_offset:
      return take<CFixedOption>(p);
    case COptionType::ot_snmp_oid:
      return take<CVarbindOption>(p);
    case COptionType::ot_ip_endpoint:
      return take<CEndpointOption>(p);
    default:
      break;
  }
  NUV_THROW("COptionFactory::allocate",
            nuv::CMessage("Cannot create an option having type '%1'.").pushs(type.string()),
            nuv::CMessage("Invalid type specification."));
}

COption::Ptr COptionFactory::make(const COptionAttributes::Ptr& definition, COption* parent) {
  COption::Ptr option;
  try {
    option = allocate(definition->type);
  } catch (const std::bad_alloc&) {
    NUV_THROW("COptionFactory::make",
              nuv::CMessage("Cannot create option %1.").pushs(definition->tagPath.string()),
              nuv::CMessage("Not enough memory."));
  }
  option->attributes(definition);
  option->context(&m_context);
  option->parent(parent);
  return option;
}

COption::Ptr COptionFactory::create(std::uint32_t code, const CVendorID& vendor, COption* parent,
                                    bool fallback) {
  CTagPath path = parent ? parent->childBasePath() : CTagPath();
  path.push_back(code);
  const COptionAttributes::Ptr& def = m_context.optionLookup().locate(path, vendor, fallback);
  if (def->type == COptionType::ot_unknown || def->type == COptionType::ot_128bit) return nullptr;
  return make(def, parent);
}

COption::Ptr COptionFactory::create(std::uint32_t code, const CVendorID& vendor, COptionType type,
                                    COption* parent) {
  if (type == COptionType::ot_unknown) allocate(type);  // throws with the texts callers expect
  CTagPath path = parent ? parent->childBasePath() : CTagPath();
  path.push_back(code);
  const COptionAttributes::Ptr& def = m_context.optionLookup().locate(path, vendor, true);
  if (def->type == type) return make(def, parent);
  auto copy = std::make_shared<COptionAttributes>(*def);
  copy->type = type;
  if (def == COptionAttributes::unknown()) {
    copy->tagPath = path;
    copy->vendorId = vendor;
  }
  return make(copy, parent);
}

COption::Ptr COptionFactory::_createWithValue(std::uint32_t code, const CVendorID& vendor,
                                              const nuv::CVariant& value, COption* parent) {
  COption::Ptr option = create(code, vendor, parent, false);
  if (!option)
    NUV_THROW("COptionFactory::create", nuv::CMessage("Cannot create option %1.").push(code),
              nuv::CMessage("Invalid type specification."));
  CValueTypeInserter::push_back(value, *option);
  return option;
}

COption::Ptr COptionFactory::clone(const COption& option) {
  return option.clone(&m_context, const_cast<COption*>(option.parent()));
}

COptionStorePtr COptionFactory::createOS(std::string instanceName, std::string elementPrefix) {
  auto store = std::static_pointer_cast<COptionStore>(allocate(COptionType::ot_topencoded));
  store->attributes(COptionAttributes::optionStore());
  store->context(&m_context);
  store->instanceName(std::move(instanceName));
  store->elementPrefix(std::move(elementPrefix));
  return store;
}
