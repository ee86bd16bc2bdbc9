#include "tools/CLeaseReport.h"

#include <map>

#include "dhcp_database/CBinding6Identifier.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "dhcp_database/CPrstNetworkPool6.h"
#include "oodb/CPrstTransaction.h"
#include "tools/CLeaseState.h"

namespace {

// Every object of a prototype, page by page.
template <class Visit>
void forEach(CIPrstSession& session, const char* prototype, Visit visit) {
  const std::size_t rows = CIPrstSession::kRowsPerPage;
  CPrstRawPage page = session.selectRaw(prototype, "generic.all", nuv::CStringMap(),
                                        CPrstSelectOptions().withRows(rows));
  while (!page.objects.empty()) {
    for (const auto& o : page.objects) visit(*o);
    if (!page.cursor || page.cursor->exhausted()) break;
    page = session.selectNextRaw(page.cursor, rows);
  }
}

std::map<std::int32_t, std::string> poolNames(CIPrstSession& session, const char* prototype) {
  std::map<std::int32_t, std::string> names;
  forEach(session, prototype, [&](const CPrstUserBase& o) {
    if (const auto* pool = dynamic_cast<const CPrstPool*>(&o))
      names[pool->identity()] = pool->name();
  });
  return names;
}

bool wanted(const CLeaseState& state, CLeaseReport::Filter filter) {
  using State = CLeaseState::State;
  const bool holdsTime = state.state() == State::active || state.state() == State::fixed;
  switch (filter) {
    case CLeaseReport::Filter::active:
      return holdsTime;
    case CLeaseReport::Filter::expired:
      return !holdsTime;
    case CLeaseReport::Filter::all:
      break;
  }
  return true;
}

void readKind(CIPrstSession& session, const char* bindingProto, const char* poolProto, bool prefix,
              nuv::CTimeT now, const std::string& pool, CLeaseReport::Filter filter,
              std::vector<CLeaseRow>& out) {
  const auto names = poolNames(session, poolProto);
  forEach(session, bindingProto, [&](const CPrstUserBase& o) {
    const auto* binding = dynamic_cast<const CPrstBinding*>(&o);
    if (!binding) return;
    const auto named = names.find(binding->poolOID());
    const std::string poolName = named == names.end() ? std::string() : named->second;
    if (!pool.empty() && poolName != pool) return;
    const CLeaseState state(*binding, now);
    if (!wanted(state, filter)) return;
    CLeaseRow row;
    row.address = binding->ipAddr().string();
    row.prefix = prefix;
    if (const auto* p = dynamic_cast<const CPrstNetworkBinding*>(binding))
      row.address += "/" + std::to_string(p->prefixLen());
    const auto id = binding->createIdentifier();
    if (const auto* id6 = dynamic_cast<const CBinding6Identifier*>(id.get())) {
      row.duid = id6->DUID().string();
      row.iaType = id6->IAType().string();
      row.iaid = id6->IAID();
    }
    row.state = state.name();
    row.remaining = state.remaining();
    row.infinite = state.infinite();
    row.pool = poolName;
    out.push_back(std::move(row));
  });
}

}  // namespace

std::vector<CLeaseRow> CLeaseReport::read(CIPrstSession& session, nuv::CTimeT now,
                                          const std::string& pool, Filter filter) {
  CPrstTransaction tx(session);  // read only: rolled back
  std::vector<CLeaseRow> out;
  readKind(session, CPrstAddressBinding6::prototypeName(), CPrstAddressPool6::prototypeName(),
           false, now, pool, filter, out);
  readKind(session, CPrstNetworkBinding6::prototypeName(), CPrstNetworkPool6::prototypeName(), true,
           now, pool, filter, out);
  return out;
}

std::string CLeaseReport::remainingText(const CLeaseRow& row) {
  return row.infinite ? "infinite" : std::to_string(row.remaining);
}
