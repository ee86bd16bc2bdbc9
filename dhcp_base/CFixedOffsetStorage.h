#pragma once
// The field layout of a "fixed_offset" option: which element sits at which
// byte offset and how long it is (length 0: to the end of the payload).
// Text form: entries "code,offset,length" joined by "; ". Blanks, double
// quotes and backslashes around the fields are ignored on input.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CFixedRawOffset {
  std::uint32_t code = 0;
  std::uint32_t offset = 0;
  std::uint32_t length = 0;  // 0: to the end of the payload

  bool operator==(const CFixedRawOffset& o) const {
    return code == o.code && offset == o.offset && length == o.length;
  }
  // One entry from "code,offset,length".
  static CFixedRawOffset parse(std::string_view text);
  std::string string() const;
};

class CFixedOffsetStorage {
 public:
  using const_iterator = std::vector<CFixedRawOffset>::const_iterator;

  void set(std::string_view text);
  std::string string() const;

  void push_back(const CFixedRawOffset& entry) { m_entries.push_back(entry); }
  void clear() { m_entries.clear(); }
  bool empty() const { return m_entries.empty(); }
  std::size_t size() const { return m_entries.size(); }
  const_iterator begin() const { return m_entries.begin(); }
  const_iterator end() const { return m_entries.end(); }
  // The entry of an element code, or null.
  const CFixedRawOffset* find(std::uint32_t code) const;
  bool operator==(const CFixedOffsetStorage& o) const { return m_entries == o.m_entries; }

 private:
  std::vector<CFixedRawOffset> m_entries;
};
