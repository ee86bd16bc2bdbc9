#pragma once
// The host as a plug-in sees it: configuration and log, the exception
// facade, the storage directory, the other plug-ins by interface, status
// queries and the task registry. Abstract: the host implements it (with
// its plug-in loader, in host/), and tests implement it too.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "extended/CExceptionFacade.h"
#include "extended/CIHostServices.h"
#include "extended/CPlugin.h"

class CTaskRegistry;

class CMasterController : public CIHostServices {
 public:
  using QueryResponder = std::function<std::string()>;

  CMasterController() = default;
  CMasterController(const CMasterController&) = delete;
  CMasterController& operator=(const CMasterController&) = delete;

  virtual CExceptionFacade& exceptionFacade() = 0;
  virtual std::string varDir() const = 0;

  // Opened or running plug-ins conforming to the interface, in load order.
  virtual std::vector<CPlugin*> findPluginTypes(const std::string& interfaceName) const = 0;

  // Status queries: names begin with "query_" or "config_".
  virtual void registerQueryResponse(const std::string& name, QueryResponder responder) = 0;
  // A plug-in removes its queries before it is unloaded: the responder's
  // code lives in the plug-in's library.
  virtual void deregisterQueryResponse(const std::string& name) = 0;
  // The answer to a datagram naming a registered query; false for any other.
  virtual bool getQueryResponse(const char* bytes, std::size_t length,
                                std::string& response) const = 0;
  // Whether a datagram is a plain-text status query ("query_..." or "config_...").
  static bool isStatusQuery(const char* bytes, std::size_t length);

  virtual CTaskRegistry& taskRegistry() = 0;
};
