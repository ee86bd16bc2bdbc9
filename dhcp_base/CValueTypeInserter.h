#pragma once
// Writes option values. Each value kind goes only into the option types
// that store it: 8-bit into "8bit", 16-bit into "16bit", 32-bit into
// "24bit" or "32bit", 64-bit into "64bit" (signed values as their unsigned
// counterparts), text into "string" or "dnsname", child options into the
// containers, every other kind into its one type. A variant is converted
// to whatever the option stores. A refused value leaves the option as it
// was.

#include <cstddef>
#include <cstdint>
#include <string>

#include "dhcp_base/COption.h"
#include "dhcp_base/CVarbind.h"
#include "exp_eval/CExpression.h"
#include "standard/CEndpoint.h"
#include "standard/CHexStore.h"
#include "standard/CIPAddress.h"
#include "standard/CTimeT.h"
#include "standard/CVariant.h"

class CValueTypeInserter {
 public:
  static void push_back(std::uint8_t v, COption& option);
  static void push_back(std::int8_t v, COption& option) {
    push_back(static_cast<std::uint8_t>(v), option);
  }
  static void push_back(std::uint16_t v, COption& option);
  static void push_back(std::int16_t v, COption& option) {
    push_back(static_cast<std::uint16_t>(v), option);
  }
  static void push_back(std::uint32_t v, COption& option);
  static void push_back(std::int32_t v, COption& option) {
    push_back(static_cast<std::uint32_t>(v), option);
  }
  static void push_back(std::uint64_t v, COption& option);
  static void push_back(std::int64_t v, COption& option) {
    push_back(static_cast<std::uint64_t>(v), option);
  }
  static void push_back(bool v, COption& option);
  static void push_back(const std::string& v, COption& option);
  static void push_back(const char* v, COption& option) { push_back(std::string(v), option); }
  static void push_back(const nuv::CHexStore& v, COption& option);
  static void push_back(const nuv::CIPAddress& v, COption& option);
  static void push_back(const nuv::CTimeT& v, COption& option);
  static void push_back(const nuv::CEndpoint& v, COption& option);
  static void push_back(const CVarbind& v, COption& option);
  static void push_back(const nuv::CExpression& v, COption& option);
  static void push_back(const COption::Ptr& child, COption& option);
  static void push_back(const nuv::CVariant& v, COption& option);

  static void replace(std::uint8_t v, COption& option, std::size_t index);
  static void replace(std::int8_t v, COption& option, std::size_t index) {
    replace(static_cast<std::uint8_t>(v), option, index);
  }
  static void replace(std::uint16_t v, COption& option, std::size_t index);
  static void replace(std::int16_t v, COption& option, std::size_t index) {
    replace(static_cast<std::uint16_t>(v), option, index);
  }
  static void replace(std::uint32_t v, COption& option, std::size_t index);
  static void replace(std::int32_t v, COption& option, std::size_t index) {
    replace(static_cast<std::uint32_t>(v), option, index);
  }
  static void replace(std::uint64_t v, COption& option, std::size_t index);
  static void replace(std::int64_t v, COption& option, std::size_t index) {
    replace(static_cast<std::uint64_t>(v), option, index);
  }
  static void replace(bool v, COption& option, std::size_t index);
  static void replace(const std::string& v, COption& option, std::size_t index);
  static void replace(const char* v, COption& option, std::size_t index) {
    replace(std::string(v), option, index);
  }
  static void replace(const nuv::CHexStore& v, COption& option, std::size_t index);
  static void replace(const nuv::CIPAddress& v, COption& option, std::size_t index);
  static void replace(const nuv::CTimeT& v, COption& option, std::size_t index);
  static void replace(const nuv::CEndpoint& v, COption& option, std::size_t index);
  static void replace(const CVarbind& v, COption& option, std::size_t index);
  static void replace(const nuv::CExpression& v, COption& option, std::size_t index);
  static void replace(const COption::Ptr& child, COption& option, std::size_t index);
  static void replace(const nuv::CVariant& v, COption& option, std::size_t index);

 private:
  // Where an index is given, replaces that value; else appends.
  template <class V>
  static void _put(const V& v, COption& option, const std::size_t* index);
  static void _putVariant(const nuv::CVariant& v, COption& option, const std::size_t* index);
};
