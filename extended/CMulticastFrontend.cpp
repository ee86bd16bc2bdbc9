#include "extended/CMulticastFrontend.h"

#include <ace/Reactor.h>

#include <cerrno>

#include "extended/CMasterController.h"

CMulticastFrontend::CMulticastFrontend(CMasterController* controller, const std::string& name,
                                       CMulticastCallback* callback, ACE_Reactor* reactor)
    : ACE_Event_Handler(reactor),
      m_controller(controller),
      m_callback(callback),
      m_binder(controller, name) {}

CMulticastFrontend::~CMulticastFrontend() {
  close();
}

bool CMulticastFrontend::init(bool blocking, const nuv::CEndpoint& unicastEndpoint,
                              const std::string& listenList, const std::string& defaultGroups) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_blocking = blocking;
    m_unicastEndpoint = unicastEndpoint;
    m_listenList = listenList;
    m_defaultGroups = defaultGroups;
  }
  return rebind();
}

bool CMulticastFrontend::rebind() {
  std::lock_guard<std::mutex> lock(m_mutex);
  _closeLocked();
  try {
    m_binder.createAndJoin(m_unicastEndpoint, m_listenList, m_defaultGroups);
    m_binder.blockingMode(m_blocking);
  } catch (const nuv::CException& e) {
    m_binder.closeAll();
    m_controller->exceptionFacade().record(e);
    m_controller->exceptionFacade().log();
    return false;
  }
  for (const nuv::CSockDgramMcast& socket : m_binder.sockets()) {
    m_sockets.emplace(socket.get_handle(), socket);
    if (reactor()->register_handler(socket.get_handle(), this, READ_MASK) == -1)
      m_controller->log().log(nuv::sev_error,
                              nuv::CMessage("The frontend failed to register socket %1.")
                                  .push(static_cast<int>(socket.get_handle())),
                              errno);
  }
  return true;
}

void CMulticastFrontend::close() {
  std::lock_guard<std::mutex> lock(m_mutex);
  _closeLocked();
}

void CMulticastFrontend::_closeLocked() {
  for (const auto& entry : m_sockets) reactor()->remove_handler(entry.first, READ_MASK | DONT_CALL);
  m_sockets.clear();
  m_binder.closeAll();
}

int CMulticastFrontend::handle_input(ACE_HANDLE handle) {
  auto it = m_sockets.find(handle);
  if (it == m_sockets.end()) it = m_sockets.emplace(handle, nuv::CSockDgramMcast(handle)).first;
  return m_callback->udp_input(it->second);
}

int CMulticastFrontend::handle_timeout(const ACE_Time_Value& now, const void* argument) {
  return m_callback->handle_timeout(now, argument);
}

int CMulticastFrontend::handle_signal(int signal, siginfo_t* info, ucontext_t* context) {
  return m_callback->udp_signal(signal, info, context);
}
