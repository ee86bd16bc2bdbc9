#include "dhcp_database/CPrstBindingAddrKey.h"

namespace {

constexpr char kDigit[] = "0123456789abcdef";

int nibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string CPrstBindingAddrKey::of(const nuv::CIPAddress& address) {
  if (!address.isValid()) return {};
  const nuv::CIPAddress v6 = address.mapTo(nuv::CIPAddress::ipv6);
  std::string key(kDigits, '0');
  const std::uint8_t* raw = v6.raw();
  for (std::size_t i = 0; i < kDigits / 2; ++i) {
    key[2 * i] = kDigit[raw[i] >> 4];
    key[2 * i + 1] = kDigit[raw[i] & 0x0f];
  }
  return key;
}

nuv::CIPAddress CPrstBindingAddrKey::address(std::string_view key) {
  if (key.size() != kDigits) return {};
  std::uint8_t raw[kDigits / 2];
  for (std::size_t i = 0; i < kDigits / 2; ++i) {
    const int hi = nibble(key[2 * i]), lo = nibble(key[2 * i + 1]);
    if (hi < 0 || lo < 0) return {};
    raw[i] = static_cast<std::uint8_t>(hi << 4 | lo);
  }
  return nuv::CIPAddress(raw, sizeof raw);
}
