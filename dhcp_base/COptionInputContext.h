#pragma once
// What a decoder needs beyond the bytes of one option: the start of the
// whole message (to recognise compressed names and to report offsets), the
// top option set being filled (resolver options are found there) and the
// vendor identities of the containers entered so far.

#include <cstdint>
#include <vector>

#include "dhcp_base/CVendorID.h"

class COptionStore;

class COptionInputContext {
 public:
  COptionInputContext() { m_vendors.reserve(8); }
  COptionInputContext(const std::uint8_t* messageStart, COptionStore* topStore)
      : m_start(messageStart), m_top(topStore) {
    m_vendors.reserve(8);
  }

  const std::uint8_t* messageStart() const { return m_start; }
  void messageStart(const std::uint8_t* start) { m_start = start; }
  COptionStore* topStore() const { return m_top; }
  void topStore(COptionStore* store) { m_top = store; }

  // The identity children are read under: the innermost pushed one, the
  // reserved identity when none is.
  const CVendorID& vendor() const {
    return m_vendors.empty() ? CVendorID::reserved() : m_vendors.back();
  }
  void pushVendor(const CVendorID& vendor) { m_vendors.push_back(vendor); }
  void popVendor() {
    if (!m_vendors.empty()) m_vendors.pop_back();
  }
  std::size_t vendorDepth() const { return m_vendors.size(); }

 private:
  const std::uint8_t* m_start = nullptr;
  COptionStore* m_top = nullptr;
  std::vector<CVendorID> m_vendors;
};

// Pops what it pushed, also when decoding fails half-way.
class CVendorScope {
 public:
  CVendorScope(COptionInputContext& ic, const CVendorID& vendor) : m_ic(ic) {
    ic.pushVendor(vendor);
  }
  ~CVendorScope() { m_ic.popVendor(); }
  CVendorScope(const CVendorScope&) = delete;
  CVendorScope& operator=(const CVendorScope&) = delete;

 private:
  COptionInputContext& m_ic;
};
