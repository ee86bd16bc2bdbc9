#pragma once
// The admin tool's operations on the records of one database session:
// list, show, add, change and delete policies, pools and bindings by their
// text form, and store the option and vendor definitions. Every change
// runs in one transaction of its own, so a refused key leaves nothing
// half written; the record's own validation failures pass through as
// they are.

#include <memory>
#include <string>
#include <vector>

#include "extended/CLogSink.h"
#include "oodb/CIPrstSession.h"
#include "standard/CTimeT.h"
#include "tools/CRecordEdit.h"
#include "tools/CRecordKind.h"

class CDHCPContext;
class CPrstDHCPRecord;

// One committed change, as the host's control socket announces it.
struct CObjectChange {
  std::string type;  // "add", "modify" or "del"
  std::string table;
  long oid = 0;
  bool operator==(const CObjectChange& o) const {
    return type == o.type && table == o.table && oid == o.oid;
  }
};

class CRecordAdmin {
 public:
  // log: where the policy finder's warnings go (may be null).
  explicit CRecordAdmin(CIPrstSession& session, CLogSink* log = nullptr)
      : m_session(session), m_log(log) {}

  // One line per record of the kind, in row order: its key (name,
  // address); a binding's line goes on with its client (DUID), its state
  // and the seconds it has left at now (CLeaseState), blank-separated.
  std::vector<std::string> list(const CRecordKind& kind, nuv::CTimeT now = nuv::CTimeT::now());
  // The record's text form.
  std::string show(const CRecordKind& kind, const std::string& key);

  // A new record from the keys. Pools and bindings without "domains" join
  // the all-devices domain; a binding is a DHCPv6 one, fixed and committed
  // now unless the keys say otherwise.
  std::vector<CObjectChange> add(const CRecordKind& kind, const CRecordEdit& edit);
  // Changes a stored record. A global policy that does not exist yet (the
  // server never ran on this database) is created first, with its twin.
  std::vector<CObjectChange> change(const CRecordKind& kind, const std::string& key,
                                    const CRecordEdit& edit);
  CObjectChange remove(const CRecordKind& kind, const std::string& key);

  struct DefinitionCounts {
    std::size_t options = 0;
    std::size_t vendors = 0;
  };
  // Stores the context's option definitions (every one with all, else
  // the site- and vendor-specific ones) and vendor classes in one
  // transaction.
  DefinitionCounts publishDefinitions(CDHCPContext& context, bool all);

  // Applies an edit to a record of the kind as add and change do: unknown
  // keys are refused, then the keys, then each option removal.
  static void apply(CPrstDHCPRecord& record, const CRecordKind& kind, const CRecordEdit& edit);
  // The record's key (name, address); empty when it has none.
  static std::string key(const CRecordKind& kind, const CPrstUserBase& record);

 private:
  using Record = std::shared_ptr<CPrstDHCPRecord>;
  Record _find(const CRecordKind& kind, const std::string& key);
  Record _require(const CRecordKind& kind, const std::string& key);
  // Refuses a name or address that another record of the kind holds.
  // Refuses to delete a pool that bindings still refer to.
  void _checkUnused(const CRecordKind& kind, const std::string& key, const CPrstUserBase& record);
  void _checkFree(const CRecordKind& kind, const CRecordEdit& edit, const CPrstUserBase* self);
  std::vector<CObjectChange> _createGlobalPolicies();
  // The record's line of list().
  static std::string _line(const CRecordKind& kind, const CPrstUserBase& record, nuv::CTimeT now);
  static CObjectChange _change(const char* type, const CRecordKind& kind,
                               const CPrstDHCPRecord& record);

  CIPrstSession& m_session;
  CLogSink* m_log;
};
