#pragma once
// The named queries of a DHCPv6 binding class (mixed into the leaves, so
// that CPrstAddressBinding6::selectByKeyAndRelay(...) returns address
// bindings). Statements whose name holds "dom" return only the bindings
// the token may see. Lists are bound to the session and page with
// selectNext().

#include <memory>
#include <string>

#include "dhcp_database/CBinding6Identifier.h"
#include "oodb/CAccessToken.h"
#include "oodb/CPrstUserClassPtr.h"
#include "oodb_persistence/CSqlStatementSpec.h"
#include "standard/CIPAddress.h"
#include "standard/CTimeT.h"

template <class Leaf>
class CPrstBinding6Queries {
 public:
  using List = CPrstUserClassPtrList<Leaf>;
  using Token = std::shared_ptr<const CAccessToken>;
  static constexpr std::size_t kRows = CIPrstSession::kDefaultMaxObjects;

  // "binding6.dom_bid": the bindings of an identity association.
  static List selectByKey(CIPrstSession& s, Token token, const CBinding6Identifier& id,
                          std::size_t rows = kRows) {
    nuv::CStringMap args;
    id.args(args);
    return s.select<Leaf>(_name(".dom_bid"), args, _opts(std::move(token), rows));
  }
  // "binding6.dom_bid_addr": the binding of an identity association for
  // one address or prefix.
  static List selectByKeyAndAddr(CIPrstSession& s, Token token, const CBinding6Identifier& id,
                                 const nuv::CIPAddress& address, std::size_t rows = kRows) {
    nuv::CStringMap args;
    id.args(args);
    args.set("IPADDR", address.string());
    return s.select<Leaf>(_name(".dom_bid_addr"), args, _opts(std::move(token), rows));
  }
  // "binding6.dom_bid_relay": the bindings of an identity association
  // made on one link (the per-packet lookup).
  static List selectByKeyAndRelay(CIPrstSession& s, Token token, const CBinding6Identifier& id,
                                  const nuv::CIPAddress& relay, std::size_t rows = kRows) {
    nuv::CStringMap args;
    id.args(args);
    args.set("RELAY", relay.string());
    return s.select<Leaf>(_name(".dom_bid_relay"), args, _opts(std::move(token), rows));
  }
  // "binding.dom_addr": the binding of an address or prefix.
  static List selectByAddr(CIPrstSession& s, Token token, const nuv::CIPAddress& address,
                           std::size_t rows = kRows) {
    nuv::CStringMap args;
    args.set("IPADDR", address.string());
    return s.select<Leaf>("binding.dom_addr", args, _opts(std::move(token), rows));
  }
  // "binding.pool_oid": the bindings of a pool.
  static List selectByPool(CIPrstSession& s, std::int32_t poolOID,
                           std::size_t rows = CIPrstSession::kRowsPerPage) {
    nuv::CStringMap args;
    args.set("POOL_OID", std::to_string(poolOID));
    return s.select<Leaf>("binding.pool_oid", args, CPrstSelectOptions().withRows(rows));
  }
  // "binding.expired": the bindings expiring in [from, to) that are not
  // fixed, soonest first, at most rows.
  static List selectExpired(CIPrstSession& s, nuv::CTimeT from, nuv::CTimeT to,
                            std::size_t rows = CIPrstSession::kRowsPerPage) {
    nuv::CStringMap args;
    args.set("EXPIRE_FROM", std::to_string(from.get()));
    args.set("EXPIRE_TO", std::to_string(to.get()));
    args.set("ROWS", std::to_string(rows));
    return s.select<Leaf>("binding.expired", args, CPrstSelectOptions().withRows(rows));
  }

 private:
  static std::string _name(const char* rest) {
    return CSqlStatementSpec::familyName("binding", rest, 6);
  }
  static CPrstSelectOptions _opts(Token token, std::size_t rows) {
    return CPrstSelectOptions().withToken(std::move(token)).withRows(rows);
  }
};
