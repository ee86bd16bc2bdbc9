#pragma once
// What an encoder needs beyond the option: whether server control options
// may go on the wire, which codes must not be written (header fields that
// were written separately), the top option set, and whether an expression
// option just produced nothing.

#include <algorithm>
#include <cstdint>
#include <vector>

class COptionStore;

class COptionOutputContext {
 public:
  COptionOutputContext() = default;
  explicit COptionOutputContext(COptionStore* topStore, bool allowServerControl = true)
      : m_top(topStore), m_allowControl(allowServerControl) {}

  bool allowServerControl() const { return m_allowControl; }
  void allowServerControl(bool allow) { m_allowControl = allow; }

  void forbid(std::uint32_t code) {
    if (!forbidden(code)) m_forbidden.push_back(code);
  }
  void allow(std::uint32_t code) {
    m_forbidden.erase(std::remove(m_forbidden.begin(), m_forbidden.end(), code), m_forbidden.end());
  }
  bool forbidden(std::uint32_t code) const {
    return std::find(m_forbidden.begin(), m_forbidden.end(), code) != m_forbidden.end();
  }

  COptionStore* topStore() const { return m_top; }
  void topStore(COptionStore* store) { m_top = store; }

  bool noExpressionResult() const { return m_noResult; }
  void noExpressionResult(bool flag) { m_noResult = flag; }

 private:
  COptionStore* m_top = nullptr;
  bool m_allowControl = true;
  bool m_noResult = false;
  std::vector<std::uint32_t> m_forbidden;  // a handful at most: a linear scan is fastest
};
