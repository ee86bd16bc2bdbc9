#pragma once
// The named queries of a pool class (mixed into the leaves). Statements
// whose name holds "dom" return only the pools the token may see.

#include <memory>
#include <string>

#include "oodb/CAccessToken.h"
#include "oodb/CPrstUserClassPtr.h"
#include "oodb_persistence/CSqlStatementSpec.h"
#include "standard/CIPAddress.h"

template <class Leaf>
class CPrstPoolQueries {
 public:
  using List = CPrstUserClassPtrList<Leaf>;
  using Token = std::shared_ptr<const CAccessToken>;

  // "apool6.dom_relay" / "npool6.dom_relay": pools whose relay list holds
  // the link address.
  static List selectByRelay(CIPrstSession& s, Token token, const nuv::CIPAddress& link,
                            std::size_t rows = CIPrstSession::kRowsPerPage) {
    nuv::CStringMap args;
    args.set("ADDR", link.string());
    return s.select<Leaf>(CSqlStatementSpec::familyName(Leaf::kStatementStem, ".dom_relay", 6),
                          args, _opts(std::move(token), rows));
  }
  // "pool.dom_prefix": pools whose range covers the prefix.
  static List selectByPrefix(CIPrstSession& s, Token token, const nuv::CIPAddress& prefix,
                             std::size_t rows = CIPrstSession::kRowsPerPage) {
    nuv::CStringMap args;
    args.set("PREFIX", prefix.string());
    return s.select<Leaf>("pool.dom_prefix", args, _opts(std::move(token), rows));
  }
  // "pool.dom_name".
  static List selectByName(CIPrstSession& s, Token token, const std::string& name,
                           std::size_t rows = CIPrstSession::kDefaultMaxObjects) {
    nuv::CStringMap args;
    args.set("NAME", name);
    return s.select<Leaf>("pool.dom_name", args, _opts(std::move(token), rows));
  }
  // "pool.dom_oid".
  static List selectByOID(CIPrstSession& s, Token token, std::int32_t oid,
                          std::size_t rows = CIPrstSession::kDefaultMaxObjects) {
    nuv::CStringMap args;
    args.set("OID", std::to_string(oid));
    return s.select<Leaf>("pool.dom_oid", args, _opts(std::move(token), rows));
  }
  // "pool.dom": every visible pool.
  static List selectAll(CIPrstSession& s, Token token,
                        std::size_t rows = CIPrstSession::kRowsPerPage) {
    return s.select<Leaf>("pool.dom", nuv::CStringMap(), _opts(std::move(token), rows));
  }
  // "dhcp.name": a pool by name, without access check.
  static List selectByNameUnsecured(CIPrstSession& s, const std::string& name) {
    nuv::CStringMap args;
    args.set("NAME", name);
    return s.select<Leaf>("dhcp.name", args);
  }
  // "pool.session_id".
  static List selectBySession(CIPrstSession& s, std::int32_t sessionID,
                              std::size_t rows = CIPrstSession::kRowsPerPage) {
    nuv::CStringMap args;
    args.set("SESSION_ID", std::to_string(sessionID));
    return s.select<Leaf>("pool.session_id", args, CPrstSelectOptions().withRows(rows));
  }

 private:
  static CPrstSelectOptions _opts(Token token, std::size_t rows) {
    return CPrstSelectOptions().withToken(std::move(token)).withRows(rows);
  }
};
