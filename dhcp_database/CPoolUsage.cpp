#include "dhcp_database/CPoolUsage.h"

#include <algorithm>

#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPending6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "dhcp_database/CPrstNetworkPending6.h"
#include "dhcp_database/CPrstNetworkPool6.h"

namespace {

using U128 = unsigned __int128;

U128 value(const nuv::CIPAddress& a) {
  U128 v = 0;
  for (std::size_t i = 0; i < a.raw_len(); ++i) v = (v << 8) | a.raw()[i];
  return v;
}

double toDouble(U128 v) {
  return static_cast<double>(static_cast<std::uint64_t>(v >> 64)) * 18446744073709551616.0 +
         static_cast<double>(static_cast<std::uint64_t>(v));
}

std::int64_t count(CIPrstSession& session, const char* proto, const char* statement,
                   std::int32_t poolOID) {
  nuv::CStringMap args;
  args.set("POOL_OID", std::to_string(poolOID));
  return session.selectCount(proto, statement, args, {});
}

template <class Pool, class Binding, class Pending>
void readKind(CIPrstSession& session, std::vector<CPoolUsage>& out) {
  const std::size_t rows = CIPrstSession::kRowsPerPage;
  CPrstRawPage page = session.selectRaw(Pool::prototypeName(), "generic.all", nuv::CStringMap(),
                                        CPrstSelectOptions().withRows(rows));
  while (!page.objects.empty()) {
    for (const auto& object : page.objects) {
      const auto* pool = dynamic_cast<const CPrstPool*>(object.get());
      if (!pool) continue;
      CPoolUsage u;
      u.name = pool->name();
      u.prefixPool = pool->type() == CPrstPool::networkPool;
      u.oid = pool->identity();
      u.enabled = pool->active();
      u.total = CPoolUsage::size(*pool);
      u.leased = count(session, Binding::prototypeName(), "binding.count.pool_oid", u.oid);
      u.offered = count(session, Pending::prototypeName(), "pending.count.pool_oid", u.oid);
      out.push_back(std::move(u));
    }
    if (!page.cursor || page.cursor->exhausted()) break;
    page = session.selectNextRaw(page.cursor, rows);
  }
}

}  // namespace

double CPoolUsage::free() const {
  return std::max(0.0, total - static_cast<double>(leased) - static_cast<double>(offered));
}

double CPoolUsage::utilisation() const {
  if (total <= 0) return 0;
  return std::min(100.0, 100.0 * static_cast<double>(leased + offered) / total);
}

double CPoolUsage::size(const CPrstPool& pool) {
  if (!pool.rangePtr()) return 0;
  const U128 start = value(pool.range().start());
  const U128 stop = value(pool.range().stop());
  if (stop < start) return 0;
  if (pool.type() == CPrstPool::networkPool) {
    const std::uint32_t width = static_cast<std::uint32_t>(pool.range().start().bitWidth());
    const std::uint32_t len = pool.subPrefixLen();
    if (len == 0 || len > width) return 0;
    const U128 span = stop - start;
    return toDouble((width - len >= 128 ? 0 : span >> (width - len)) + 1);
  }
  U128 total = stop - start + 1;
  // Exclusions count only as far as they overlap the range.
  for (const auto& x : pool.xrange()) {
    if (!x) continue;
    const U128 from = std::max(start, value(x->start()));
    const U128 to = std::min(stop, value(x->stop()));
    if (from <= to && to - from + 1 <= total) total -= to - from + 1;
  }
  return toDouble(total);
}

std::vector<CPoolUsage> CPoolUsage::read(CIPrstSession& session) {
  std::vector<CPoolUsage> out;
  readKind<CPrstAddressPool6, CPrstAddressBinding6, CPrstAddressPending6>(session, out);
  readKind<CPrstNetworkPool6, CPrstNetworkBinding6, CPrstNetworkPending6>(session, out);
  return out;
}
