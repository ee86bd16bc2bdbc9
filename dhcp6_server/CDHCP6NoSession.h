#pragma once
// Stands in for the database session on a host without a database
// provider: transactions have nothing to keep, and there are no bindings.

#include "dhcp6_server/CIDHCP6Session.h"

class CDHCP6NoSession : public CIDHCP6Session {
 public:
  void startTransaction() override { m_open = true; }
  void commitTransaction() override { m_open = false; }
  void rollbackTransaction() override { m_open = false; }
  unsigned countAddressBindings() override { return 0; }
  void close() override { m_open = false; }

  bool inTransaction() const { return m_open; }

 private:
  bool m_open = false;
};
