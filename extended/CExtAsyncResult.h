#pragma once
// An asynchronous result that brings the command's failure back: the worker
// stores the nuv::CException, and wait() raises it again in the caller. A
// failure nobody waited for is recorded in the controller's exception
// facade and logged when the last copy of the result goes.

#include "extended/CAsyncResult.h"

template <class T>
class CExtAsyncResult : public CAsyncResult<T> {
 public:
  CExtAsyncResult(CMasterController* controller, T* target) : CAsyncResult<T>(target, controller) {}

  void signalException(const nuv::CException& e) {
    CAsyncResult<T>::signalException(std::optional<nuv::CException>(e));
  }

  // Waits for the signal and raises the command's failure in the caller.
  void wait() {
    if (CAsyncResult<T>::wait()) return;
    std::lock_guard<std::mutex> lock(this->m_state->mutex);
    if (this->m_state->failure) throw *this->m_state->failure;
    throw nuv::CException(nuv::CMessage("The command failed."), nuv::CMessage("It gave no reason."),
                          "extended", "CExtAsyncResult::wait", __FILE__, __LINE__);
  }
};
