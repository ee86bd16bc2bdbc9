#pragma once
// A command-queue task run the leader/followers way: one thread at a time
// (the leader) waits in the shared reactor; whatever fires runs on it
// (readable sockets, timers, queued commands); work a handler defers with
// deferredDispatch runs on that same thread after it has given up the
// reactor, while another thread takes the lead. So a thread that read a
// datagram processes it itself, outside the reactor, in parallel with the
// others.
//
// Leadership goes through a FIFO token, so it rotates over the waiting
// threads. A thread first spins briefly on a counter of candidates before
// blocking on the token.

#include <ace/Time_Value.h>
#include <ace/Token.h>

#include <atomic>
#include <utility>
#include <vector>

#include "extended/CCommandQueueTask.h"

class CLFCommandQueueTask : public CCommandQueueTask {
 public:
  CLFCommandQueueTask(CMasterController* controller, std::string name, unsigned threadCount,
                      std::size_t queueCapacity = kDefaultQueueCapacity);
  ~CLFCommandQueueTask() override;

  // Only the current leader, inside the reactor, can defer; other callers
  // get false.
  bool deferredDispatch(CICommandQueueTaskHandler* handler, void* argument) override;

 protected:
  // The loop of one thread until the stop flag is set; each round waits in
  // the reactor at most *limit (none: until something fires). Returns 0.
  virtual int _pumpReactor(const ACE_Time_Value* limit = nullptr);

 private:
  using Dispatches = std::vector<std::pair<CICommandQueueTaskHandler*, void*>>;

  void _becomeLeader();
  void _leadOnce(const ACE_Time_Value* limit, Dispatches& mine);
  void _runDispatches(Dispatches& mine);

  ACE_Token m_leaderLock;
  std::atomic<int> m_competing{0};
  // The leader's list is found through the calling thread (thread-local),
  // so that no other thread ever reads or writes it.
  struct Leading {
    const CLFCommandQueueTask* task = nullptr;
    Dispatches* dispatches = nullptr;
  };
  static thread_local Leading t_leading;
};
