#include "plugins/ddns/CDDNSService.h"

#include <ctime>

void CDDNSService::updateARecord(const CDDNSUpdate& update) {
  _queue(CDDNSJob::Records::forward, CDDNSJob::Action::add, update);
}

void CDDNSService::updatePTRRecord(const CDDNSUpdate& update) {
  _queue(CDDNSJob::Records::reverse, CDDNSJob::Action::add, update);
}

void CDDNSService::deleteARecord(const CDDNSUpdate& update) {
  _queue(CDDNSJob::Records::forward, CDDNSJob::Action::remove, update);
}

void CDDNSService::deletePTRRecord(const CDDNSUpdate& update) {
  _queue(CDDNSJob::Records::reverse, CDDNSJob::Action::remove, update);
}

void CDDNSService::_queue(CDDNSJob::Records records, CDDNSJob::Action action,
                          const CDDNSUpdate& update) {
  CDDNSJob job{records, action, update};
  const CDDNSQueue::Pushed pushed = m_queue.push(job);
  if (pushed.taken && !pushed.dropped) return;
  m_counters.countDrop();
  if (!m_warnings.admit(std::time(nullptr))) return;
  if (const unsigned long left = m_warnings.takeSuppressed())
    m_log.log(nuv::sev_warning,
              nuv::CMessage("%1 more dropped DNS updates were not logged.").push(left));
  if (pushed.dropped)
    m_log.log(nuv::sev_warning,
              nuv::CMessage("The DNS update queue is full (%1 updates): dropped the oldest, %2.")
                  .push(m_queue.capacity())
                  .pushs(pushed.dropped->describe()));
  else
    m_log.log(
        nuv::sev_warning,
        nuv::CMessage("The DNS update service has stopped: dropped %1.").pushs(job.describe()));
}
