#include "plugins/pg_db/CPgDatabasePlugin.h"

#include "extended/CConfigNames.h"
#include "extended/CMasterController.h"
#include "extended/CPluginEntry.h"
#include "plugins/pg_db/CPgConnection.h"
#include "standard/CDataDir.h"

namespace {

// A connection-string value in quotes with ' and \ escaped.
std::string quoted(const std::string& v) {
  std::string out = "'";
  for (char c : v) {
    if (c == '\'' || c == '\\') out += '\\';
    out += c;
  }
  return out + "'";
}

}  // namespace

int CPgDatabasePlugin::openPlugin() {
  // Installed beside the embedded provider: it serves only when a database
  // server is configured, and otherwise steps aside without a failure.
  if (!controller()->config()->has(nuv::CConfigNames::dbHostname())) {
    controller()->log().log(nuv::sev_info,
                            nuv::CMessage("Plugin '%1' is not used: '%2' is not set.")
                                .pushs(pluginName())
                                .pushs(nuv::CConfigNames::dbHostname()));
    return 1;
  }
  return openFor(*controller(), pluginName(), nuv::CDataDir::path());
}

void CPgDatabasePlugin::splitHostPort(const std::string& text, std::string& host,
                                      std::string& port) {
  host = text;
  port.clear();
  if (!text.empty() && text[0] == '[') {
    const auto close = text.find(']');
    host = text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    if (close != std::string::npos && close + 1 < text.size() && text[close + 1] == ':')
      port = text.substr(close + 2);
    return;
  }
  const auto colon = text.find(':');
  // Several colons: a bare IPv6 address without a port.
  if (colon != std::string::npos && text.find(':', colon + 1) == std::string::npos) {
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
  }
}

void CPgDatabasePlugin::_configure(const nuv::CConfig& config, const std::string&) {
  using Names = nuv::CConfigNames;
  std::string host, port;
  splitHostPort(config.get(Names::dbHostname()), host, port);
  const std::string name = config.get(Names::dbName(), "dhcp6d");
  m_connInfo = "dbname=" + quoted(name) + " connect_timeout=10";
  if (!host.empty()) m_connInfo += " host=" + quoted(host);
  if (!port.empty()) m_connInfo += " port=" + quoted(port);
  if (config.has(Names::dbUser())) m_connInfo += " user=" + quoted(config.get(Names::dbUser()));
  if (config.has(Names::dbPassword()))
    m_connInfo += " password=" + quoted(config.get(Names::dbPassword()));
  m_where = "'" + (host.empty() ? std::string("local") : host) + (port.empty() ? "" : ":" + port) +
            "/" + name + "'";
}

std::unique_ptr<CSqlConnection> CPgDatabasePlugin::_connect() {
  return std::make_unique<CPgConnection>(m_connInfo, m_where);
}

NUV_PLUGIN_ENTRY(CPgDatabasePlugin)
