#pragma once
// A task whose threads share one select reactor; shutdown() wakes the
// thread waiting in it so that it sees the stop flag.

#include "ace_ext/CSelectReactor.h"
#include "ace_ext/CTask.h"

class CReactorTask : public CTask {
 public:
  CReactorTask(std::string name, unsigned threadCount);
  ~CReactorTask() override;

  nuv::CSelectReactor& selectReactor() { return m_reactor; }

 protected:
  void _wakeLoops() override;

 private:
  nuv::CSelectReactor m_reactor;
};
