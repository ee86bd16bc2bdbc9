#include "tools/CCtlDatabase.h"

#include <unistd.h>

#include "dhcp_base/COptionLookupFileReader.h"
#include "dhcp_base/CVendorLookupFileReader.h"
#include "extended/CConfigNames.h"
#include "extended/CDHCPConfigNames.h"
#include "host/CHostControlSocket.h"
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
  _readDefinitions();
  m_controller->openProviders("CIDatabaseInit");
  m_session = CIDatabaseInit::find(*m_controller).openSession({&m_factory});
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

std::string CCtlDatabase::resolveDefinitionFile(const std::string& name,
                                                const std::string& storageDir,
                                                const std::string& dataDir) {
  if (!name.empty() && name[0] == '/') return name;
  const std::string stored = storageDir + "/" + name;
  return access(stored.c_str(), R_OK) == 0 ? stored : dataDir + "/" + name;
}

void CCtlDatabase::_readDefinitions() {
  const auto cfg = m_controller->config();
  const auto read = [&](const std::string& key, const char* fallback, auto&& reader) {
    const std::string file =
        resolveDefinitionFile(cfg->get(key, fallback), m_controller->varDir(), NUV_DATA_DIR);
    const auto slash = file.rfind('/');
    reader.execute(file.substr(0, slash), file.substr(slash + 1));
  };
  read(CDHCPConfigNames::optionsFile(6), "options6.spec",
       COptionLookupFileReader(m_context.optionLookup()));
  read(CDHCPConfigNames::vendorsFile(6), "vclasses6.spec",
       CVendorLookupFileReader(m_context.vendorLookup()));
}
