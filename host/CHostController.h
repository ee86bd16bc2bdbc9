#pragma once
// The host's controller: owns the configuration (swapped whole on reload),
// the two log sinks, the exception facade, the server DUID and the key
// registry, and drives the plug-ins through its loader.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "extended/CAppEvent.h"
#include "extended/CSystemMode.h"
#include "host/CHostLog.h"
#include "host/CPluginHost.h"

class CHostControlSocket;

class CHostController : public CPluginHost {
 public:
  // Validates the configuration and applies its log settings; throws on an
  // unknown key or an unusable log target, leaving nothing half-configured.
  explicit CHostController(nuv::CConfig config);
  ~CHostController() override;

  std::shared_ptr<const nuv::CConfig> config() const override;
  CLogSink& log() override { return m_log; }
  CExceptionFacade& exceptionFacade() override { return m_facade; }
  std::string varDir() const override;
  // The storage path a configuration names ("system.storage.path").
  static std::string storagePath(const nuv::CConfig& config);
  CLogSink** dhcpLog() override { return &m_dhcpLogPtr; }
  nuv::CHexStore duid() const override;
  std::shared_ptr<const CDHCPConfigNames> configNames() const override { return m_names; }

  // The server index ("system.index"): which of several cooperating servers this is.
  unsigned serverIndex() const;

  // Status queries the host answers itself: "mode=<name>" and
  // "version=<version>", each followed by a newline.
  static constexpr const char* kModeQuery = "query_mode";
  static constexpr const char* kVersionQuery = "query_version";
  // What the host is there to run: without a running plug-in of this
  // interface it does not stay up.
  static constexpr const char* kServerInterface = "CIDHCPServer";

  // Makes the DUID (configured, stored or new), registers the host's status
  // queries and loads the configured plug-ins.
  void start();
  // Loads the configured plug-ins and opens only those providing the
  // interface, without the DUID, the status queries or the server: the
  // admin tool uses the database provider this way.
  void openProviders(const std::string& interfaceName);
  // Runs the opened plug-ins, switches the server to "servicing" and
  // listens on the control socket; false when no plug-in is left running.
  bool run();
  void stop();

  // Re-validates a new configuration and swaps it in; on failure the old
  // one stays and the failure is logged. True when the new one was taken.
  bool reload(nuv::CConfig config);

  // Hands an event to the system bus plug-in; false when none is open.
  bool publish(std::shared_ptr<CAppEvent> event);
  // The operator's mode switch, announced to the server's threads.
  bool publishMode(CSystemMode mode);
  // The mode last announced ("init" before the server runs). Answered
  // without asking the server's threads: a status query is answered on one
  // of them, which must not wait for itself.
  CSystemMode mode() const { return m_mode.load(); }

 private:
  std::shared_ptr<const CDHCPConfigNames> m_names;
  mutable std::mutex m_configMutex;
  std::shared_ptr<const nuv::CConfig> m_config;
  CHostLog m_log;
  CHostLog m_dhcpLog{"dhcp"};
  CLogSink* m_dhcpLogPtr = &m_dhcpLog;
  CExceptionFacade m_facade{m_log};
  nuv::CHexStore m_duid;
  std::atomic<CSystemMode::Mode> m_mode{CSystemMode::init};
  std::unique_ptr<CHostControlSocket> m_control;
};
