#include "extended/CExceptionFacade.h"

#include <vector>

namespace {
// Per thread, so that workers never contend on the failure path.
thread_local std::vector<std::pair<const CExceptionFacade*, nuv::CException>> t_recorded;
}  // namespace

void CExceptionFacade::record(const nuv::CException& e) {
  t_recorded.emplace_back(this, e);
  m_count.fetch_add(1, std::memory_order_relaxed);
  if (e.module == "oodb_persistence") m_databaseCount.fetch_add(1, std::memory_order_relaxed);
}

void CExceptionFacade::log() {
  auto it = t_recorded.begin();
  while (it != t_recorded.end()) {
    if (it->first != this) {
      ++it;
      continue;
    }
    const nuv::CException& e = it->second;
    nuv::CMessage line("%1 [%2]");
    line.pushs(e.printableError()).pushs(e.context);
    m_sink.log(e.severity, line, e.err_code);
    it = t_recorded.erase(it);
  }
}
