#pragma once
// A worker thread's session on the database provider ("CIDatabaseInit"),
// opened on that thread and used only there: one transaction per datagram
// or event, and the count of address bindings.

#include <memory>

class CPrstDBSession;

class CDHCP6DBSession {
 public:
  // The statement that counts the address bindings.
  static constexpr const char* kCountStatement = "abinding6.count";

  explicit CDHCP6DBSession(std::unique_ptr<CPrstDBSession> session);
  ~CDHCP6DBSession();
  CDHCP6DBSession(const CDHCP6DBSession&) = delete;
  CDHCP6DBSession& operator=(const CDHCP6DBSession&) = delete;

  void startTransaction();
  // A transaction for a message that only reads.
  void startReadTransaction();
  // A hard commit.
  void commitTransaction();
  void rollbackTransaction();
  // The stored address bindings, counted inside the current transaction.
  unsigned countAddressBindings();
  void close();

  CPrstDBSession& session() { return *m_session; }

 private:
  std::unique_ptr<CPrstDBSession> m_session;
};
