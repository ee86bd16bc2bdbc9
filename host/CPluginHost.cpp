#include "host/CPluginHost.h"

#include <algorithm>
#include <string_view>

std::vector<CPlugin*> CPluginHost::findPluginTypes(const std::string& interfaceName) const {
  return m_plugins.findPluginTypes(interfaceName);
}

void CPluginHost::registerQueryResponse(const std::string& name, QueryResponder responder) {
  std::lock_guard<std::mutex> lock(m_queryMutex);
  m_queries[name] = std::move(responder);
}

void CPluginHost::deregisterQueryResponse(const std::string& name) {
  std::lock_guard<std::mutex> lock(m_queryMutex);
  m_queries.erase(name);
}

bool CPluginHost::getQueryResponse(const char* bytes, std::size_t length,
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
