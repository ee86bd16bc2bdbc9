#pragma once
// A worker thread's session on the database provider ("CIDatabaseInit"),
// opened on that thread and used only there.

#include <memory>

#include "dhcp6_server/CIDHCP6Session.h"

class CPrstDBSession;

class CDHCP6DBSession : public CIDHCP6Session {
 public:
  // The statement that counts the address bindings.
  static constexpr const char* kCountStatement = "abinding6.count";

  explicit CDHCP6DBSession(std::unique_ptr<CPrstDBSession> session);
  ~CDHCP6DBSession() override;

  void startTransaction() override;
  void startReadTransaction() override;
  void commitTransaction() override;
  void rollbackTransaction() override;
  unsigned countAddressBindings() override;
  void close() override;

  CPrstDBSession& session() { return *m_session; }

 private:
  std::unique_ptr<CPrstDBSession> m_session;
};
