#include "ace_ext/CSelectReactor.h"

#include <ace/Select_Reactor.h>
#include <ace/Thread.h>

namespace nuv {

CSelectReactor::CSelectReactor() : ACE_Reactor(new ACE_Select_Reactor, true) {}

void CSelectReactor::takeOwnership() {
  owner(ACE_Thread::self());
}

bool CSelectReactor::notifyNow(ACE_Event_Handler* handler, ACE_Reactor_Mask mask) {
  ACE_Time_Value noWait = ACE_Time_Value::zero;
  return notify(handler, mask, &noWait) != -1;
}

}  // namespace nuv
