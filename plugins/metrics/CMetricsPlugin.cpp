#include "plugins/metrics/CMetricsPlugin.h"

#include <httplib.h>

#include <sstream>

#include "extended/CDHCPConfigNames.h"
#include "extended/CMasterController.h"
#include "extended/CPluginEntry.h"
#include "extended/CSystemMode.h"
#include "plugins/metrics/CPoolGauges.h"
#include "plugins/metrics/CPrometheusText.h"
#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace {

// The lines "name=value" of a status query's answer.
std::vector<std::pair<std::string, std::string>> queryLines(CMasterController& controller,
                                                            const std::string& query) {
  std::string answer;
  std::vector<std::pair<std::string, std::string>> out;
  if (!controller.getQueryResponse(query.data(), query.size(), answer)) return out;
  std::istringstream in(answer);
  for (std::string line; std::getline(in, line);) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos)
      out.emplace_back(nuv::trim(line.substr(0, eq)), nuv::trim(line.substr(eq + 1)));
  }
  return out;
}

void counters(CMasterController& controller, CPrometheusText& out) {
  for (const auto& [name, value] : queryLines(controller, "query_stats")) {
    if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos) continue;
    out.family(CPrometheusText::counterName(name), "counter",
               "The DHCPv6 server's counter " + name + ", summed over its worker threads.");
    out.sample(std::stod(value));
  }
}

void mode(CMasterController& controller, CPrometheusText& out) {
  std::string current;
  for (const auto& [name, value] : queryLines(controller, "query_mode"))
    if (name == "mode") current = value;
  out.family("dhcp6d_worker_mode", "gauge",
             "1 for the mode the worker threads are in (servicing: they answer), 0 for the "
             "others.");
  for (unsigned m = CSystemMode::init; m <= CSystemMode::error; ++m) {
    const std::string name = CSystemMode::fromValue(m).string();
    out.sample(name == current ? 1 : 0, {{"mode", name}});
  }
}

void pools(const std::vector<CPoolUsage>& usage, CPrometheusText& out) {
  struct Gauge {
    const char* name;
    const char* help;
    double (*value)(const CPoolUsage&);
  } gauges[] = {
      {"dhcp6d_pool_capacity",
       "Addresses (address pools) or prefixes (prefix pools) a pool "
       "can hand out: its range less its exclusions.",
       [](const CPoolUsage& u) { return u.total; }},
      {"dhcp6d_pool_leased",
       "Addresses or prefixes of a pool that a lease holds (expired ones "
       "too, until they are reclaimed).",
       [](const CPoolUsage& u) { return static_cast<double>(u.leased); }},
      {"dhcp6d_pool_offered", "Addresses or prefixes of a pool held for a client by an offer.",
       [](const CPoolUsage& u) { return static_cast<double>(u.offered); }},
      {"dhcp6d_pool_free", "Addresses or prefixes of a pool neither leased nor offered.",
       [](const CPoolUsage& u) { return u.free(); }},
  };
  for (const Gauge& g : gauges) {
    out.family(g.name, "gauge", g.help);
    for (const CPoolUsage& u : usage)
      out.sample(g.value(u), {{"pool", u.name}, {"kind", u.kind()}});
  }
}

}  // namespace

CMetricsPlugin::CMetricsPlugin() = default;

CMetricsPlugin::~CMetricsPlugin() {
  closePlugin();
}

std::optional<nuv::CEndpoint> CMetricsPlugin::listenEndpoint(const std::string& raw) {
  const std::string value = nuv::trim(raw);
  if (value.empty()) return std::nullopt;
  if (value.find_first_not_of("0123456789") == std::string::npos && value.size() <= 5) {
    const unsigned long port = std::stoul(value);
    if (port > 0 && port <= 65535)
      return nuv::CEndpoint(*nuv::CIPAddress::fromText("::1"), static_cast<std::uint16_t>(port));
  }
  const auto endpoint = nuv::CEndpoint::fromText(value, true);
  if (!endpoint || endpoint->port() == 0)
    NUV_THROW("CMetricsPlugin::listenEndpoint",
              nuv::CMessage("Cannot use '%1' as the metrics endpoint.").pushs(value),
              nuv::CMessage("Write a port (it listens on [::1]) or an address and a port, such "
                            "as [::1]:%1 or 127.0.0.1:%1.")
                  .push(kDefaultPort));
  return endpoint;
}

int CMetricsPlugin::openPlugin() {
  m_started = std::chrono::steady_clock::now();
  try {
    m_endpoint = listenEndpoint(controller()->config()->get(CDHCPConfigNames::metricsListenOn()));
  } catch (const nuv::CException& e) {
    controller()->log().log(nuv::sev_error, nuv::CMessage(e.printableError()));
    return 1;
  }
  return 0;
}

int CMetricsPlugin::runPlugin() {
  if (!m_endpoint) return 0;  // off: nothing to serve
  m_pools = std::make_unique<CPoolGauges>(*controller());
  m_server = std::make_unique<httplib::Server>();
  // Scrapes come seldom: one thread serves them, one after another.
  m_server->new_task_queue = [] { return new httplib::ThreadPool(1); };
  m_server->Get(kPath, [this](const httplib::Request&, httplib::Response& response) {
    response.set_content(page(), CPrometheusText::kContentType);
  });
  if (!m_server->bind_to_port(m_endpoint->address().string(), m_endpoint->port())) {
    const int err = errno;
    controller()->log().log(
        nuv::sev_error,
        nuv::CMessage("Cannot serve the metrics on %1.").pushs(m_endpoint->string()), err);
    m_server.reset();
    m_pools.reset();
    return 1;
  }
  m_port = m_endpoint->port();
  m_thread = std::thread([this] { m_server->listen_after_bind(); });
  controller()->log().log(nuv::sev_info, nuv::CMessage("Serving the metrics on http://%1%2.")
                                             .pushs(m_endpoint->string())
                                             .pushs(kPath));
  return 0;
}

void CMetricsPlugin::shutdownPlugin() {
  if (m_server) m_server->stop();
  if (m_thread.joinable()) m_thread.join();
  m_server.reset();
  m_pools.reset();
  m_port = 0;
}

void CMetricsPlugin::closePlugin() {
  shutdownPlugin();
}

std::string CMetricsPlugin::page() {
  CMasterController& host = *controller();
  CPrometheusText out;
  counters(host, out);
  mode(host, out);
  out.family("dhcp6d_database_errors_total", "counter",
             "Failures the database layer raised (a transaction that could not be read, "
             "written or committed).");
  out.sample(static_cast<double>(host.exceptionFacade().databaseCount()));
  out.family("dhcp6d_uptime_seconds", "gauge", "Seconds since the server started.");
  out.sample(std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count());
  if (m_pools) {
    pools(m_pools->read(), out);
    out.family("dhcp6d_pool_read_errors_total", "counter",
               "Reads of the pools for this page that failed.");
    out.sample(static_cast<double>(m_pools->failures()));
  }
  return out.text();
}

NUV_PLUGIN_ENTRY(CMetricsPlugin)
