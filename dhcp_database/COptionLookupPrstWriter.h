#pragma once
// Stores the definitions of a lookup, in one transaction (its own unless
// the session is in one): each definition's record is found by (tag path,
// vendor) or created (in the all-users domain) and rewritten when it
// differs; records of definitions no longer in the lookup, and extra
// records of one key, are deleted.

#include <cstddef>

class CDHCPContext;
class CIPrstSession;
class COptionLookup;

class COptionLookupPrstWriter {
 public:
  COptionLookupPrstWriter(CDHCPContext& context, CIPrstSession& session,
                          const COptionLookup& lookup)
      : m_context(context), m_session(session), m_lookup(lookup) {}

  // allDefinitions false: the site-specific and vendor-specific definitions
  // only (those the reader takes back); true: every definition. Returns
  // the number of records written.
  std::size_t execute(bool allDefinitions);

 private:
  CDHCPContext& m_context;
  CIPrstSession& m_session;
  const COptionLookup& m_lookup;
};
