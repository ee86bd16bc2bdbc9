#pragma once
// The answer of a queued command, for the thread that waits for it.
//
// Copies share one state: the caller keeps one, the command holds another.
// The worker signals a value or a failure; the caller's wait() then copies
// the value into the caller's variable, in the caller's thread, so that a
// caller that gave up waiting never has its variable written behind its
// back. CExtAsyncResult also carries the failure itself back.

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "extended/CMasterController.h"
#include "standard/CException.h"

template <class T>
class CAsyncResult {
 public:
  // target: the caller's variable; it must outlive the caller's wait().
  explicit CAsyncResult(T* target) : m_state(std::make_shared<State>(target, nullptr)) {}

  void signalResult(const T& value) {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->value = value;
    m_state->success = true;
    m_state->signalled = true;
    m_state->event.notify_all();
  }
  void signalFailure() { signalException(std::nullopt); }

  // Waits for the signal; true when the command succeeded, and then the
  // value is in the caller's variable.
  bool wait() {
    std::unique_lock<std::mutex> lock(m_state->mutex);
    m_state->event.wait(lock, [this] { return m_state->signalled; });
    return m_state->collect();
  }
  // Waits at most timeout for the signal; true when it came.
  bool signalled(std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(m_state->mutex);
    return m_state->event.wait_for(lock, timeout, [this] { return m_state->signalled; });
  }

 protected:
  CAsyncResult(T* target, CMasterController* controller)
      : m_state(std::make_shared<State>(target, controller)) {}

  void signalException(std::optional<nuv::CException> failure) {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->failure = std::move(failure);
    m_state->success = false;
    m_state->signalled = true;
    m_state->event.notify_all();
  }

  struct State {
    State(T* t, CMasterController* c) : target(t), controller(c) {}
    ~State() {
      // A failure nobody waited for would otherwise vanish.
      if (failure && !collected && controller) {
        controller->exceptionFacade().record(*failure);
        controller->exceptionFacade().log();
      }
    }
    bool collect() {
      collected = true;
      if (success && target) *target = *value;
      return success;
    }

    std::mutex mutex;
    std::condition_variable event;
    T* target;
    CMasterController* controller;
    std::optional<T> value;
    std::optional<nuv::CException> failure;
    bool success = false;
    bool signalled = false;
    bool collected = false;
  };
  std::shared_ptr<State> m_state;
};
