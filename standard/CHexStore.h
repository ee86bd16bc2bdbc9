#pragma once
// An owned byte string with a hexadecimal text form: DUIDs, raw option data,
// packet images. Up to 64 bytes live inside the object, so most DUIDs and
// options never touch the heap; a larger size moves the bytes to the heap.
//
// Text form: every byte as two upper-case hex digits joined by the
// separator ("-" by default, any string including the empty one).
// Parsing reads strides of two digits plus the separator's length and does
// not look at the separator characters themselves; it stops when the
// character after a pair is the end of the text or the next stride would
// start at or past the end. Digits of either case are accepted. The empty
// text gives an empty store.
//
// Equality and ordering look at the bytes only, never at the separator.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace nuv {

class CIPAddress;

class CHexStore {
 public:
  static constexpr std::size_t kInlineCapacity = 64;

  CHexStore() = default;
  CHexStore(const std::uint8_t* bytes, std::size_t n);
  // Parses text (see above); throws on a character that is not a hex digit.
  CHexStore(std::string_view text, std::string_view separator);
  explicit CHexStore(const CIPAddress& address);
  CHexStore(const CHexStore& other);
  CHexStore(CHexStore&& other) noexcept;
  CHexStore& operator=(const CHexStore& other);
  CHexStore& operator=(CHexStore&& other) noexcept;
  // Takes the address's raw bytes (4 or 16, none when unset).
  CHexStore& operator=(const CIPAddress& address);
  ~CHexStore();

  static CHexStore parse(std::string_view text, std::string_view separator = "-");

  const std::uint8_t* data() const { return m_data; }
  std::uint8_t* data() { return m_data; }
  std::size_t size() const { return m_size; }
  bool empty() const { return m_size == 0; }
  std::size_t capacity() const { return m_capacity; }
  bool onHeap() const { return m_data != m_inline; }
  void reserve(std::size_t capacity);
  void clear() { m_size = 0; }

  // Checked: an index at or beyond size() throws.
  std::uint8_t& operator[](std::size_t index);
  std::uint8_t operator[](std::size_t index) const;

  void push_back(std::uint8_t byte);
  // Throws when empty.
  void pop_back();
  void append(const std::uint8_t* bytes, std::size_t n);
  void append(const CHexStore& other) { append(other.data(), other.size()); }
  // Replaces the content.
  void set(const std::uint8_t* bytes, std::size_t n);
  // New bytes get fill.
  void resize(std::size_t n, std::uint8_t fill = 0);
  // Appends n copies of byte.
  void pad(std::uint8_t byte, std::size_t n);

  const std::string& separator() const { return m_separator; }
  void setSeparator(std::string_view separator) { m_separator.assign(separator); }

  std::string string() const;

  CHexStore& operator+=(const CHexStore& other);
  CHexStore& operator+=(std::uint8_t byte);
  CHexStore operator+(const CHexStore& other) const;

  bool operator==(const CHexStore& other) const;
  bool operator!=(const CHexStore& other) const { return !(*this == other); }
  bool operator<(const CHexStore& other) const;
  bool operator>(const CHexStore& other) const { return other < *this; }
  bool operator<=(const CHexStore& other) const { return !(other < *this); }
  bool operator>=(const CHexStore& other) const { return !(*this < other); }

 private:
  static std::uint8_t _char2Nybble(std::string_view text, std::size_t pos);
  void _parse(std::string_view text);
  void _grow(std::size_t needed);
  void _release();

  std::uint8_t* m_data = m_inline;
  std::size_t m_size = 0;
  std::size_t m_capacity = kInlineCapacity;
  std::string m_separator = "-";
  std::uint8_t m_inline[kInlineCapacity];
};

}  // namespace nuv
