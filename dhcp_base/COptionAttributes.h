#pragma once
// One option definition: where the option sits (tag path and vendor), what
// its value is (type, element attributes, fixed layout) and how operators
// see it (name, class, description, user-definable). Options keep a shared
// read-only pointer to the definition they were created from, so a reload
// of the definitions changes only options created afterwards.

#include <cstdint>
#include <memory>
#include <string>

#include "dhcp_base/CElementAttributes.h"
#include "dhcp_base/CFixedOffsetStorage.h"
#include "dhcp_base/COptionType.h"
#include "dhcp_base/CTagPath.h"
#include "dhcp_base/CUserDefinable.h"
#include "dhcp_base/CVendorID.h"

namespace nuv {
class CStringMap;
}

class COptionAttributes {
 public:
  using Ptr = std::shared_ptr<const COptionAttributes>;

  // Record fields, public as the record they are; defaults as in a record
  // that leaves a key out.
  CTagPath tagPath{0xffffffffu};
  COptionType type = COptionType::ot_unknown;
  std::string name;
  std::string optionClass;
  std::string description;
  std::string defaultValue;
  std::uint32_t maxInstances = 1;  // 0: no limit
  CUserDefinable userDefinable;
  CVendorID vendorId = CVendorID::reserved();
  bool vendorOro = false;
  std::string contextVendorId;
  std::int32_t inputTypeEncoding = -1;
  std::int32_t outputTypeEncoding = -1;
  CFixedOffsetStorage fixedOffsets;
  CElementAttributes element;

  std::uint32_t tag() const { return tagPath.tag(); }

  // From a definition record; "tagpath", "type" and "name" are required.
  // On failure the definition is unchanged.
  void set(const nuv::CStringMap& record);
  // From record text: one "key = value" per line.
  void set(const std::string& text);
  // The record text that set() reads back.
  std::string string() const;

  // The definitions every lookup holds: returned for codes without a
  // definition, and used for option stores.
  static const Ptr& unknown();
  static const Ptr& optionStore();
};
