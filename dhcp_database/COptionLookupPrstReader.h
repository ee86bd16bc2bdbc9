#pragma once
// Loads the stored option definitions into a lookup, after the definition
// files: a stored definition replaces a file definition with the same key.
// Only site-specific options and vendor-specific ones are taken (the flag
// lifts this restriction); a vendor-specific definition is taken only when
// the option it sits in is defined (in the lookup or among the stored
// ones), so a stray record cannot graft options onto nothing.

#include <cstddef>

class CDHCPContext;
class CIPrstSession;
class COptionLookup;

class COptionLookupPrstReader {
 public:
  COptionLookupPrstReader(CDHCPContext& context, CIPrstSession& session, bool allDefinitions,
                          COptionLookup& lookup)
      : m_context(context), m_session(session), m_all(allDefinitions), m_lookup(lookup) {}

  // The number of definitions merged. Logs "Database does not contain any
  // option attribute declarations." when nothing is stored.
  std::size_t execute();

 private:
  CDHCPContext& m_context;
  CIPrstSession& m_session;
  bool m_all;
  COptionLookup& m_lookup;
};
