#pragma once
// Combining option sets: policy merges and set operations. For the set
// operations a store is a multiset of its options ordered by code: two
// options are "the same" when their codes are equal.

#include <set>

#include "dhcp_base/COptionStore.h"

class COptionTransforms {
 public:
  struct ByCode {
    bool operator()(const COption::Ptr& a, const COption::Ptr& b) const {
      return a->tag() < b->tag();
    }
  };
  using Multiset = std::multiset<COption::Ptr, ByCode>;

  // Puts source's options into target: for every code source carries,
  // target ends up with exactly source's instances (single-instance
  // options replaced in place, multi-instance ones re-added); other codes
  // keep target's options. The destructive form moves source's options
  // (source ends up empty); the other copies them and checks each
  // multi-instance option against its "max_instances".
  static void destructive_merge(COptionStore& source, COptionStore& target);
  static void nondestructive_merge(const COptionStore& source, COptionStore& target);
  // destructive_merge's result, but source is copied and left as it is (a
  // policy's set merged into a reply stays the policy's).
  static void copying_merge(const COptionStore& source, COptionStore& target);

  // result receives copies: a + b (every instance of both), the common
  // instances (once per pair), and a's instances not matched in b.
  static void set_union(const COptionStore& a, const COptionStore& b, COptionStore& result);
  static void set_intersect(const COptionStore& a, const COptionStore& b, COptionStore& result);
  static void set_difference(const COptionStore& a, const COptionStore& b, COptionStore& result);

  static void get_multiset(const COptionStore& store, Multiset& multiset);
};
