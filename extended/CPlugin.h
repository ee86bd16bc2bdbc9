#pragma once
// The generic plug-in interface the host drives: open, run, shut down, close.
// A plug-in library exports `pluginCreator` and `pluginDestroyer` unmangled.

#include <string>

class CMasterController;

class CPlugin {
 public:
  virtual ~CPlugin() = default;

  // 0 on success. A non-zero result makes the host unload the plug-in; a
  // negative one is also reported as an initialisation failure.
  virtual int openPlugin() { return 0; }
  virtual void closePlugin() {}
  // Plug-ins run in ascending priority and shut down in descending priority.
  virtual int runPriority() const { return 0; }
  virtual int runPlugin() { return 0; }
  virtual void shutdownPlugin() {}
  virtual void pausePlugin() {}
  virtual void resumePlugin() {}
  virtual std::string pluginName() const { return "<unnamed>"; }
  virtual int pluginMode() const { return 0; }
  // Comma-separated names of the interfaces this plug-in provides.
  virtual std::string pluginInterface() const { return "CPlugin"; }
  // Comma-separated interfaces that must be provided by opened plug-ins first.
  virtual std::string requiredInterfaces() const { return {}; }
  // True when one trimmed item of pluginInterface() equals name exactly.
  virtual bool conformsToInterface(const std::string& name) const;

  CMasterController* controller() const { return m_controller; }
  void controller(CMasterController* c) { m_controller = c; }
  void* handle() const { return m_handle; }
  void handle(void* h) { m_handle = h; }

 private:
  CMasterController* m_controller = nullptr;  // the host's; not owned
  void* m_handle = nullptr;                   // the host's dlopen handle; not owned
};

extern "C" {
using PluginCreatorFn = CPlugin* (*)();
using PluginDestroyerFn = void (*)(CPlugin*);
}
