#pragma once
// An event handler whose work may be split: the part run in the reactor
// hands the rest to the task (deferredDispatch), which calls dispatch() on
// the same thread once that thread has left the reactor.

#include <ace/Event_Handler.h>

class CICommandQueueTaskHandler : public ACE_Event_Handler {
 public:
  virtual int dispatch(void* argument) = 0;
};
