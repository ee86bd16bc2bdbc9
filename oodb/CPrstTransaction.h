#pragma once
// One transaction as a scope: begun on construction, rolled back on leaving
// the scope unless committed (so an exception never leaves it open).
//
//   CPrstTransaction tx(session);
//   ... find, change, commit objects ...
//   tx.commit();

#include "oodb/CIPrstSession.h"

class CPrstTransaction {
 public:
  explicit CPrstTransaction(CIPrstSession& session) : m_session(session) { m_session.begin(); }
  CPrstTransaction(const CPrstTransaction&) = delete;
  CPrstTransaction& operator=(const CPrstTransaction&) = delete;
  ~CPrstTransaction() {
    if (m_open && m_session.inTransaction()) {
      try {
        m_session.rollback();
      } catch (...) {  // a destructor must not throw; the failure was raised before
      }
    }
  }

  void commit() {
    m_open = false;
    m_session.commit();
  }
  void rollback() {
    m_open = false;
    m_session.rollback();
  }

 private:
  CIPrstSession& m_session;
  bool m_open = true;
};
