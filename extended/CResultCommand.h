#pragma once

#include "extended/CAsyncCommand.h"
#include "extended/CExtAsyncResult.h"

// A command that answers through a result: the value _compute returns, or
// the nuv::CException it raises, goes back to the waiting caller.
template <class T>
class CResultCommand : public CAsyncCommand {
 public:
  explicit CResultCommand(CExtAsyncResult<T> result) : m_result(std::move(result)) {}

  void execute(long threadIndex) final {
    try {
      m_result.signalResult(_compute(threadIndex));
    } catch (const nuv::CException& e) {
      m_result.signalException(e);
    }
  }

 protected:
  virtual T _compute(long threadIndex) = 0;

 private:
  CExtAsyncResult<T> m_result;
};
