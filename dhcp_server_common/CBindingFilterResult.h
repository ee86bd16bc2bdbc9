#pragma once
// A lease that may be extended, with the pool it belongs to (empty for a
// fixed lease outside every pool).

#include "oodb/CPrstUserClassPtr.h"

template <class Pool, class Binding>
struct CBindingFilterResult {
  CPrstUserClassPtr<Binding> first;
  CPrstUserClassPtr<Pool> second;
};
