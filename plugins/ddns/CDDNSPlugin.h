#pragma once
// The DNS update plug-in: provides "CIDHCPDDNSFactory". Every worker thread
// of the server gets a service that queues its updates; one sender thread,
// running while the plug-in runs, sends them to the DNS servers as RFC 2136
// updates, TSIG-signed when a key is configured. Its counts are answered
// to the status query "query_ddns".

#include <memory>

#include "dhcp_server_common/CIDHCPDDNS.h"
#include "extended/CPlugin.h"
#include "plugins/ddns/CDDNSCounters.h"
#include "plugins/ddns/CDDNSQueue.h"
#include "plugins/ddns/CDDNSSender.h"

class CDDNSPlugin : public CPlugin, public CIDHCPDDNSFactory {
 public:
  static constexpr const char* kQuery = "query_ddns";

  ~CDDNSPlugin() override;

  int openPlugin() override;
  // Starts the sender: the statistics plug-in it counts with is open by now.
  int runPlugin() override;
  // Sends what is queued for at most "ddns.drain_time" seconds.
  void shutdownPlugin() override;
  void closePlugin() override;
  std::string pluginName() const override { return "DNS Updates"; }
  std::string pluginInterface() const override { return "CIDHCPDDNSFactory,CDDNSPlugin,CPlugin"; }

  std::shared_ptr<CIDHCPDDNS> createDDNS(CIDHCPContext& context) override;
  std::shared_ptr<CIDHCPDDNS> createBackgroundDDNS() override { return createService(); }
  // The service createDDNS hands a worker thread; opened plug-in only.
  std::shared_ptr<CIDHCPDDNS> createService();
  const CDDNSCounters& counters() const { return m_counters; }

 private:
  CDDNSCounters m_counters;
  std::unique_ptr<CDDNSQueue> m_queue;  // from open: its size is configured
  // Declared last: stopped before the queue and counters it uses go.
  std::unique_ptr<CDDNSSender> m_sender;
};
