#pragma once
// Names one row: its primary key, the prototype (class) it belongs to and
// the database it lives in. The key with all bits set means "no row".

#include <cstdint>
#include <string>
#include <tuple>

class CPrstSimpleID {
 public:
  static constexpr std::int32_t kNoPK = -1;

  CPrstSimpleID() = default;
  CPrstSimpleID(std::int32_t pk, std::string protoName, std::int32_t dbID = 0)
      : pk(pk), protoName(std::move(protoName)), dbID(dbID) {}

  bool valid() const { return pk != kNoPK; }
  // "<protoName>:<pk>", or "<protoName>:none" without a row.
  std::string string() const;

  friend bool operator==(const CPrstSimpleID& a, const CPrstSimpleID& b) {
    return a.pk == b.pk && a.dbID == b.dbID && a.protoName == b.protoName;
  }
  friend bool operator!=(const CPrstSimpleID& a, const CPrstSimpleID& b) { return !(a == b); }
  friend bool operator<(const CPrstSimpleID& a, const CPrstSimpleID& b) {
    return std::tie(a.dbID, a.protoName, a.pk) < std::tie(b.dbID, b.protoName, b.pk);
  }

  std::int32_t pk = kNoPK;
  std::string protoName;
  std::int32_t dbID = 0;
};
