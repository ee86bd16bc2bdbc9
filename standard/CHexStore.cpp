#include "standard/CHexStore.h"

#include <algorithm>
#include <cstring>

#include "standard/CException.h"
#include "standard/CIPAddress.h"

namespace nuv {

CHexStore::CHexStore(const std::uint8_t* bytes, std::size_t n) {
  append(bytes, n);
}

CHexStore::CHexStore(std::string_view text, std::string_view separator) : m_separator(separator) {
  // A constructor that throws gets no destructor call: free the buffer here.
  try {
    _parse(text);
  } catch (...) {
    _release();
    throw;
  }
}

CHexStore::CHexStore(const CIPAddress& address) {
  *this = address;
}

CHexStore::CHexStore(const CHexStore& other) : m_separator(other.m_separator) {
  append(other.m_data, other.m_size);
}

CHexStore::CHexStore(CHexStore&& other) noexcept : m_separator(std::move(other.m_separator)) {
  if (other.onHeap()) {
    m_data = other.m_data;
    m_capacity = other.m_capacity;
    other.m_data = other.m_inline;
    other.m_capacity = kInlineCapacity;
  } else if (other.m_size) {
    std::memcpy(m_inline, other.m_inline, other.m_size);
  }
  m_size = other.m_size;
  other.m_size = 0;
}

CHexStore& CHexStore::operator=(const CHexStore& other) {
  if (this != &other) {
    set(other.m_data, other.m_size);
    m_separator = other.m_separator;
  }
  return *this;
}

CHexStore& CHexStore::operator=(CHexStore&& other) noexcept {
  if (this == &other) return *this;
  if (other.onHeap()) {
    _release();
    m_data = other.m_data;
    m_capacity = other.m_capacity;
    m_size = other.m_size;
    other.m_data = other.m_inline;
    other.m_capacity = kInlineCapacity;
  } else {
    // Fits inline, so it fits whatever buffer we already have.
    if (other.m_size) std::memcpy(m_data, other.m_inline, other.m_size);
    m_size = other.m_size;
  }
  other.m_size = 0;
  m_separator = std::move(other.m_separator);
  return *this;
}

CHexStore& CHexStore::operator=(const CIPAddress& address) {
  set(address.raw(), address.raw_len());
  return *this;
}

CHexStore::~CHexStore() {
  _release();
}

void CHexStore::_release() {
  if (onHeap()) delete[] m_data;
  m_data = m_inline;
  m_capacity = kInlineCapacity;
}

CHexStore CHexStore::parse(std::string_view text, std::string_view separator) {
  return CHexStore(text, separator);
}

void CHexStore::reserve(std::size_t capacity) {
  if (capacity > m_capacity) _grow(capacity);
}

void CHexStore::_grow(std::size_t needed) {
  const std::size_t capacity = std::max(needed, m_capacity * 2);
  auto* bytes = new std::uint8_t[capacity];
  if (m_size) std::memcpy(bytes, m_data, m_size);
  _release();
  m_data = bytes;
  m_capacity = capacity;
}

std::uint8_t& CHexStore::operator[](std::size_t index) {
  if (index >= m_size)
    NUV_THROW("CHexStore::operator[]", CMessage("Cannot access byte %1.").push(index),
              CMessage("Out of bounds."));
  return m_data[index];
}

std::uint8_t CHexStore::operator[](std::size_t index) const {
  return const_cast<CHexStore&>(*this)[index];
}

void CHexStore::push_back(std::uint8_t byte) {
  if (m_size == m_capacity) _grow(m_size + 1);
  m_data[m_size++] = byte;
}

void CHexStore::pop_back() {
  if (m_size == 0)
    NUV_THROW("CHexStore::pop_back", CMessage("Cannot remove byte."),
              CMessage("Byte string is empty."));
  --m_size;
}

void CHexStore::append(const std::uint8_t* bytes, std::size_t n) {
  if (n == 0) return;
  if (m_size + n > m_capacity) {
    // bytes may point into our own buffer; copy before the old one goes.
    CHexStore tail;
    if (bytes >= m_data && bytes < m_data + m_size) {
      tail.set(bytes, n);
      bytes = tail.m_data;
    }
    _grow(m_size + n);
    std::memcpy(m_data + m_size, bytes, n);
  } else {
    std::memmove(m_data + m_size, bytes, n);
  }
  m_size += n;
}

void CHexStore::set(const std::uint8_t* bytes, std::size_t n) {
  if (n > m_capacity) {
    // More than our buffer holds, so bytes cannot lie inside it.
    m_size = 0;
    _grow(n);
    std::memcpy(m_data, bytes, n);
  } else if (n) {
    std::memmove(m_data, bytes, n);
  }
  m_size = n;
}

void CHexStore::resize(std::size_t n, std::uint8_t fill) {
  if (n > m_size) {
    reserve(n);
    std::memset(m_data + m_size, fill, n - m_size);
  }
  m_size = n;
}

void CHexStore::pad(std::uint8_t byte, std::size_t n) {
  resize(m_size + n, byte);
}

std::string CHexStore::string() const {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  if (m_size == 0) return out;
  out.reserve(m_size * 2 + (m_size - 1) * m_separator.size());
  for (std::size_t i = 0; i < m_size; ++i) {
    if (i) out += m_separator;
    out += kDigits[m_data[i] >> 4];
    out += kDigits[m_data[i] & 0x0f];
  }
  return out;
}

std::uint8_t CHexStore::_char2Nybble(std::string_view text, std::size_t pos) {
  const char c = pos < text.size() ? text[pos] : '\0';
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  // A missing second digit at the end of the text shows as ''.
  NUV_THROW("CHexStore::_char2Nybble", CMessage("Cannot convert character to nybble."),
            CMessage("Invalid hexadecimal character '%1'.").pushs(text.substr(pos, 1)));
}

void CHexStore::_parse(std::string_view text) {
  m_size = 0;
  if (text.empty()) return;
  const std::size_t stride = 2 + m_separator.size();
  reserve(text.size() / stride + 1);
  for (std::size_t pos = 0;; pos += stride) {
    const auto hi = _char2Nybble(text, pos);
    const auto lo = _char2Nybble(text, pos + 1);
    push_back(static_cast<std::uint8_t>(hi << 4 | lo));
    if (pos + 2 >= text.size() || pos + stride >= text.size()) break;
  }
}

CHexStore& CHexStore::operator+=(const CHexStore& other) {
  append(other.m_data, other.m_size);
  return *this;
}

CHexStore& CHexStore::operator+=(std::uint8_t byte) {
  push_back(byte);
  return *this;
}

CHexStore CHexStore::operator+(const CHexStore& other) const {
  CHexStore out;
  out.m_separator = m_separator;
  out.reserve(m_size + other.m_size);
  out.append(m_data, m_size);
  out.append(other.m_data, other.m_size);
  return out;
}

bool CHexStore::operator==(const CHexStore& other) const {
  return m_size == other.m_size && (m_size == 0 || std::memcmp(m_data, other.m_data, m_size) == 0);
}

bool CHexStore::operator<(const CHexStore& other) const {
  const std::size_t common = std::min(m_size, other.m_size);
  const int c = common ? std::memcmp(m_data, other.m_data, common) : 0;
  return c < 0 || (c == 0 && m_size < other.m_size);
}

}  // namespace nuv
