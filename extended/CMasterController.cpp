#include "extended/CMasterController.h"

#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>

#include "standard/StringUtil.h"

CMasterController::~CMasterController() {
  // A host that did not shut down must still not leak libraries. The log
  // sink belongs to the derived host, which is already gone: unload quietly.
  for (auto it = m_plugins.rbegin(); it != m_plugins.rend(); ++it) {
    if (it->plugin && it->destroyer) it->destroyer(it->plugin);
    if (it->library) dlclose(it->library);
  }
}

void CMasterController::_info(const char* text, const std::string& arg) {
  log().log(nuv::sev_info, nuv::CMessage(text).pushs(arg));
}

void CMasterController::_error(const char* text, const std::string& arg, const std::string& arg2) {
  nuv::CMessage m(text);
  m.pushs(arg);
  if (!arg2.empty()) m.pushs(arg2);
  log().log(nuv::sev_error, m);
}

std::vector<std::string> CMasterController::collectPluginFiles(const std::string& spec) {
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
    log().log(nuv::sev_info, nuv::CMessage("Found %1 available plugins.").push(files.size()));
    return files;
  }
  std::vector<std::string> files;
  for (const std::string& item : nuv::split(path, ',')) {
    const std::string file = nuv::trim(item);
    if (!file.empty()) files.push_back(file);
  }
  return files;
}

bool CMasterController::loadPlugin(const std::string& rawFile) {
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
    log().log(nuv::sev_error, nuv::CMessage(e.printableError()));
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

bool CMasterController::addPlugin(CPlugin* plugin, PluginDestroyerFn destroyer, void* library,
                                  const std::string& file) {
  plugin->controller(this);
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

void CMasterController::loadPlugins(const std::vector<std::string>& files) {
  for (const std::string& f : files) loadPlugin(f);
  std::string names;
  for (const Entry& e : m_plugins) names += (names.empty() ? "" : ", ") + e.name;
  log().log(nuv::sev_info,
            nuv::CMessage("Loaded %1 plugins: %2.").push(m_plugins.size()).pushs(names));
}

bool CMasterController::_requirementsMet(const CPlugin& plugin) const {
  for (const std::string& item : nuv::split(plugin.requiredInterfaces(), ',')) {
    const std::string required = nuv::trim(item);
    if (!required.empty() && findPluginTypes(required).empty()) return false;
  }
  return true;
}

void CMasterController::keepProviders(const std::string& interfaceName) {
  for (Entry& e : m_plugins)
    if (e.state == State::loaded && e.plugin && !e.plugin->conformsToInterface(interfaceName))
      _unload(e);
  _unloadWhere([](const Entry& e) { return e.plugin == nullptr; });
}

void CMasterController::openPlugins() {
  bool progress = true;
  while (progress) {
    progress = false;
    for (Entry& e : m_plugins) {
      if (e.state != State::loaded || !e.plugin || !_requirementsMet(*e.plugin)) continue;
      int rc;
      try {
        rc = e.plugin->openPlugin();
      } catch (const nuv::CException& ex) {
        log().log(nuv::sev_error, nuv::CMessage(ex.printableError()));
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

std::vector<CMasterController::Entry*> CMasterController::_byPriority(State state,
                                                                      bool descending) {
  std::vector<Entry*> list;
  for (Entry& e : m_plugins)
    if (e.state == state && e.plugin) list.push_back(&e);
  std::stable_sort(list.begin(), list.end(), [descending](const Entry* a, const Entry* b) {
    return descending ? a->plugin->runPriority() > b->plugin->runPriority()
                      : a->plugin->runPriority() < b->plugin->runPriority();
  });
  return list;
}

void CMasterController::runPlugins() {
  for (Entry* e : _byPriority(State::opened, false)) {
    int rc;
    try {
      rc = e->plugin->runPlugin();
    } catch (const nuv::CException& ex) {
      log().log(nuv::sev_error, nuv::CMessage(ex.printableError()));
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

void CMasterController::shutdownPlugins() {
  for (Entry* e : _byPriority(State::running, true)) {
    e->plugin->shutdownPlugin();
    e->state = State::opened;
  }
  for (auto it = m_plugins.rbegin(); it != m_plugins.rend(); ++it)
    if (it->plugin) it->plugin->closePlugin();
  for (auto it = m_plugins.rbegin(); it != m_plugins.rend(); ++it) _unload(*it);
  m_plugins.clear();
}

void CMasterController::_unload(Entry& e) {
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

void CMasterController::_unloadWhere(const std::function<bool(const Entry&)>& which) {
  m_plugins.erase(std::remove_if(m_plugins.begin(), m_plugins.end(), which), m_plugins.end());
}

std::vector<CPlugin*> CMasterController::loadedPlugins() const {
  std::vector<CPlugin*> out;
  for (const Entry& e : m_plugins)
    if (e.plugin) out.push_back(e.plugin);
  return out;
}

std::vector<CPlugin*> CMasterController::runningPlugins() const {
  std::vector<CPlugin*> out;
  for (const Entry& e : m_plugins)
    if (e.plugin && e.state == State::running) out.push_back(e.plugin);
  return out;
}

std::vector<CPlugin*> CMasterController::findPluginTypes(const std::string& interfaceName) const {
  std::vector<CPlugin*> out;
  for (const Entry& e : m_plugins)
    if (e.plugin && e.state != State::loaded && e.plugin->conformsToInterface(interfaceName))
      out.push_back(e.plugin);
  return out;
}

void CMasterController::registerQueryResponse(const std::string& name, QueryResponder responder) {
  std::lock_guard<std::mutex> lock(m_queryMutex);
  m_queries[name] = std::move(responder);
}

void CMasterController::deregisterQueryResponse(const std::string& name) {
  std::lock_guard<std::mutex> lock(m_queryMutex);
  m_queries.erase(name);
}

bool CMasterController::isStatusQuery(const char* bytes, std::size_t length) {
  const std::string_view data(bytes, length);
  return (length >= 6 && data.substr(0, 6) == "query_") ||
         (length >= 7 && data.substr(0, 7) == "config_");
}

bool CMasterController::getQueryResponse(const char* bytes, std::size_t length,
                                         std::string& response) const {
  const std::string_view data(bytes, length);
  if (!isStatusQuery(bytes, length)) return false;
  std::string key(data.substr(0, std::min<std::size_t>(length, 256)));
  // Tools often end the datagram with a newline; it is not part of the name.
  while (!key.empty() && (key.back() == '\n' || key.back() == '\r' || key.back() == '\0'))
    key.pop_back();
  QueryResponder responder;
  {
    std::lock_guard<std::mutex> lock(m_queryMutex);
    const auto it = m_queries.find(key);
    if (it == m_queries.end()) return false;
    responder = it->second;
  }
  response = responder();
  return true;
}
