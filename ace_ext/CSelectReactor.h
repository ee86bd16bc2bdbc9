#pragma once
// The reactor a group of worker threads shares: ACE's select reactor with
// its own timer queue and notification channel.
//
// The select reactor dispatches only in its owner thread (from any other
// thread handle_events() fails with EACCES), so whichever worker is about to
// wait in it takes it over first. Notifications never block the sender: a
// full channel is reported instead, so that a worker that is itself the
// only reader of the channel cannot hang on it.

#include <ace/Reactor.h>

namespace nuv {

class CSelectReactor : public ACE_Reactor {
 public:
  CSelectReactor();
  CSelectReactor(const CSelectReactor&) = delete;
  CSelectReactor& operator=(const CSelectReactor&) = delete;

  // Makes the calling thread the one whose event loop dispatches.
  void takeOwnership();
  // Queues handler->handle_exception() for the thread in the event loop;
  // false when the notification channel is full.
  bool notifyNow(ACE_Event_Handler* handler,
                 ACE_Reactor_Mask mask = ACE_Event_Handler::EXCEPT_MASK);
  // Makes the event loop return without dispatching anything else.
  bool wake() { return notifyNow(nullptr); }
};

}  // namespace nuv
