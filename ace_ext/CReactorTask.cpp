#include "ace_ext/CReactorTask.h"

CReactorTask::CReactorTask(std::string name, unsigned threadCount)
    : CTask(std::move(name), threadCount) {
  reactor(&m_reactor);
}

CReactorTask::~CReactorTask() {
  reactor(nullptr);
}

// A full channel already has a wake-up waiting for the loop.
void CReactorTask::_wakeLoops() {
  m_reactor.wake();
}
