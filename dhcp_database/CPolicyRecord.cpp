#include "dhcp_database/CPolicyRecord.h"

#include "dhcp_database/CRecordTextReader.h"
#include "dhcp_database/CRecordTextWriter.h"

CPrstUserClassPtrList<CPolicyRecord> CPolicyRecord::fastSelectRec(CIPrstSession& s,
                                                                  const std::string& policyName,
                                                                  std::size_t rows) {
  nuv::CStringMap args;
  args.set("NAME", policyName);
  return s.select<CPolicyRecord>("policy.name", args, CPrstSelectOptions().withRows(rows));
}

CPrstUserClassPtrList<CPolicyRecord> CPolicyRecord::fastSelectRec(
    CIPrstSession& s, std::shared_ptr<const CAccessToken> token, std::size_t rows) {
  return s.select<CPolicyRecord>("policy.dom", nuv::CStringMap(),
                                 CPrstSelectOptions().withToken(std::move(token)).withRows(rows));
}

void CPolicyRecord::_write(CRecordTextWriter& out) const {
  out.add("oid", std::to_string(identity()));
  out.add("name", name());
  out.add("enforce", enforce() ? "true" : "false");
  out.add("description", description());
  out.add("mod_time", modTime().string());
  out.add("domains", domainMemberships().string());
}

void CPolicyRecord::_set(const nuv::CStringMap& map) {
  const CRecordTextReader in(map, "CPolicyRecord::_set", "Cannot set policy record from text.");
  const auto newName = in.name("name");
  const auto enforceValue = in.boolean("enforce");
  const auto domains = in.domains(domainMemberships().domains());
  COptionStorePtr options = _optionsFromText(in);
  if (newName) name(*newName);
  if (const std::string* v = in.get("description")) description(*v);
  if (enforceValue) enforce(*enforceValue);
  if (domains) domainMemberships(*domains);
  if (options) _adoptOptions(std::move(options));
}
