#pragma once
// Loads the stored vendor-class definitions into a vendor lookup; a stored
// definition replaces a file definition of the same class.

#include <cstddef>

class CDHCPContext;
class CIPrstSession;
class CVendorLookup;

class CVendorLookupPrstReader {
 public:
  CVendorLookupPrstReader(CDHCPContext& context, CIPrstSession& session, CVendorLookup& lookup)
      : m_context(context), m_session(session), m_lookup(lookup) {}

  // The number of definitions merged. Logs "Database does not contain any
  // vendor-class declarations." when nothing is stored, and "Database
  // contains multiple vendor-class declarations for vendor id %1." for a
  // vendor stored under more than one class.
  std::size_t execute();

 private:
  CDHCPContext& m_context;
  CIPrstSession& m_session;
  CVendorLookup& m_lookup;
};
