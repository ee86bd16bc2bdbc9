#pragma once
// Ordered argument texts of a message. Short texts live in a fixed inline
// area so that building a log line or an exception rarely touches the heap;
// a text that does not fit gets its own heap block.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nuv {

namespace detail {
[[noreturn]] void argBufferFailure(const char* what, const char* why, std::size_t index);
}

template <std::size_t MaxArgs, std::size_t InlineBytes>
class CArgBuffer {
 public:
  CArgBuffer() = default;
  explicit CArgBuffer(bool allowHeap) : m_allowHeap(allowHeap) {}

  static constexpr std::size_t maxArgs() { return MaxArgs; }
  static constexpr std::size_t inlineBytes() { return InlineBytes; }

  std::size_t size() const { return m_count; }
  bool empty() const { return m_count == 0; }

  void push(const char* text) {
    if (text == nullptr)
      detail::argBufferFailure("Cannot push string argument.", "Invalid pointer.", 0);
    push(std::string_view(text));
  }

  void push(std::string_view text) {
    if (m_count >= MaxArgs)
      detail::argBufferFailure("Cannot process argument.", "Too many arguments.", 0);
    Slot& s = m_slots[m_count];
    s.len = static_cast<std::uint32_t>(text.size());
    if (InlineBytes - m_used >= text.size()) {
      s.heap = -1;
      s.off = static_cast<std::uint32_t>(m_used);
      if (!text.empty()) std::memcpy(m_inline.data() + m_used, text.data(), text.size());
      m_used += text.size();
    } else {
      if (!m_allowHeap)
        detail::argBufferFailure("Cannot process argument.", "Not enough buffer space.", 0);
      try {
        m_heap.emplace_back(text);
      } catch (const std::bad_alloc&) {
        detail::argBufferFailure("Cannot push string argument.", "Not enough memory.", 0);
      }
      s.heap = static_cast<std::int32_t>(m_heap.size() - 1);
      s.off = 0;
    }
    ++m_count;
  }

  std::string_view operator[](std::size_t index) const {
    if (index >= m_count)
      detail::argBufferFailure("Cannot access argument %1.", "Out of bounds.", index);
    const Slot& s = m_slots[index];
    if (s.heap >= 0) return m_heap[static_cast<std::size_t>(s.heap)];
    return std::string_view(m_inline.data() + s.off, s.len);
  }

  void clear() {
    m_count = 0;
    m_used = 0;
    m_heap.clear();
  }

 private:
  struct Slot {
    std::uint32_t off;
    std::uint32_t len;
    std::int32_t heap;  // index into m_heap, -1 when inline
  };
  std::array<Slot, MaxArgs> m_slots{};
  std::array<char, InlineBytes> m_inline{};
  std::vector<std::string> m_heap;
  std::size_t m_count = 0;
  std::size_t m_used = 0;
  bool m_allowHeap = true;
};

using CMessageArgs = CArgBuffer<100, 1024>;
using CSmallMessageArgs = CArgBuffer<10, 300>;

}  // namespace nuv
