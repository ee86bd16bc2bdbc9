#pragma once
// What a worker thread needs of its database session: one transaction per
// datagram or event, and the count of address bindings. CDHCP6DBSession is
// the database provider's session; CDHCP6NoSession stands in on a host
// without a provider.

class CIDHCP6Session {
 public:
  virtual ~CIDHCP6Session() = default;
  virtual void startTransaction() = 0;
  // A transaction for a message that only reads.
  virtual void startReadTransaction() { startTransaction(); }
  // A hard commit.
  virtual void commitTransaction() = 0;
  virtual void rollbackTransaction() = 0;
  // The stored address bindings, counted inside the current transaction.
  virtual unsigned countAddressBindings() = 0;
  virtual void close() = 0;
};
