#include "plugins/addr_mgr/CReclaimPass.h"

#include <algorithm>

#include "oodb/CPrstException.h"
#include "oodb/CPrstTransaction.h"

std::vector<CReclaimPass::Binding> CReclaimPass::select(nuv::CTimeT before, std::size_t rows) {
  rows = std::min(rows, CIPrstSession::kMaxRowsPerSelect);
  nuv::CStringMap args;
  args.set("EXPIRE_FROM", "0");
  args.set("EXPIRE_TO", std::to_string(before.get()));
  args.set("ROWS", std::to_string(rows));
  std::vector<Binding> out;
  CPrstTransaction reading(m_session);  // nothing is written: rolled back
  const CPrstRawPage page = m_session.selectRaw(m_prototype, "binding.expired", args,
                                                CPrstSelectOptions().withRows(rows));
  for (const auto& object : page.objects)
    if (auto binding = std::dynamic_pointer_cast<CPrstBinding>(object))
      out.push_back(std::move(binding));
  return out;
}

std::size_t CReclaimPass::remove(const std::vector<Binding>& bindings, const Callback& reclaimed) {
  std::size_t removed = 0;
  for (Iter first = bindings.begin(); first != bindings.end();) {
    const Iter last =
        first + static_cast<std::ptrdiff_t>(std::min<std::size_t>(kBatch, bindings.end() - first));
    if (_removeAll(first, last, reclaimed)) {
      removed += static_cast<std::size_t>(last - first);
    } else {
      // The conflict rolled the batch back; each binding on its own now,
      // so that only the conflicting ones stay.
      for (Iter one = first; one != last; ++one)
        if (_removeAll(one, one + 1, reclaimed)) ++removed;
    }
    first = last;
  }
  return removed;
}

bool CReclaimPass::_removeAll(Iter first, Iter last, const Callback& reclaimed) {
  std::vector<Reclaimed> done;
  CPrstTransaction tx(m_session);
  try {
    for (Iter it = first; it != last; ++it) {
      CPrstBinding& binding = **it;
      Reclaimed& r = done.emplace_back();
      r.address = binding.ipAddr();
      r.bindingID = binding.createIdentifier();
      r.poolOID = binding.poolOID();
      r.identity = binding.identity();
      try {
        r.names = CDDNSLeaseNames::of(binding);
      } catch (const nuv::CException& e) {
        r.unreadable = e.printableError();
      }
      binding.deletePersistent();
      binding.commit();
    }
    tx.commit();
  } catch (const CPrstConflictException&) {
    // The session has rolled back already and given every binding of the
    // batch its stored values and row version back.
    return false;
  }
  if (reclaimed)
    for (const Reclaimed& r : done) reclaimed(r);
  return true;
}
