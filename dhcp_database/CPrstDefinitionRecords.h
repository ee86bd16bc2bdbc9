#pragma once
// Shared by the definition readers and writers: every stored record of a
// definition class (all pages), and the process log of a DHCP context.

#include <vector>

#include "dhcp_base/CDHCPContext.h"
#include "extended/CLogSink.h"
#include "extended/CMasterController.h"
#include "oodb/CPrstUserClassPtr.h"

template <class T>
std::vector<CPrstUserClassPtr<T>> prstSelectAll(CIPrstSession& session) {
  auto page = session.select<T>("generic.all", nuv::CStringMap(),
                                CPrstSelectOptions().withRows(CIPrstSession::kRowsPerPage));
  std::vector<CPrstUserClassPtr<T>> out(page.begin(), page.end());
  while (!page.exhausted()) {
    page = page.selectNext(CIPrstSession::kRowsPerPage);
    out.insert(out.end(), page.begin(), page.end());
  }
  return out;
}

inline void definitionLog(const CDHCPContext& context, unsigned severity,
                          const nuv::CMessage& message) {
  if (CMasterController* c = context.controller()) c->log().log(severity, message);
}
