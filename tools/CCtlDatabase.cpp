#include "tools/CCtlDatabase.h"

#include "dhcp_base/CDefinitionFiles.h"
#include "dhcp_database/COptionLookupPrstReader.h"
#include "dhcp_database/CVendorLookupPrstReader.h"
#include "extended/CConfigNames.h"
#include "host/CHostControlSocket.h"
#include "oodb/CPrstTransaction.h"
#include "oodb_persistence/CIDatabaseInit.h"

namespace {

nuv::CConfig quiet(nuv::CConfig config) {
  config.set(nuv::CConfigNames::logTargets(), "stderr");
  config.set(nuv::CConfigNames::logLevels(), "error,warning");
  return config;
}

}  // namespace

CCtlDatabase::CCtlDatabase(nuv::CConfig config)
    : m_controller(std::make_unique<CHostController>(quiet(std::move(config)))),
      m_evaluator(m_controller.get()),
      m_context(6, m_controller.get()) {
  m_context.evaluator(&m_evaluator);
  CDefinitionFiles::readConfigured(m_context, *m_controller->config(), m_controller->varDir());
  m_controller->openProviders("CIDatabaseInit");
  m_session = CIDatabaseInit::find(*m_controller).openSession({&m_factory});
  // Definitions an operator published may exist only in the database.
  CPrstTransaction tx(*m_session);
  COptionLookupPrstReader(m_context, *m_session, false, m_context.optionLookup()).execute();
  CVendorLookupPrstReader(m_context, *m_session, m_context.vendorLookup()).execute();
  tx.commit();
}

CCtlDatabase::~CCtlDatabase() {
  // Records hold options of the context; the session goes before it and
  // before the provider's library is unloaded.
  m_session.reset();
  m_controller->stop();
}

std::string CCtlDatabase::controlSocketPath() const {
  return CHostControlSocket::pathIn(m_controller->varDir());
}
