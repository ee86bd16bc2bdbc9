#include "dhcp_database/CDHCPRecordContext.h"

namespace {
thread_local CDHCPContext* t_context = nullptr;
}

CDHCPContext* CDHCPRecordContext::current() {
  return t_context;
}

void CDHCPRecordContext::current(CDHCPContext* context) {
  t_context = context;
}
