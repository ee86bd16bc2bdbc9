#pragma once
// The metrics plug-in: serves /metrics over HTTP in the Prometheus text
// format when "stats.metrics.listen_on" names an endpoint (a port alone:
// on [::1]; not set: no endpoint). The page holds every counter the
// statistics plug-in sums (through the status query "query_stats", so the
// workers' counters are never touched here), the worker mode, the database
// failures, the uptime and the pools' use (CPoolGauges). One HTTP thread
// of its own serves the scrapes.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "extended/CPlugin.h"
#include "standard/CEndpoint.h"

namespace httplib {
class Server;
}
class CPoolGauges;

class CMetricsPlugin : public CPlugin {
 public:
  static constexpr const char* kPath = "/metrics";
  static constexpr std::uint16_t kDefaultPort = 9547;

  CMetricsPlugin();
  ~CMetricsPlugin() override;

  // Reads the endpoint; a value that names none stops the plug-in.
  int openPlugin() override;
  // Serves from here to shutdownPlugin, which ends the database session
  // while the provider is still open.
  int runPlugin() override;
  void shutdownPlugin() override;
  void closePlugin() override;
  std::string pluginName() const override { return "Metrics"; }
  std::string pluginInterface() const override { return "CMetricsPlugin,CPlugin"; }
  // The pools are read through the database provider.
  std::string requiredInterfaces() const override { return "CIDatabaseInit"; }

  // The endpoint a "stats.metrics.listen_on" value names; nothing for an
  // empty value; throws for one that is no endpoint.
  static std::optional<nuv::CEndpoint> listenEndpoint(const std::string& value);
  // The page as a scrape gets it.
  std::string page();
  // The port the endpoint listens on (0 when there is none).
  int port() const { return m_port; }

 private:
  std::unique_ptr<httplib::Server> m_server;
  std::unique_ptr<CPoolGauges> m_pools;
  std::thread m_thread;
  std::optional<nuv::CEndpoint> m_endpoint;
  int m_port = 0;
  std::chrono::steady_clock::time_point m_started;
};
