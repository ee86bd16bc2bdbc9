#pragma once
// The service mode of the server, kept in one byte. The packet handler
// serves only while the mode is "servicing" or "learning".

#include <cstdint>
#include <string>
#include <string_view>

class CSystemMode {
 public:
  enum Mode : std::uint8_t { unknown = 0, init, paused, servicing, standby, learning, error };

  CSystemMode(Mode mode = unknown) : m_mode(mode) {}  // NOLINT: implicit by design

  // From the numeric value; anything above 6 throws.
  static CSystemMode fromValue(unsigned value);
  // From the name string() gives, in any case; an unknown name throws.
  static CSystemMode parse(std::string_view name);

  Mode value() const { return m_mode; }
  std::string string() const;

  bool operator==(CSystemMode other) const { return m_mode == other.m_mode; }
  bool operator!=(CSystemMode other) const { return m_mode != other.m_mode; }

 private:
  Mode m_mode;
};
