#pragma once
// What the socket front end calls when one of its sockets is ready: the
// packet handler implements it.

#include <ucontext.h>

#include <csignal>

#include "extended/CICommandQueueTaskHandler.h"
#include "extended/CSockDgramMcast.h"

class CMulticastCallback : public CICommandQueueTaskHandler {
 public:
  // A datagram is waiting on the socket.
  virtual int udp_input(nuv::CSockDgramMcast& socket) = 0;
  virtual int udp_exception(nuv::CSockDgramMcast&) { return 0; }
  virtual int udp_signal(int, siginfo_t*, ucontext_t*) { return 0; }
};
