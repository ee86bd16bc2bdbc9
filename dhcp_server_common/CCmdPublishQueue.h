#pragma once
// A side command that publishes the lease events a message queued on the
// system bus, once its transaction is known to have committed (type 2).

#include <memory>
#include <vector>

#include "extended/CAppEvent.h"
#include "extended/CSyncCommand.h"

class CIDHCPContext;

using CAppEventQueue = std::vector<std::shared_ptr<CAppEvent>>;

class CCmdPublishQueue : public CSyncCommand {
 public:
  // The queue belongs to the packet in progress and outlives the command.
  CCmdPublishQueue(CIDHCPContext& context, unsigned type, CAppEventQueue& queue)
      : CSyncCommand(type), m_context(context), m_queue(queue) {}

  // Publishes the events in order and empties the queue.
  void execute() override;

 private:
  CIDHCPContext& m_context;
  CAppEventQueue& m_queue;
};
