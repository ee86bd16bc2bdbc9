#pragma once
// The DNS update service one worker thread of the server holds: it only
// queues the update for the sender thread and returns at once.

#include "dhcp_server_common/CIDHCPDDNS.h"
#include "extended/CLogRateLimiter.h"
#include "extended/CLogSink.h"
#include "plugins/ddns/CDDNSCounters.h"
#include "plugins/ddns/CDDNSQueue.h"

class CDDNSService : public CIDHCPDDNS {
 public:
  // The queue, counters and log are the plug-in's, which outlives the
  // server's worker threads.
  CDDNSService(CDDNSQueue& queue, CDDNSCounters& counters, CLogSink& log)
      : m_queue(queue), m_counters(counters), m_log(log) {}

  void updateARecord(const CDDNSUpdate& update) override;
  void updatePTRRecord(const CDDNSUpdate& update) override;
  void deleteARecord(const CDDNSUpdate& update) override;
  void deletePTRRecord(const CDDNSUpdate& update) override;

 private:
  void _queue(CDDNSJob::Records records, CDDNSJob::Action action, const CDDNSUpdate& update);

  CDDNSQueue& m_queue;
  CDDNSCounters& m_counters;
  CLogSink& m_log;
  CLogRateLimiter m_warnings;  // this worker thread's
};
