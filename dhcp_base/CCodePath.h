#pragma once
// A short path of 32-bit codes: the base of tag paths and vendor
// identities. Up to 8 components live inside the object, so building the
// path of an option while parsing never touches the heap; longer paths (up
// to 100 components) spill to a heap block.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace detail {
[[noreturn]] void codePathFailure(const char* context, const char* what, std::string_view text,
                                  const char* why);
std::string codePathString(const std::int64_t* values, std::size_t n);
}  // namespace detail

template <class T>
class CCodePath {
 public:
  static constexpr std::size_t kMaxSize = 100;
  static constexpr std::size_t kInline = 8;

  CCodePath() = default;
  CCodePath(std::initializer_list<T> codes) {
    for (T c : codes) push_back(c);
  }
  CCodePath(const CCodePath& other) { _copy(other); }
  CCodePath& operator=(const CCodePath& other) {
    if (this != &other) {
      m_size = 0;
      _copy(other);
    }
    return *this;
  }
  ~CCodePath() = default;

  std::size_t size() const { return m_size; }
  bool empty() const { return m_size == 0; }
  const T* data() const { return m_heap ? m_heap.get() : m_inline; }
  T operator[](std::size_t i) const { return data()[i]; }
  const T* begin() const { return data(); }
  const T* end() const { return data() + m_size; }
  T back() const { return data()[m_size - 1]; }
  void clear() { m_size = 0; }
  void pop_back() {
    if (m_size) --m_size;
  }

  void push_back(T code) {
    if (m_size == kMaxSize)
      detail::codePathFailure("CCodePath::push_back", "Cannot extend path.", {},
                              "A path has at most 100 components.");
    if (m_size == kInline && !m_heap) {
      m_heap.reset(new T[kMaxSize]);
      std::memcpy(m_heap.get(), m_inline, sizeof(m_inline));
    }
    (m_heap ? m_heap.get() : m_inline)[m_size++] = code;
  }

  CCodePath& operator+=(T code) {
    push_back(code);
    return *this;
  }
  CCodePath& operator+=(const CCodePath& other) {
    for (T c : other) push_back(c);
    return *this;
  }
  CCodePath operator+(T code) const { return CCodePath(*this) += code; }
  CCodePath operator+(const CCodePath& other) const { return CCodePath(*this) += other; }

  // Whether this path starts with all of prefix.
  bool startsWith(const CCodePath& prefix) const {
    return prefix.m_size <= m_size && std::equal(prefix.begin(), prefix.end(), begin());
  }

  // Components as signed decimal numbers joined by "/".
  std::string string() const {
    std::int64_t tmp[kMaxSize];
    for (std::size_t i = 0; i < m_size; ++i)
      tmp[i] = static_cast<std::int32_t>(static_cast<std::uint32_t>(data()[i]));
    return detail::codePathString(tmp, m_size);
  }

  // <0, 0 or >0 in the order of operator<, in one pass.
  int compare(const CCodePath& o) const {
    const std::size_t n = std::min(m_size, o.m_size);
    const T* a = data();
    const T* b = o.data();
    for (std::size_t i = 0; i < n; ++i)
      if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    return m_size == o.m_size ? 0 : (m_size < o.m_size ? -1 : 1);
  }
  // FNV-1a over the components, for hash indexes.
  std::size_t hash() const {
    std::size_t h = 1469598103934665603ull;
    for (T c : *this) h = (h ^ static_cast<std::uint32_t>(c)) * 1099511628211ull;
    return h;
  }

  bool operator==(const CCodePath& o) const {
    return m_size == o.m_size && std::equal(begin(), end(), o.begin());
  }
  bool operator!=(const CCodePath& o) const { return !(*this == o); }
  bool operator<(const CCodePath& o) const { return compare(o) < 0; }
  bool operator>(const CCodePath& o) const { return o < *this; }
  bool operator<=(const CCodePath& o) const { return !(o < *this); }
  bool operator>=(const CCodePath& o) const { return !(*this < o); }

 protected:
  // Parses "a/b/c"; each component a decimal, 0x-hex or 0-octal number,
  // optionally negative. The empty text is the empty path.
  void _parse(std::string_view text, const char* context, const char* what);

 private:
  void _copy(const CCodePath& other) {
    if (other.m_size > kInline && !m_heap) m_heap.reset(new T[kMaxSize]);
    std::memcpy(m_heap ? m_heap.get() : m_inline, other.data(), other.m_size * sizeof(T));
    m_size = other.m_size;
  }

  std::uint32_t m_size = 0;
  T m_inline[kInline];
  std::unique_ptr<T[]> m_heap;
};

namespace detail {
// Splits and converts; codes as 64-bit values for range checks by the caller.
std::size_t parseCodePath(std::string_view text, std::int64_t* out, const char* context,
                          const char* what);
}  // namespace detail

template <class T>
void CCodePath<T>::_parse(std::string_view text, const char* context, const char* what) {
  std::int64_t tmp[kMaxSize];
  std::size_t n = detail::parseCodePath(text, tmp, context, what);
  m_size = 0;
  for (std::size_t i = 0; i < n; ++i) push_back(static_cast<T>(tmp[i]));
}
