#pragma once
// A policy: a named set of options the server adds to its replies (table
// dhcp_policies6). Secured: which policies apply to a device is decided by
// the domains of its token; the global policies belong to the all-devices
// domain.

#include <string>
#include <string_view>

#include "dhcp_database/CPrstDHCPRecord.h"
#include "oodb/CPrstUserClassPtr.h"
#include "standard/CStringMap.h"

class CPolicyRecord : public CPrstDHCPRecord {
  PRST_CLASS(CPolicyRecord)

 public:
  static constexpr const char* kTable = "dhcp_policies6";

  CPolicyRecord() : CPrstDHCPRecord("policy-options") {}

  const std::string& name() const { return m_name.get(); }
  void name(std::string v) { m_name.set(std::move(v)); }
  const std::string& description() const { return m_description.get(); }
  void description(std::string v) { m_description.set(std::move(v)); }
  // Stored only; replies are built from every applicable policy alike.
  bool enforce() const { return m_enforce.get(); }
  void enforce(bool v) { m_enforce.set(v); }

  // "policy.name": the policies of a name.
  static CPrstUserClassPtrList<CPolicyRecord> fastSelectRec(
      CIPrstSession& s, const std::string& name,
      std::size_t rows = CIPrstSession::kDefaultMaxObjects);
  // "policy.dom": the policies visible to the token.
  static CPrstUserClassPtrList<CPolicyRecord> fastSelectRec(
      CIPrstSession& s, std::shared_ptr<const CAccessToken> token,
      std::size_t rows = CIPrstSession::kRowsPerPage);

  // Text form keys: oid, name, enforce, description, mod_time, domains
  // (domains+, domains-) and the options ("option" adds or replaces one,
  // "-option" removes one by name).
  void _set(const nuv::CStringMap& map) override;

 protected:
  void _write(CRecordTextWriter& out) const override;

 private:
  CPrstAttr<std::string> m_name{this, "NAME"};
  CPrstAttr<bool> m_enforce{this, "ENFORCE"};
  CPrstAttr<std::string> m_description{this, "DESCRIPTION"};
};
