#pragma once
// The named queries of a DHCPv6 pending class (mixed into the leaves).

#include <string>

#include "dhcp_database/CBinding6Identifier.h"
#include "oodb/CPrstUserClassPtr.h"
#include "oodb_persistence/CSqlStatementSpec.h"
#include "standard/CIPAddress.h"
#include "standard/CTimeT.h"

template <class Leaf>
class CPrstPending6Queries {
 public:
  using List = CPrstUserClassPtrList<Leaf>;

  // "pending6.bid_relay": the offer of an identity association on one link
  // (at most one row is asked for).
  static List selectByKeyAndRelay(CIPrstSession& s, const CBinding6Identifier& id,
                                  const nuv::CIPAddress& relay, std::size_t rows = 1) {
    nuv::CStringMap args;
    id.args(args);
    args.set("RELAY", relay.string());
    return s.select<Leaf>(CSqlStatementSpec::familyName("pending", ".bid_relay", 6), args,
                          CPrstSelectOptions().withRows(rows));
  }
  // "pending.min_age": offers made at least minAge seconds before now,
  // oldest first. The age is judged by this host's clock, as the offers'
  // times were written, never by the database server's.
  static List selectMinAge(CIPrstSession& s, std::uint32_t minAge,
                           std::size_t rows = CIPrstSession::kRowsPerPage,
                           nuv::CTimeT now = nuv::CTimeT::now()) {
    nuv::CStringMap args;
    args.set("OFFERED_BY", std::to_string((now - static_cast<std::time_t>(minAge)).get()));
    return s.select<Leaf>("pending.min_age", args, CPrstSelectOptions().withRows(rows));
  }
  // "pending.pool_oid": the offers of a pool.
  static List selectByPool(CIPrstSession& s, std::int32_t poolOID,
                           std::size_t rows = CIPrstSession::kRowsPerPage) {
    nuv::CStringMap args;
    args.set("POOL_OID", std::to_string(poolOID));
    return s.select<Leaf>("pending.pool_oid", args, CPrstSelectOptions().withRows(rows));
  }
};
