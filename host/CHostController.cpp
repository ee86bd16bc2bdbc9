#include "host/CHostController.h"

#include <algorithm>

#include "extended/CDHCPConfigNames.h"
#include "extended/CISystemBus.h"
#include "host/CHostControlSocket.h"
#include "host/CServerDUID.h"

namespace {
std::shared_ptr<const CDHCPConfigNames> dhcp6Names() {
  auto names = std::make_shared<CDHCPConfigNames>();
  names->initDescriptionData(CProtocolFamily(6));
  return names;
}
}  // namespace

CHostController::CHostController(nuv::CConfig config) : m_names(dhcp6Names()) {
  m_names->validate(config);
  m_log.configure(config);
  m_dhcpLog.configure(config);
  m_config = std::make_shared<const nuv::CConfig>(std::move(config));
}

CHostController::~CHostController() {
  stop();
}

std::shared_ptr<const nuv::CConfig> CHostController::config() const {
  std::lock_guard<std::mutex> lock(m_configMutex);
  return m_config;
}

std::string CHostController::storagePath(const nuv::CConfig& config) {
  return config.get(nuv::CConfigNames::storagePath(), "/var/lib/dhcp6d");
}

std::string CHostController::varDir() const {
  return storagePath(*config());
}

nuv::CHexStore CHostController::duid() const {
  return m_duid;
}

unsigned CHostController::serverIndex() const {
  return config()->get_uint32(nuv::CConfigNames::systemIndex(), 0);
}

void CHostController::start() {
  const auto cfg = config();
  m_duid = CServerDUID::obtain(*cfg, varDir());
  log().log(nuv::sev_info, nuv::CMessage("Server DUID is %1.").pushs(m_duid.string()));
  registerQueryResponse(kModeQuery, [this] { return "mode=" + mode().string() + "\n"; });
  registerQueryResponse(kVersionQuery, [] { return std::string("version=") + NUV_VERSION + "\n"; });
  plugins().loadPlugins(plugins().collectPluginFiles(cfg->get(nuv::CConfigNames::plugins())));
  const std::vector<CPlugin*> loaded = plugins().loadedPlugins();
  if (std::none_of(loaded.begin(), loaded.end(),
                   [](const CPlugin* p) { return p->conformsToInterface(kServerInterface); }))
    NUV_THROW("CHostController::start",
              nuv::CMessage("Cannot start without a DHCP server plug-in."),
              nuv::CMessage("None of the plug-ins named by '%1' provides %2.")
                  .pushs(nuv::CConfigNames::plugins())
                  .pushs(kServerInterface));
  plugins().openPlugins();
}

void CHostController::openProviders(const std::string& interfaceName) {
  plugins().loadPlugins(plugins().collectPluginFiles(config()->get(nuv::CConfigNames::plugins())));
  plugins().keepProviders(interfaceName);
  plugins().openPlugins();
}

bool CHostController::run() {
  plugins().runPlugins();
  // A host whose other plug-ins run but whose server does not would look
  // healthy to a supervisor while nobody answers on port 547.
  if (findPluginTypes(kServerInterface).empty()) {
    log().log(nuv::sev_error, nuv::CMessage("The DHCP server plug-in is not running; stopping. "
                                            "The messages above say why it failed."));
    return false;
  }
  // Without the socket the server still serves; changes then wait for a
  // restart.
  try {
    m_control = std::make_unique<CHostControlSocket>(
        CHostControlSocket::pathIn(varDir()), static_cast<int>(serverIndex()),
        [this](std::shared_ptr<CAppEvent> event) {
          if (event->evtClass == CAppEvent::kClassMode)
            publishMode(CSystemMode::parse(event->evtInstance));
          else
            publish(std::move(event));
        },
        log(),
        [this](std::string_view query, std::string& answer) {
          return getQueryResponse(query.data(), query.size(), answer);
        });
  } catch (const nuv::CException& e) {
    log().log(nuv::sev_error, nuv::CMessage(e.printableError()));
  }
  // The server's threads start in "init"; serving is the host's decision,
  // made once an operator's tool can reach the host.
  publishMode(CSystemMode::servicing);
  return true;
}

void CHostController::stop() {
  // Before the plug-ins go: the socket's thread publishes through the bus.
  m_control.reset();
  plugins().shutdownPlugins();
}

bool CHostController::reload(nuv::CConfig fresh) {
  try {
    // An emptied file is a mistake in the making, not a wish to run on
    // defaults with no plug-ins.
    if (fresh.empty())
      NUV_THROW("CHostController::reload", nuv::CMessage("Cannot use the new configuration."),
                nuv::CMessage("It holds no settings."));
    m_names->validate(fresh);
    m_log.configure(fresh);
    m_dhcpLog.configure(fresh);
  } catch (const nuv::CException& e) {
    log().log(nuv::sev_error,
              nuv::CMessage("Keeping the current configuration: %1").pushs(e.printableError()));
    return false;
  }
  {
    std::lock_guard<std::mutex> lock(m_configMutex);
    m_config = std::make_shared<const nuv::CConfig>(std::move(fresh));
  }
  log().log(nuv::sev_info, nuv::CMessage("Configuration reloaded."));
  publish(std::make_shared<CAppEvent>(static_cast<int>(serverIndex()), "control",
                                      CAppEvent::kClassConfig));
  return true;
}

bool CHostController::publish(std::shared_ptr<CAppEvent> event) {
  for (CPlugin* plugin : findPluginTypes("CISystemBusFactory")) {
    if (auto* factory = dynamic_cast<CISystemBusFactory*>(plugin)) {
      factory->createBus("host")->publish(std::move(event), 0);
      return true;
    }
  }
  return false;
}

bool CHostController::publishMode(CSystemMode mode) {
  log().log(nuv::sev_info,
            nuv::CMessage("Switching the server to mode '%1'.").pushs(mode.string()));
  m_mode = mode.value();
  return publish(std::make_shared<CModeEvent>(static_cast<int>(serverIndex()), mode.string()));
}
