#pragma once
// The reclaimer's database work on one kind of binding (address or prefix
// leases), through the reclaimer's own session: find the expired ones,
// then delete them a few per transaction, so that a worker thread waiting
// for the database's write lock (SQLite takes it per packet) waits little.
//
// Several servers may share the database, and the worker threads renew
// leases while the reclaimer runs. A delete names the row version read, so
// a binding renewed or deleted by anyone since the selection raises a
// conflict; that binding is skipped (it is no longer expired, or no longer
// there) and the rest of its batch is deleted one binding per transaction.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dhcp_database/CBindingIdentifier.h"
#include "dhcp_database/CPrstBinding.h"
#include "dhcp_server_common/CDDNSLeaseNames.h"
#include "oodb/CIPrstSession.h"
#include "standard/CIPAddress.h"
#include "standard/CTimeT.h"

class CReclaimPass {
 public:
  // Deletions per transaction.
  static constexpr std::size_t kBatch = 50;

  using Binding = std::shared_ptr<CPrstBinding>;
  // What announcing a removed lease needs, taken while its row exists.
  struct Reclaimed {
    nuv::CIPAddress address;
    std::shared_ptr<const CBindingIdentifier> bindingID;
    std::int32_t poolOID = 0;
    std::int32_t identity = 0;
    // What the lease had in the DNS (address leases), and why it could not
    // be read when its option set did not parse (the lease goes all the same).
    CDDNSLeaseNames names;
    std::string unreadable;
  };
  using Callback = std::function<void(const Reclaimed&)>;

  // prototype: the binding class, "CPrstAddressBinding6" or "CPrstNetworkBinding6".
  CReclaimPass(CIPrstSession& session, std::string prototype)
      : m_session(session), m_prototype(std::move(prototype)) {}

  // The bindings that expired before `before` and are not fixed, soonest
  // expired first, at most rows; read in a transaction of their own.
  std::vector<Binding> select(nuv::CTimeT before, std::size_t rows);
  // Deletes the bindings; reclaimed runs for each one removed once its
  // transaction has committed. The number removed.
  std::size_t remove(const std::vector<Binding>& bindings, const Callback& reclaimed);

 private:
  using Iter = std::vector<Binding>::const_iterator;
  // Deletes [first, last) in one transaction and announces them after the
  // commit; false, with nothing deleted, when one of them conflicts.
  bool _removeAll(Iter first, Iter last, const Callback& reclaimed);

  CIPrstSession& m_session;
  const std::string m_prototype;
};
