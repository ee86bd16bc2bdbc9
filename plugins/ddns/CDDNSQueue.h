#pragma once
// The updates waiting for the sender thread. Bounded: a worker thread that
// hands over an update never waits; when the queue is full the oldest
// update gives way, since a newer one for the same client supersedes it
// more often than not.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

#include "plugins/ddns/CDDNSJob.h"

class CDDNSQueue {
 public:
  explicit CDDNSQueue(std::size_t capacity) : m_capacity(capacity == 0 ? 1 : capacity) {}

  struct Pushed {
    bool taken = true;                // false: the queue is closed
    std::optional<CDDNSJob> dropped;  // the oldest job, when it made room
  };
  // Appends the job unless the queue is closed.
  Pushed push(CDDNSJob job);
  // The next job; waits for one until the queue is closed and empty.
  std::optional<CDDNSJob> pop();
  // Takes no more jobs; pop hands out what is left, then nothing.
  void close();

  std::size_t size() const;
  std::size_t capacity() const { return m_capacity; }

 private:
  std::optional<CDDNSJob> _take();

  const std::size_t m_capacity;
  mutable std::mutex m_mutex;
  std::condition_variable m_ready;
  std::deque<CDDNSJob> m_jobs;
  bool m_closed = false;
};
