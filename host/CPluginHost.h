#pragma once
// What every controller that hosts plug-ins provides the same way: the
// plug-in loader, the status queries and the task registry. The host's
// controller derives from it, and so do the controllers of tests that load
// plug-ins as the host does; each supplies the rest (configuration, logs,
// exception facade, storage directory, DUID, key registry).

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "extended/CIDHCPController.h"
#include "extended/CTaskRegistry.h"
#include "host/CPluginLoader.h"

class CPluginHost : public CIDHCPController {
 public:
  CPluginLoader& plugins() { return m_plugins; }
  const CPluginLoader& plugins() const { return m_plugins; }

  std::vector<CPlugin*> findPluginTypes(const std::string& interfaceName) const override;
  void registerQueryResponse(const std::string& name, QueryResponder responder) override;
  void deregisterQueryResponse(const std::string& name) override;
  bool getQueryResponse(const char* bytes, std::size_t length,
                        std::string& response) const override;
  CTaskRegistry& taskRegistry() override { return m_tasks; }

 private:
  mutable std::mutex m_queryMutex;
  std::map<std::string, QueryResponder> m_queries;
  CTaskRegistry m_tasks;
  // Last, so that it goes first: a plug-in destroyed with it may still
  // remove its queries.
  CPluginLoader m_plugins{*this};
};
