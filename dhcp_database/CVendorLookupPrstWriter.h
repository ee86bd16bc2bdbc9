#pragma once
// Stores the vendor-class definitions of a lookup by class name, in one
// transaction (its own unless the session is in one); records of classes
// no longer in the lookup are deleted.

#include <cstddef>

class CDHCPContext;
class CIPrstSession;
class CVendorLookup;

class CVendorLookupPrstWriter {
 public:
  CVendorLookupPrstWriter(CDHCPContext& context, CIPrstSession& session,
                          const CVendorLookup& lookup)
      : m_context(context), m_session(session), m_lookup(lookup) {}

  // The flag is accepted for symmetry with the option writer: every vendor
  // class is user-visible, so all are stored. Returns the records written.
  std::size_t execute(bool allDefinitions = false);

 private:
  CDHCPContext& m_context;
  CIPrstSession& m_session;
  const CVendorLookup& m_lookup;
};
