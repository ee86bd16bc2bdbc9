#pragma once
// The identity of an account (a user or a device): a signed number.

#include <cstdint>
#include <string>
#include <string_view>

class CAccessID {
 public:
  enum Reserved : std::int32_t { unknown = -1, superUser = 0 };
  static constexpr const char* kSuperUserName = "Admin";
  static constexpr const char* kSuperUserLowerName = "admin";
  static constexpr const char* kUnknownName = "<unknown>";
  static constexpr const char* kGuestName = "Guest";

  CAccessID(std::int32_t id = unknown) : m_id(id) {}  // NOLINT: implicit by design

  std::int32_t id() const { return m_id; }
  std::string string() const { return std::to_string(m_id); }
  // "Admin" for the super user, "<unknown>" for the unknown account, empty
  // text for any other (its name lives in its account record).
  std::string name() const;
  // Both spellings of the super user's account name.
  static bool isSuperUserName(std::string_view name) {
    return name == kSuperUserName || name == kSuperUserLowerName;
  }

  CAccessID& operator++() {
    ++m_id;
    return *this;
  }
  CAccessID& operator--() {
    --m_id;
    return *this;
  }
  CAccessID operator++(int) { return CAccessID(m_id++); }
  CAccessID operator--(int) { return CAccessID(m_id--); }

  friend bool operator==(CAccessID a, CAccessID b) { return a.m_id == b.m_id; }
  friend bool operator!=(CAccessID a, CAccessID b) { return a.m_id != b.m_id; }
  friend bool operator<(CAccessID a, CAccessID b) { return a.m_id < b.m_id; }
  friend bool operator>(CAccessID a, CAccessID b) { return a.m_id > b.m_id; }
  friend bool operator<=(CAccessID a, CAccessID b) { return a.m_id <= b.m_id; }
  friend bool operator>=(CAccessID a, CAccessID b) { return a.m_id >= b.m_id; }

 private:
  std::int32_t m_id;
};
