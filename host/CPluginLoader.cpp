#include "host/CPluginLoader.h"

#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>

#include "standard/StringUtil.h"

CPluginLoader::~CPluginLoader() {
  // A host that did not shut down must still not leak libraries. The log
  // sink may belong to a controller that is already gone: unload quietly.
  for (auto it = m_plugins.rbegin(); it != m_plugins.rend(); ++it) {
    if (it->plugin && it->destroyer) it->destroyer(it->plugin);
    if (it->library) dlclose(it->library);
  }
}

void CPluginLoader::_info(const char* text, const std::string& arg) {
  _log().log(nuv::sev_info, nuv::CMessage(text).pushs(arg));
}

void CPluginLoader::_error(const char* text, const std::string& arg, const std::string& arg2) {
  nuv::CMessage m(text);
  m.pushs(arg);
  if (!arg2.empty()) m.pushs(arg2);
  _log().log(nuv::sev_error, m);
}

std::vector<std::string> CPluginLoader::collectPluginFiles(const std::string& spec) {
  const std::string path = nuv::trim(spec);
  struct stat st {};
  if (!path.empty() && path.find(',') == std::string::npos && stat(path.c_str(), &st) == 0 &&
      S_ISDIR(st.st_mode)) {
    _info("Scanning for plugins in '%1'.", path);
    std::vector<std::string> files;
    if (DIR* dir = opendir(path.c_str())) {
      while (const dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() > 3 && name.compare(name.size() - 3, 3, ".so") == 0)
          files.push_back(path + "/" + name);
      }
      closedir(dir);
    }
    std::sort(files.begin(), files.end());
    _log().log(nuv::sev_info, nuv::CMessage("Found %1 available plugins.").push(files.size()));
    return files;
  }
  std::vector<std::string> files;
  for (const std::string& item : nuv::split(path, ',')) {
    const std::string file = nuv::trim(item);
    if (!file.empty()) files.push_back(file);
  }
  return files;
}

bool CPluginLoader::loadPlugin(const std::string& rawFile) {
  const std::string file = nuv::trim(rawFile);
  void* library = dlopen(file.c_str(), RTLD_LAZY | RTLD_GLOBAL);
  if (!library) {
    const char* err = dlerror();
    _error("Failed to load plugin '%1' with error '%2'.", file, err ? err : "unknown error");
    return false;
  }
  auto creator = reinterpret_cast<PluginCreatorFn>(dlsym(library, "pluginCreator"));
  if (!creator) {
    _error("Failed to resolve creator for plugin '%1'.", file);
    dlclose(library);
    return false;
  }
  CPlugin* plugin = nullptr;
  try {
    plugin = creator();
  } catch (const nuv::CException& e) {
    _log().log(nuv::sev_error, nuv::CMessage(e.printableError()));
    _error("Failed to load plugin '%1'.", file);
    dlclose(library);
    return false;
  }
  if (!plugin) {
    _error("Failed to create plugin '%1'.", file);
    dlclose(library);
    return false;
  }
  auto destroyer = reinterpret_cast<PluginDestroyerFn>(dlsym(library, "pluginDestroyer"));
  return addPlugin(plugin, destroyer, library, file);
}

bool CPluginLoader::addPlugin(CPlugin* plugin, PluginDestroyerFn destroyer, void* library,
                              const std::string& file) {
  plugin->controller(&m_controller);
  plugin->handle(library);
  const std::string name = plugin->pluginName();
  const bool duplicate = std::any_of(m_plugins.begin(), m_plugins.end(),
                                     [&](const Entry& e) { return e.name == name; });
  Entry entry{file, name, plugin, destroyer, library, State::loaded};
  if (duplicate) {
    _error("Plugin '%1' is already loaded.", name);
    _unload(entry);
    return false;
  }
  m_plugins.push_back(entry);
  return true;
}

void CPluginLoader::loadPlugins(const std::vector<std::string>& files) {
  for (const std::string& f : files) loadPlugin(f);
  std::string names;
  for (const Entry& e : m_plugins) names += (names.empty() ? "" : ", ") + e.name;
  _log().log(nuv::sev_info,
             nuv::CMessage("Loaded %1 plugins: %2.").push(m_plugins.size()).pushs(names));
}

bool CPluginLoader::_requirementsMet(const CPlugin& plugin) const {
  for (const std::string& item : nuv::split(plugin.requiredInterfaces(), ',')) {
    const std::string required = nuv::trim(item);
    if (!required.empty() && findPluginTypes(required).empty()) return false;
  }
  return true;
}

