#pragma once
// Which identifier a binding trusts to recognise its client: the relay's
// remote-id, the client-id, the subscriber-id, the binding itself or the
// host name.

#include <cstdint>
#include <string>
#include <string_view>

class CDHCPTIDType {
 public:
  enum value_type : std::uint8_t { unknown = 0, rid = 1, cid = 2, sid = 3, self = 4, hostname = 5 };

  CDHCPTIDType() = default;
  // Fails "Cannot set trusted id type." above 5.
  CDHCPTIDType(std::uint8_t value);  // NOLINT: implicit by design
  // The names, "unknown" included, in any case.
  CDHCPTIDType& operator=(std::string_view name);

  std::uint8_t value() const { return m_value; }
  operator std::uint8_t() const { return m_value; }  // NOLINT: implicit by design
  std::string string() const;

 private:
  std::uint8_t m_value = unknown;
};
