#pragma once
// The DHCP context a thread's lease and policy records read their option
// sets and expressions with. Sessions are per thread, so the context is
// too: CPrstDHCP6ObjectAbstractFactory installs its context for the thread
// that opens a session with it, and each record takes the thread's context
// when it is made (a record may also be given one explicitly).

class CDHCPContext;

class CDHCPRecordContext {
 public:
  static CDHCPContext* current();
  static void current(CDHCPContext* context);
};
