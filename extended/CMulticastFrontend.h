#pragma once
// The server's socket front end: binds the listening socket through a
// multicast binder, joins the groups, registers the sockets with the
// workers' reactor and hands each readable socket to the callback.
//
// init() runs on one thread before the workers' loops start; handle_input
// runs on the reactor's leader only; close() may be called by every worker
// as it ends and only the first call does anything.

#include <map>
#include <mutex>
#include <string>

#include "extended/CMulticastBinder.h"
#include "extended/CMulticastCallback.h"

class CMasterController;

class CMulticastFrontend : public ACE_Event_Handler {
 public:
  // callback and reactor are not owned.
  CMulticastFrontend(CMasterController* controller, const std::string& name,
                     CMulticastCallback* callback, ACE_Reactor* reactor);
  ~CMulticastFrontend() override;

  // Stores the arguments and rebinds; false when that failed (the failure
  // is recorded and logged, and nothing stays bound).
  bool init(bool blocking, const nuv::CEndpoint& unicastEndpoint, const std::string& listenList,
            const std::string& defaultGroups);
  // Closes what is open and binds, joins and registers again.
  bool rebind();
  void close();

  int handle_input(ACE_HANDLE handle) override;
  int handle_timeout(const ACE_Time_Value& now, const void* argument) override;
  int handle_signal(int signal, siginfo_t* info, ucontext_t* context) override;

  const std::map<ACE_HANDLE, nuv::CSockDgramMcast>& sockets() const { return m_sockets; }
  const nuv::CEndpoint& unicastEndpoint() const { return m_unicastEndpoint; }

 private:
  void _closeLocked();

  CMasterController* m_controller;  // the host's; not owned
  CMulticastCallback* m_callback;   // not owned
  nuv::CMulticastBinder m_binder;
  bool m_blocking = true;
  nuv::CEndpoint m_unicastEndpoint;
  std::string m_listenList;
  std::string m_defaultGroups;
  std::mutex m_mutex;  // init, rebind and close
  std::map<ACE_HANDLE, nuv::CSockDgramMcast> m_sockets;
};
