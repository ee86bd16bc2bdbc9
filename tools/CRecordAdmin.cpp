#include "tools/CRecordAdmin.h"

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_database/CBinding6Identifier.h"
#include "dhcp_database/COptionLookupPrstWriter.h"
#include "dhcp_database/CPolicyFinder.h"
#include "dhcp_database/CPolicyRecord.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstDHCPRecord.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "dhcp_database/CVendorLookupPrstWriter.h"
#include "oodb/CExtDomainID.h"
#include "oodb/CPrstAttrBase.h"
#include "oodb/CPrstTransaction.h"
#include "standard/CException.h"
#include "standard/CIPAddress.h"
#include "standard/CTimeT.h"
#include "standard/StringUtil.h"
#include "tools/CLeaseState.h"

namespace {

using Finder = CPolicyFinder<CPolicyRecord>;

bool isGlobalPolicy(const std::string& name) {
  return name == Finder::kGlobalEnforced || name == Finder::kGlobalOptional;
}

std::shared_ptr<CPrstDHCPRecord> asRecord(nuv::CGeneralPtr<CPrstUserBase> object) {
  return std::dynamic_pointer_cast<CPrstDHCPRecord>(std::move(object));
}

}  // namespace

std::string CRecordAdmin::key(const CRecordKind& kind, const CPrstUserBase& record) {
  const CPrstAttrBase* attr = record.attribute(kind.keyArg);
  return attr ? attr->text() : std::string();
}

CObjectChange CRecordAdmin::_change(const char* type, const CRecordKind& kind,
                                    const CPrstDHCPRecord& record) {
  return {type, kind.table, record.identity()};
}

CRecordAdmin::Record CRecordAdmin::_find(const CRecordKind& kind, const std::string& key) {
  std::string value = key;
  if (kind.binding) {
    // Stored addresses are in their canonical text; accept any spelling.
    const auto a = nuv::CIPAddress::fromText(key);
    if (!a || a->type() != nuv::CIPAddress::ipv6)
      NUV_THROW("CRecordAdmin::_find",
                nuv::CMessage("Cannot find %1 '%2'.").pushs(kind.name).pushs(key),
                nuv::CMessage("A binding is named by its IPv6 address."));
    value = a->string();
  }
  nuv::CStringMap args;
  args.set(kind.keyArg, value);
  CPrstRawPage page =
      m_session.selectRaw(kind.prototype, kind.byKey, args, CPrstSelectOptions().withRows(1));
  return page.objects.empty() ? nullptr : asRecord(page.objects.front());
}

CRecordAdmin::Record CRecordAdmin::_require(const CRecordKind& kind, const std::string& key) {
  Record r = _find(kind, key);
  if (!r)
    NUV_THROW("CRecordAdmin::_require",
              nuv::CMessage("Cannot find %1 '%2'.").pushs(kind.name).pushs(key),
              nuv::CMessage("No such record is stored."));
  return r;
}

void CRecordAdmin::apply(CPrstDHCPRecord& record, const CRecordKind& kind,
                         const CRecordEdit& edit) {
  for (const auto& [key, value] : edit.keys)
    if (!kind.accepts(key))
      NUV_THROW("CRecordAdmin::apply",
                nuv::CMessage("Cannot use key '%1' for a %2.").pushs(key).pushs(kind.name),
                nuv::CMessage("The known keys are %1.").pushs(kind.keyList()));
  if (!edit.keys.empty()) record._set(edit.keys);
  // One map holds one "-option"; each removal is a step of its own.
  for (const std::string& option : edit.removedOptions) {
    nuv::CStringMap removal(false);
    removal.set("-option", option);
    record._set(removal);
  }
}

void CRecordAdmin::_checkFree(const CRecordKind& kind, const CRecordEdit& edit,
                              const CPrstUserBase* self) {
  const std::string* key = edit.keys.getp(kind.keyName);
  if (!key) return;
  // An address the record refuses is reported by the record itself.
  if (kind.binding && !nuv::CIPAddress::fromText(nuv::trim(*key))) return;
  const Record other = _find(kind, nuv::trim(*key));
  if (other && (!self || other->pk() != self->pk()))
    NUV_THROW(
        "CRecordAdmin::_checkFree",
        nuv::CMessage("Cannot store %1 '%2'.").pushs(kind.name).pushs(nuv::trim(*key)),
        nuv::CMessage("Another %1 with this %2 is stored.").pushs(kind.name).pushs(kind.keyName));
}

std::string CRecordAdmin::_line(const CRecordKind& kind, const CPrstUserBase& record,
                                nuv::CTimeT now) {
  std::string line = key(kind, record);
  const auto* binding = dynamic_cast<const CPrstBinding*>(&record);
  if (!kind.binding || !binding) return line;
  const auto id = binding->createIdentifier();
  const auto* id6 = dynamic_cast<const CBinding6Identifier*>(id.get());
  const CLeaseState state(*binding, now);
  return line + " " + (id6 ? id6->DUID().string() : std::string("-")) + " " + state.name() + " " +
         state.remainingText();
}

