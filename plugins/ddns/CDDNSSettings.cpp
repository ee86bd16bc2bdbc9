#include "plugins/ddns/CDDNSSettings.h"

#include "extended/CDHCPConfigNames.h"
#include "extended/CMasterController.h"

namespace {

using Key = CDHCPConfigNames::DHCPKey;

// Runs read; a value that does not convert is recorded and logged, and the
// field keeps what it had.
template <class Read>
void readKey(CMasterController& controller, Read read) {
  try {
    read(*controller.config());
  } catch (const nuv::CException& e) {
    controller.exceptionFacade().record(e);
    controller.exceptionFacade().log();
  }
}

std::string key(Key k) {
  return CDHCPConfigNames::keyName(k, 6);
}

}  // namespace

CDDNSSettings CDDNSSettings::read(CMasterController& controller) {
  CDDNSSettings s;
  readKey(controller, [&s](const nuv::CConfig& c) {
    s.keyName = c.get(key(Key::ddnsTsigName));
    s.keySecret = c.get(key(Key::ddnsTsigSecret));
  });
  readKey(controller, [&s](const nuv::CConfig& c) {
    s.queueSize = c.get_uint32(key(Key::ddnsQueueSize), s.queueSize);
  });
  readKey(controller, [&s](const nuv::CConfig& c) {
    s.timeoutMs = c.get_uint32(key(Key::ddnsTimeout), s.timeoutMs);
  });
  readKey(controller, [&s](const nuv::CConfig& c) {
    s.retries = c.get_uint32(key(Key::ddnsRetries), s.retries);
  });
  readKey(controller, [&s](const nuv::CConfig& c) {
    s.drainSeconds = c.get_uint32(key(Key::ddnsDrainTime), s.drainSeconds);
  });
  readKey(controller, [&s](const nuv::CConfig& c) {
    s.defaultTTL = c.get_uint32(key(Key::ddnsDefaultTTL), s.defaultTTL);
  });
  readKey(controller, [&s](const nuv::CConfig& c) {
    const std::string server = c.get(key(Key::ddnsDefaultServer));
    if (server.empty()) return;
    s.defaultServer = nuv::CEndpoint(server);
    if (s.defaultServer.port() == 0) s.defaultServer.setPort(53);
  });
  if (s.queueSize == 0) s.queueSize = kQueueSize;
  if (s.timeoutMs == 0) s.timeoutMs = kTimeoutMs;
  return s;
}
