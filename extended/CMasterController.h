#pragma once
// The host side of the plug-in contract: it loads plug-in libraries, opens
// them in dependency passes, runs them by priority, shuts them down and
// unloads them, and offers the services every plug-in may call (plug-in
// lookup by interface, status queries, the task registry). The host
// executable derives from it and supplies configuration and log sinks.

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "extended/CExceptionFacade.h"
#include "extended/CLogSink.h"
#include "extended/CPlugin.h"
#include "extended/CTaskRegistry.h"
#include "standard/CConfig.h"

class CMasterController {
 public:
  using QueryResponder = std::function<std::string()>;

  CMasterController() = default;
  CMasterController(const CMasterController&) = delete;
  CMasterController& operator=(const CMasterController&) = delete;
  virtual ~CMasterController();

  // Host services.
  virtual std::shared_ptr<const nuv::CConfig> config() const = 0;
  virtual CLogSink& log() = 0;
  virtual CExceptionFacade& exceptionFacade() = 0;
  virtual std::string varDir() const = 0;

  // Plug-in files named by a "system.plugins" value: a comma-separated list
  // of files, or one directory whose "*.so" files are taken in name order.
  std::vector<std::string> collectPluginFiles(const std::string& spec);

  // Loading. loadPlugin dlopens a library and creates its plug-in; addPlugin
  // takes a plug-in created some other way (destroyer may be null).
  bool loadPlugin(const std::string& file);
  bool addPlugin(CPlugin* plugin, PluginDestroyerFn destroyer, void* library,
                 const std::string& file);
  void loadPlugins(const std::vector<std::string>& files);

  // Unloads the loaded, not yet opened plug-ins that do not provide the
  // interface: a tool that needs one service opens only its providers.
  void keepProviders(const std::string& interfaceName);
  void openPlugins();
  void runPlugins();
  // Shuts down running plug-ins by descending priority, then closes every
  // plug-in in reverse load order and unloads them all.
  void shutdownPlugins();

  std::vector<CPlugin*> loadedPlugins() const;
  std::vector<CPlugin*> runningPlugins() const;

  // Opened or running plug-ins conforming to the interface, in load order.
  std::vector<CPlugin*> findPluginTypes(const std::string& interfaceName) const;

  // Status queries: names begin with "query_" or "config_".
  void registerQueryResponse(const std::string& name, QueryResponder responder);
  // A plug-in removes its queries before it is unloaded: the responder's
  // code lives in the plug-in's library.
  void deregisterQueryResponse(const std::string& name);
  // Whether a datagram is a plain-text status query ("query_..." or "config_...").
  static bool isStatusQuery(const char* bytes, std::size_t length);
  bool getQueryResponse(const char* bytes, std::size_t length, std::string& response) const;

  CTaskRegistry& taskRegistry() { return m_tasks; }

 private:
  enum class State { loaded, opened, running };
  struct Entry {
    std::string file;
    std::string name;
    CPlugin* plugin = nullptr;
    PluginDestroyerFn destroyer = nullptr;
    void* library = nullptr;
    State state = State::loaded;
  };

  void _info(const char* text, const std::string& arg);
  void _error(const char* text, const std::string& arg, const std::string& arg2 = {});
  bool _requirementsMet(const CPlugin& plugin) const;
  void _unload(Entry& entry);
  void _unloadWhere(const std::function<bool(const Entry&)>& which);
  std::vector<Entry*> _byPriority(State state, bool descending);

  std::vector<Entry> m_plugins;  // load order
  mutable std::mutex m_queryMutex;
  std::map<std::string, QueryResponder> m_queries;
  CTaskRegistry m_tasks;
};
