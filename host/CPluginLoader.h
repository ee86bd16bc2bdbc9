#pragma once
// The plug-in loader: loads plug-in libraries, opens them in dependency
// passes, runs them by priority, shuts them down and unloads them. Each
// plug-in is handed the controller the loader serves, and the loader
// reports through that controller's log.

#include <functional>
#include <string>
#include <vector>

#include "extended/CMasterController.h"
#include "extended/CPlugin.h"

class CPluginLoader {
 public:
  explicit CPluginLoader(CMasterController& controller) : m_controller(controller) {}
  CPluginLoader(const CPluginLoader&) = delete;
  CPluginLoader& operator=(const CPluginLoader&) = delete;
  // Unloads whatever was not shut down, quietly: the controller that owns
  // the loader may be half gone.
  ~CPluginLoader();

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

  CLogSink& _log() { return m_controller.log(); }
  void _info(const char* text, const std::string& arg);
  void _error(const char* text, const std::string& arg, const std::string& arg2 = {});
  bool _requirementsMet(const CPlugin& plugin) const;
  void _unload(Entry& entry);
  void _unloadWhere(const std::function<bool(const Entry&)>& which);
  std::vector<Entry*> _byPriority(State state, bool descending);

  CMasterController& m_controller;  // handed to every plug-in; not owned
  std::vector<Entry> m_plugins;     // load order
};
