#pragma once
// How the values of one option are laid out: arrays, signedness, string
// termination, length prefixes and the header widths of sub-options.

#include <cstdint>
#include <string>

namespace nuv {
class CStringMap;
}

struct CElementAttributes {
  bool arrayed = false;
  bool isSigned = false;
  bool nullTerminated = false;
  std::string unit;
  std::uint8_t lenPrefixWidth = 0;  // bytes of a length before each value; 0: none
  std::uint8_t subtagWidth = 0;     // 0: the protocol's width
  std::uint8_t sublenWidth = 0;
  std::uint8_t subtypeWidth = 0;
  std::int64_t minValue = -2147483648LL;
  std::int64_t maxValue = 2147483647LL;

  // Reads the keys present in a record ("arrayed", "signed", ...); the
  // others keep their values.
  void set(const nuv::CStringMap& record);
  // The "key = value" lines of the fields that differ from the defaults.
  std::string string() const;
};
