#include "ace_ext/CSelectReactor.h"

#include <ace/Select_Reactor.h>
#include <ace/Thread.h>

namespace nuv {

// Signals are taken by sigwait on the host's main thread, never through the
// reactor: it need not block them around every dispatch (two system calls
// per datagram).
CSelectReactor::CSelectReactor()
    : ACE_Reactor(
          new ACE_Select_Reactor(nullptr, nullptr, ACE_DISABLE_NOTIFY_PIPE_DEFAULT, nullptr, false),
          true) {}

void CSelectReactor::takeOwnership() {
  owner(ACE_Thread::self());
}

bool CSelectReactor::notifyNow(ACE_Event_Handler* handler, ACE_Reactor_Mask mask) {
  ACE_Time_Value noWait = ACE_Time_Value::zero;
  return notify(handler, mask, &noWait) != -1;
}

}  // namespace nuv
