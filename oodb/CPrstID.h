#pragma once
// An object's full identity: the row of its class (the meta entry) and the
// further rows it spans (derived-class tables, link tables).

#include <string>
#include <vector>

#include "oodb/CPrstSimpleID.h"

class CPrstID {
 public:
  CPrstID() = default;
  explicit CPrstID(CPrstSimpleID meta) : m_meta(std::move(meta)) {}

  const CPrstSimpleID& meta() const { return m_meta; }
  CPrstSimpleID& meta() { return m_meta; }
  const std::vector<CPrstSimpleID>& rows() const { return m_rows; }
  void addRow(CPrstSimpleID row) { m_rows.push_back(std::move(row)); }
  bool valid() const { return m_meta.valid(); }

  // The meta entry, then each row, joined by ",": "CPrstKeyValue:7".
  std::string string() const;

  friend bool operator==(const CPrstID& a, const CPrstID& b) {
    return a.m_meta == b.m_meta && a.m_rows == b.m_rows;
  }
  friend bool operator!=(const CPrstID& a, const CPrstID& b) { return !(a == b); }
  friend bool operator<(const CPrstID& a, const CPrstID& b) {
    if (a.m_meta != b.m_meta) return a.m_meta < b.m_meta;
    return a.m_rows < b.m_rows;
  }

 private:
  CPrstSimpleID m_meta;
  std::vector<CPrstSimpleID> m_rows;
};