std::vector<std::string> CRecordAdmin::list(const CRecordKind& kind, nuv::CTimeT now) {
  CPrstTransaction tx(m_session);  // read only: rolled back
  std::vector<std::string> out;
  const std::size_t rows = CIPrstSession::kRowsPerPage;
  CPrstRawPage page = m_session.selectRaw(kind.prototype, "generic.all", nuv::CStringMap(),
                                          CPrstSelectOptions().withRows(rows));
  while (!page.objects.empty()) {
    for (const auto& o : page.objects) out.push_back(_line(kind, *o, now));
    if (!page.cursor || page.cursor->exhausted()) break;
    page = m_session.selectNextRaw(page.cursor, rows);
  }
  return out;
}

std::string CRecordAdmin::show(const CRecordKind& kind, const std::string& key) {
  CPrstTransaction tx(m_session);
  return _require(kind, key)->string();
}

std::vector<CObjectChange> CRecordAdmin::add(const CRecordKind& kind, const CRecordEdit& edit) {
  CRecordEdit withDefaults = edit;
  nuv::CStringMap& keys = withDefaults.keys;
  if (kind.allDevicesByDefault && !keys.has("domains") && !keys.has("domains+"))
    keys.set("domains", std::to_string(CExtDomainID::allDevices));
  if (kind.binding) {
    // An operator's binding reserves the address for the client.
    if (!keys.has("protocol")) keys.set("protocol", "dhcpv6");
    if (!keys.has("fixed")) keys.set("fixed", "true");
    if (!keys.has("lease_commit"))
      keys.set("lease_commit", std::to_string(nuv::CTimeT::now().get()));
  }
  CPrstTransaction tx(m_session);
  Record record = asRecord(m_session.createTransient(kind.prototype));
  _checkFree(kind, withDefaults, nullptr);
  apply(*record, kind, withDefaults);
  // Pools and bindings refuse a missing key themselves; policies do not.
  if (key(kind, *record).empty())
    NUV_THROW("CRecordAdmin::add", nuv::CMessage("Cannot add a %1.").pushs(kind.name),
              nuv::CMessage("The '%1' key is missing.").pushs(kind.keyName));
  record->commit();
  tx.commit();
  return {_change("add", kind, *record)};
}

std::vector<CObjectChange> CRecordAdmin::_createGlobalPolicies() {
  Finder(m_session, m_log).createGlobalPoliciesIf();
  std::vector<CObjectChange> out;
  const CRecordKind& kind = *CRecordKind::find("policy");
  for (const char* name : {Finder::kGlobalEnforced, Finder::kGlobalOptional})
    if (Record r = _find(kind, name)) out.push_back(_change("add", kind, *r));
  return out;
}

std::vector<CObjectChange> CRecordAdmin::change(const CRecordKind& kind, const std::string& key,
                                                const CRecordEdit& edit) {
  CPrstTransaction tx(m_session);
  std::vector<CObjectChange> out;
  Record record = _find(kind, key);
  if (!record && std::string(kind.table) == CPolicyRecord::kTable && isGlobalPolicy(key)) {
    out = _createGlobalPolicies();
    record = _find(kind, key);
  }
  if (!record) record = _require(kind, key);
  // Checked before the record changes: a select may reload its row.
  _checkFree(kind, edit, record.get());
  apply(*record, kind, edit);
  record->commit();
  tx.commit();
  out.push_back(_change("modify", kind, *record));
  return out;
}

CObjectChange CRecordAdmin::remove(const CRecordKind& kind, const std::string& key) {
  CPrstTransaction tx(m_session);
  Record record = _require(kind, key);
  _checkUnused(kind, key, *record);
  const CObjectChange change = _change("del", kind, *record);
  record->deletePersistent();
  record->commit();
  tx.commit();
  return change;
}

void CRecordAdmin::_checkUnused(const CRecordKind& kind, const std::string& key,
                                const CPrstUserBase& record) {
  // A lease keeps only its pool's identity: a pool deleted under its
  // leases would leave them pointing at nothing.
  const std::int32_t oid = record.pk();
  const std::string name = kind.name;
  const bool leased =
      (name == "pool" && !CPrstAddressBinding6::selectByPool(m_session, oid, 1).empty()) ||
      (name == "prefix-pool" && !CPrstNetworkBinding6::selectByPool(m_session, oid, 1).empty());
  if (leased)
    NUV_THROW("CRecordAdmin::remove",
              nuv::CMessage("Cannot delete %1 '%2'.").pushs(kind.name).pushs(key),
              nuv::CMessage("Bindings still refer to it; delete them first."));
}

CRecordAdmin::DefinitionCounts CRecordAdmin::publishDefinitions(CDHCPContext& context, bool all) {
  CPrstTransaction tx(m_session);
  DefinitionCounts out;
  out.options = COptionLookupPrstWriter(context, m_session, context.optionLookup()).execute(all);
  out.vendors = CVendorLookupPrstWriter(context, m_session, context.vendorLookup()).execute(all);
  tx.commit();
  return out;
}
