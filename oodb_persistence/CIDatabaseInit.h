#pragma once
// What a database provider plug-in offers ("CIDatabaseInit"): connections
// and sessions for the calling thread, its dialect's statement file and the
// schema of the database it opened (created on first start, version
// checked on every start).
//
//   auto* db = CIDatabaseInit::find(controller);   // the opened provider
//   auto session = db->openSession({&myFactory});  // in the worker thread

#include <memory>
#include <string>
#include <vector>

#include "oodb/CPrstUserClassFactory.h"
#include "oodb_persistence/CPrstDBSession.h"
#include "oodb_persistence/CSqlConnection.h"
#include "oodb_persistence/CSqlStatementSpec.h"

class CMasterController;

class CIDatabaseInit {
 public:
  virtual ~CIDatabaseInit();

  // The engine's name ("sqlite", "pgsql"), also the folder of its data files.
  virtual std::string databaseImplementation() const = 0;
  // A new connection for the calling thread.
  virtual std::unique_ptr<CSqlConnection> openConnection() = 0;
  // A new session on a new connection for the calling thread, knowing the
  // classes of the factories (and the generic ones).
  virtual std::unique_ptr<CPrstDBSession> openSession(
      const std::vector<const CIPrstAbstractFactory*>& factories) = 0;
  virtual const CSqlStatementSpec& statements() const = 0;
  // The schema version of the open database.
  virtual int schemaVersion() const = 0;

  // The first opened plug-in providing "CIDatabaseInit" (with the given
  // implementation name when one is given); throws "Unable to find a factory
  // using database implementation '%1'." when there is none.
  static CIDatabaseInit& find(const CMasterController& controller,
                              const std::string& implementation = {});
};
