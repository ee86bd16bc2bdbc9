#pragma once
// Reads option values by index as ordinary values. A value of the
// operation's own type is read directly; any other goes through a variant
// (variant()) and the variant's conversion rules.

#include <cstddef>
#include <cstdint>
#include <string>

#include "dhcp_base/COption.h"
#include "standard/CEndpoint.h"
#include "standard/CHexStore.h"
#include "standard/CIPAddress.h"
#include "standard/CTimeT.h"
#include "standard/CVariant.h"

class CValueTypeConverter {
 public:
  explicit CValueTypeConverter(COption::Ptr option) : m_option(std::move(option)) {}
  const COption::Ptr& option() const { return m_option; }

  std::uint8_t uint8(std::size_t i) const { return uint8(*m_option, i); }
  std::int8_t int8(std::size_t i) const { return int8(*m_option, i); }
  std::uint16_t uint16(std::size_t i) const { return uint16(*m_option, i); }
  std::int16_t int16(std::size_t i) const { return int16(*m_option, i); }
  std::uint32_t uint32(std::size_t i) const { return uint32(*m_option, i); }
  std::int32_t int32(std::size_t i) const { return int32(*m_option, i); }
  std::uint64_t uint64(std::size_t i) const { return uint64(*m_option, i); }
  std::int64_t int64(std::size_t i) const { return int64(*m_option, i); }
  bool boolean(std::size_t i) const { return boolean(*m_option, i); }
  std::string string(std::size_t i) const { return string(*m_option, i); }
  nuv::CHexStore hexstore(std::size_t i) const { return hexstore(*m_option, i); }
  nuv::CIPAddress ip(std::size_t i) const { return ip(*m_option, i); }
  nuv::CTimeT time(std::size_t i) const { return time(*m_option, i); }
  nuv::CEndpoint endpoint(std::size_t i) const { return endpoint(*m_option, i); }
  nuv::CVariant variant(std::size_t i) const { return variant(*m_option, i); }

  static std::uint8_t uint8(const COption& option, std::size_t index);
  static std::int8_t int8(const COption& option, std::size_t index);
  static std::uint16_t uint16(const COption& option, std::size_t index);
  static std::int16_t int16(const COption& option, std::size_t index);
  static std::uint32_t uint32(const COption& option, std::size_t index);
  static std::int32_t int32(const COption& option, std::size_t index);
  static std::uint64_t uint64(const COption& option, std::size_t index);
  static std::int64_t int64(const COption& option, std::size_t index);
  static bool boolean(const COption& option, std::size_t index);
  static std::string string(const COption& option, std::size_t index);
  static nuv::CHexStore hexstore(const COption& option, std::size_t index);
  static nuv::CIPAddress ip(const COption& option, std::size_t index);
  static nuv::CTimeT time(const COption& option, std::size_t index);
  static nuv::CEndpoint endpoint(const COption& option, std::size_t index);
  // Every value type but the containers and "control".
  static nuv::CVariant variant(const COption& option, std::size_t index);

  // Fails "Index out of range." unless index < option.count().
  static void checkIndex(const COption& option, std::size_t index);

 private:
  COption::Ptr m_option;
};
