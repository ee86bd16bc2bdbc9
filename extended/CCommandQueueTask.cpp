#include "extended/CCommandQueueTask.h"

#include <ace/Thread.h>

#include <exception>

#include "extended/CMasterController.h"
#include "extended/CTaskRegistry.h"

CCommandQueueTask::CCommandQueueTask(CMasterController* controller, std::string name,
                                     unsigned threadCount, std::size_t queueCapacity)
    : CReactorTask(std::move(name), threadCount),
      m_controller(controller),
      m_capacity(queueCapacity) {}

CCommandQueueTask::~CCommandQueueTask() = default;

void CCommandQueueTask::sendCommand(const CAsyncCommandPtr& command) {
  // Under the lock the queue holds one command per notification sent, so a
  // refused notification is for the command just appended.
  std::lock_guard<std::mutex> lock(m_queueMutex);
  if (m_queue.size() < m_capacity) {
    m_queue.push_back(command);
    if (selectReactor().notifyNow(this)) return;
    m_queue.pop_back();
  }
  NUV_THROW("CCommandQueueTask::sendCommand",
            nuv::CMessage("Failed to send command '%1' to task '%2'.")
                .pushs(command->name())
                .pushs(taskName()),
            nuv::CMessage("Command queue overflow."));
}

int CCommandQueueTask::handle_exception(ACE_HANDLE) {
  CAsyncCommandPtr command;
  {
    std::lock_guard<std::mutex> lock(m_queueMutex);
    if (m_queue.empty()) return 0;
    command = std::move(m_queue.front());
    m_queue.pop_front();
  }
  try {
    command->execute(myThreadIndex());
  } catch (const nuv::CException& e) {
    _unhandled(e);
  } catch (const std::exception& e) {
    _unhandled(nuv::CException(nuv::CMessage("Command '%1' failed.").pushs(command->name()),
                               nuv::CMessage(e.what()), NUV_MODULE_NAME,
                               "CCommandQueueTask::handle_exception", __FILE__, __LINE__));
  }
  // Anything but 0 would make the reactor close this handler.
  return 0;
}

bool CCommandQueueTask::deferredDispatch(CICommandQueueTaskHandler*, void*) {
  return false;
}

long CCommandQueueTask::myThreadIndex() const {
  return _threadIndex(ACE_Thread::self());
}

void CCommandQueueTask::_threadStart() {
  m_controller->taskRegistry().registerTask(taskName());
}

void CCommandQueueTask::_threadExit() {
  m_controller->taskRegistry().deregisterTask();
}

void CCommandQueueTask::_unhandled(const nuv::CException& e) {
  m_controller->exceptionFacade().record(e);
  m_controller->exceptionFacade().log();
}
