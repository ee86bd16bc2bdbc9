#pragma once
// Runs work on one particular worker thread of a leader/followers task.
//
// Queued commands run on whichever thread leads the reactor, but bus
// events must reach each thread's own state on that thread. So work is
// posted into the addressee's mailbox and a relay command goes round: the
// leader that runs it empties its own mailbox and, while any mailbox still
// holds work, hands the relay on after it has left the reactor, so that
// leadership (which rotates over the waiting threads) brings the relay to
// every thread in turn. A thread busy with a datagram picks its work up on
// its next turn as leader.

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "extended/CICommandQueueTaskHandler.h"
#include "extended/CISystemBus.h"

class CLFCommandQueueTask;

class CDHCP6ThreadMailboxes : public CICommandQueueTaskHandler {
 public:
  CDHCP6ThreadMailboxes(CLFCommandQueueTask& task, std::size_t threadCount);
  ~CDHCP6ThreadMailboxes() override;

  // Any thread. Work for a thread index outside the task is dropped.
  void post(long threadIndex, std::function<void()> work);
  // Delivers into the thread's mailbox.
  CEventExecutor executorFor(long threadIndex);
  // The calling worker thread runs what was posted for it.
  void runMine(long threadIndex);
  // The thread has ended: what is left for it is dropped.
  void discard(long threadIndex);
  std::size_t waiting() const { return m_waiting.load(); }

  // The relay, after the leader that ran it has left the reactor.
  int dispatch(void* argument) override;

 private:
  class CCmdRunPosted;
  struct Mailbox {
    std::mutex mutex;
    std::deque<std::function<void()>> work;
  };

  void _sendRelay();
  void _relayOn();

  CLFCommandQueueTask& m_task;
  std::vector<std::unique_ptr<Mailbox>> m_boxes;
  std::atomic<std::size_t> m_waiting{0};
  std::atomic<bool> m_relayArmed{false};
};
