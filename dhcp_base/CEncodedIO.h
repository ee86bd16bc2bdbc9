#pragma once
// The container codecs: a value that is a sequence of child options, each
// with its own header. "subencoded" containers may set their children's
// header widths and the vendor under which the children are read;
// "topencoded" ones are the top of a tree (a message's option set).
//
// Text form "{ name = value, ... }" (names from the children's
// definitions); JSON form an array of the children's JSON objects.

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "dhcp_base/CAbstractIO.h"
#include "dhcp_base/COption.h"

class COptionInputContext;
class COptionOutputContext;
class CVendorID;

class CEncodedIO : public CAbstractIO {
 public:
  using Values = COption::Children;
  static constexpr bool kQuoted = false;

  const std::uint8_t* valueInput(const std::uint8_t* bytes, std::size_t length, Values& values,
                                 COption& option, COptionInputContext& ic) const;
  std::uint8_t* valueOutput(std::uint8_t* out, std::size_t room, const Values& values,
                            const COption& option, COptionOutputContext& oc) const;
  std::size_t area(const Values& values, const COption& option,
                   const COptionOutputContext* oc) const;

  std::string string(const Values& values, const COption& option, bool quoted) const;
  void set(std::string_view text, Values& values, COption& option, COptionInputContext& ic,
           bool append) const;
  nlohmann::json json(const Values& values, const COption& option) const;
  void setJSON(const nlohmann::json& j, Values& values, COption& option,
               COptionInputContext& ic) const {
    _setJSON(j, values, option, ic);
  }

  // Whether a container writes child: server control options only where
  // the output context allows them, forbidden codes never.
  static bool writes(const COption& child, const COptionOutputContext& oc);
  // The vendor identity children of option are read or created under,
  // starting from current.
  static CVendorID childVendor(const COption& option, const CVendorID& current,
                               const COptionInputContext& ic);

 protected:
  static void _setJSON(const nlohmann::json& j, Values& values, COption& option,
                       COptionInputContext& ic);
};

class CSubEncodedIO : public CEncodedIO {
 public:
  static constexpr const char* kTypeName = "CSubEncodedOption";
};

class CTopEncodedIO : public CEncodedIO {
 public:
  static constexpr const char* kTypeName = "COptionStore";
};
