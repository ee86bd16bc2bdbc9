#pragma once
// What handlers and callers see of a command-queue task.

#include <string>

#include "extended/CAsyncCommand.h"

class CICommandQueueTaskHandler;

class CICommandQueueTask {
 public:
  virtual ~CICommandQueueTask() = default;
  // Queues the command for the next worker that services the queue; raises
  // when the queue is full.
  virtual void sendCommand(const CAsyncCommandPtr& command) = 0;
  virtual const std::string& taskName() const = 0;
  // Asks for handler->dispatch(argument) on the calling thread once it has
  // left the reactor; false when the task cannot defer (call it at once).
  virtual bool deferredDispatch(CICommandQueueTaskHandler* handler, void* argument) = 0;
  // The calling worker thread's index; raises for other threads.
  virtual long myThreadIndex() const = 0;
};
