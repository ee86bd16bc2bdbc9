#pragma once
// What the admin tool works on: the host's controller on the server's
// configuration with only the database provider opened, a DHCPv6 context
// with the configured option and vendor definitions (so that option names
// read and print as the server's do), and one session on the database.
// The tool logs warnings and errors to stderr only: stdout is its output.

#include <memory>
#include <string>

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_database/CPrstDHCP6ObjectAbstractFactory.h"
#include "exp_eval/CExpEval.h"
#include "host/CHostController.h"
#include "oodb_persistence/CPrstDBSession.h"

class CCtlDatabase {
 public:
  // Throws when the configuration is invalid, a definition file cannot be
  // read or no database provider opens.
  explicit CCtlDatabase(nuv::CConfig config);
  ~CCtlDatabase();

  CHostController& controller() { return *m_controller; }
  CDHCPContext& context() { return m_context; }
  CIPrstSession& session() { return *m_session; }
  // The host's control socket for this configuration.
  std::string controlSocketPath() const;

 private:
  std::unique_ptr<CHostController> m_controller;
  nuv::CExpEval m_evaluator;
  CDHCPContext m_context;
  CPrstDHCP6ObjectAbstractFactory m_factory{&m_context};
  std::unique_ptr<CPrstDBSession> m_session;
};