void CPluginLoader::keepProviders(const std::string& interfaceName) {
  for (Entry& e : m_plugins)
    if (e.state == State::loaded && e.plugin && !e.plugin->conformsToInterface(interfaceName))
      _unload(e);
  _unloadWhere([](const Entry& e) { return e.plugin == nullptr; });
}

void CPluginLoader::openPlugins() {
  bool progress = true;
  while (progress) {
    progress = false;
    for (Entry& e : m_plugins) {
      if (e.state != State::loaded || !e.plugin || !_requirementsMet(*e.plugin)) continue;
      int rc;
      try {
        rc = e.plugin->openPlugin();
      } catch (const nuv::CException& ex) {
        _log().log(nuv::sev_error, nuv::CMessage(ex.printableError()));
        rc = -1;
      }
      if (rc == 0) {
        e.state = State::opened;
      } else {
        if (rc < 0) _error("Failed to initialize plugin '%1'.", e.name);
        _unload(e);
      }
      progress = true;
    }
    _unloadWhere([](const Entry& e) { return e.plugin == nullptr; });
  }
  for (Entry& e : m_plugins) {
    if (e.state != State::loaded) continue;
    _error("Dependency failure for plugin '%1'. This plugin requires: '%2'.", e.name,
           e.plugin->requiredInterfaces());
    _unload(e);
  }
  _unloadWhere([](const Entry& e) { return e.plugin == nullptr; });
}

std::vector<CPluginLoader::Entry*> CPluginLoader::_byPriority(State state, bool descending) {
  std::vector<Entry*> list;
  for (Entry& e : m_plugins)
    if (e.state == state && e.plugin) list.push_back(&e);
  std::stable_sort(list.begin(), list.end(), [descending](const Entry* a, const Entry* b) {
    return descending ? a->plugin->runPriority() > b->plugin->runPriority()
                      : a->plugin->runPriority() < b->plugin->runPriority();
  });
  return list;
}

void CPluginLoader::runPlugins() {
  for (Entry* e : _byPriority(State::opened, false)) {
    int rc;
    try {
      rc = e->plugin->runPlugin();
    } catch (const nuv::CException& ex) {
      _log().log(nuv::sev_error, nuv::CMessage(ex.printableError()));
      rc = -1;
    }
    if (rc == 0) {
      e->state = State::running;
      continue;
    }
    _error("Failed to run plugin '%1'. This plugin will be unloaded.", e->name);
    e->plugin->closePlugin();
    _unload(*e);
  }
  _unloadWhere([](const Entry& e) { return e.plugin == nullptr; });
}

void CPluginLoader::shutdownPlugins() {
  for (Entry* e : _byPriority(State::running, true)) {
    e->plugin->shutdownPlugin();
    e->state = State::opened;
  }
  for (auto it = m_plugins.rbegin(); it != m_plugins.rend(); ++it)
    if (it->plugin) it->plugin->closePlugin();
  for (auto it = m_plugins.rbegin(); it != m_plugins.rend(); ++it) _unload(*it);
  m_plugins.clear();
}

void CPluginLoader::_unload(Entry& e) {
  if (!e.plugin) return;
  _info("Closing plugin '%1'.", e.name);
  _info("Unloading plugin '%1'.", e.name);
  if (e.library && !e.destroyer) {
    _error("Failed to resolve destroyer for plugin '%1'.", e.name);
  } else if (e.destroyer) {
    e.destroyer(e.plugin);
  }
  if (e.library) dlclose(e.library);
  e.plugin = nullptr;
  e.library = nullptr;
}

void CPluginLoader::_unloadWhere(const std::function<bool(const Entry&)>& which) {
  m_plugins.erase(std::remove_if(m_plugins.begin(), m_plugins.end(), which), m_plugins.end());
}

std::vector<CPlugin*> CPluginLoader::loadedPlugins() const {
  std::vector<CPlugin*> out;
  for (const Entry& e : m_plugins)
    if (e.plugin) out.push_back(e.plugin);
  return out;
}

std::vector<CPlugin*> CPluginLoader::runningPlugins() const {
  std::vector<CPlugin*> out;
  for (const Entry& e : m_plugins)
    if (e.plugin && e.state == State::running) out.push_back(e.plugin);
  return out;
}

std::vector<CPlugin*> CPluginLoader::findPluginTypes(const std::string& interfaceName) const {
  std::vector<CPlugin*> out;
  for (const Entry& e : m_plugins)
    if (e.plugin && e.state != State::loaded && e.plugin->conformsToInterface(interfaceName))
      out.push_back(e.plugin);
  return out;
}
