#pragma once
// The option definitions, keyed by (tag path, vendor identity). Filled from
// the definition files (and later the database) before the handler threads
// run; read without locks afterwards.

#include <map>
#include <string>
#include <unordered_map>

#include "dhcp_base/COptionAttributes.h"

class CMasterController;

struct COptionLookupHelper {
  CTagPath tagPath;
  CVendorID vendor;
};

class COptionLookup {
 public:
  struct Less {
    using is_transparent = void;
    struct Ref {
      const CTagPath& tagPath;
      const CVendorID& vendor;
    };
    template <class A, class B>
    bool operator()(const A& a, const B& b) const {
      const int c = a.tagPath.compare(b.tagPath);
      return c ? c < 0 : a.vendor < b.vendor;
    }
  };
  using Map = std::map<COptionLookupHelper, COptionAttributes::Ptr, Less>;
  using const_iterator = Map::const_iterator;

  explicit COptionLookup(CMasterController* controller = nullptr);
  // The hash index points into the map: no copies.
  COptionLookup(const COptionLookup&) = delete;
  COptionLookup& operator=(const COptionLookup&) = delete;

  // The definition of a key. A miss gives the "Unknown" definition with
  // useFallback (and is logged as debug output), else fails.
  const COptionAttributes::Ptr& locate(const CTagPath& tagPath, const CVendorID& vendor,
                                       bool useFallback) const;
  // By name for a vendor; the definition nearest the top wins when element
  // names repeat under different parents.
  const COptionAttributes::Ptr& locate(const std::string& name, const CVendorID& vendor) const;
  // By name directly under parentPath.
  const COptionAttributes::Ptr& locate(const std::string& name, const CTagPath& parentPath,
                                       const CVendorID& vendor) const;
  bool exists(const CTagPath& tagPath, const CVendorID& vendor) const;

  const_iterator begin() const { return m_map.begin(); }
  const_iterator end() const { return m_map.end(); }
  std::size_t size() const { return m_map.size(); }
  // Removes every definition but the built-in "Option Store".
  void clear();
  // Every definition's record text, records separated by empty lines.
  std::string string() const;
  // Puts every given definition in, replacing those with the same key.
  void destructiveMerge(const Map& map);
  void insert(COptionAttributes::Ptr definition);

  const COptionAttributes::Ptr& unknownAttr() const { return COptionAttributes::unknown(); }
  const COptionAttributes::Ptr& optionStoreAttr() const { return COptionAttributes::optionStore(); }
  CMasterController* controller() const { return m_controller; }

 private:
  struct Hash {
    std::size_t operator()(const COptionLookupHelper& k) const {
      return k.tagPath.hash() * 31 + k.vendor.hash();
    }
  };
  struct Equal {
    bool operator()(const COptionLookupHelper& a, const COptionLookupHelper& b) const {
      return a.tagPath == b.tagPath && a.vendor == b.vendor;
    }
  };

  CMasterController* m_controller;
  Map m_map;
  // The same entries hashed: locate by key is on the per-option path.
  std::unordered_map<COptionLookupHelper, const COptionAttributes::Ptr*, Hash, Equal> m_index;
};
