#pragma once
// Bounds how many lines one kind of message writes per interval (by
// default a second): a flood of malformed datagrams must not flood the
// log. Lines refused are counted, and the first line admitted after them
// says how many were left out. Not locked: one per thread, or guarded.

#include <ctime>

class CLogRateLimiter {
 public:
  explicit CLogRateLimiter(unsigned perInterval = 10, unsigned intervalSeconds = 1)
      : m_perInterval(perInterval), m_interval(intervalSeconds ? intervalSeconds : 1) {}

  // Whether a line may be written at now; a refused one is counted.
  bool admit(std::time_t now) {
    // An interval starts with the first line after the last one ended.
    if (now >= m_start + m_interval || now < m_start) {
      m_start = now;
      m_written = 0;
    }
    if (m_written < m_perInterval) {
      ++m_written;
      return true;
    }
    ++m_suppressed;
    return false;
  }
  // The lines refused since the last call.
  unsigned long takeSuppressed() {
    const unsigned long n = m_suppressed;
    m_suppressed = 0;
    return n;
  }

 private:
  unsigned m_perInterval;
  std::time_t m_interval;
  std::time_t m_start = 0;
  unsigned m_written = 0;
  unsigned long m_suppressed = 0;
};
