#pragma once
// Bounds how many lines one kind of message writes per second: a flood of
// malformed datagrams must not flood the log. Lines refused are counted,
// and the first line admitted after them says how many were left out.
// One per thread; not locked.

#include <ctime>

class CLogRateLimiter {
 public:
  explicit CLogRateLimiter(unsigned perSecond = 10) : m_perSecond(perSecond) {}

  // Whether a line may be written at now; a refused one is counted.
  bool admit(std::time_t now) {
    if (now != m_second) {
      m_second = now;
      m_written = 0;
    }
    if (m_written < m_perSecond) {
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
  unsigned m_perSecond;
  std::time_t m_second = 0;
  unsigned m_written = 0;
  unsigned long m_suppressed = 0;
};
