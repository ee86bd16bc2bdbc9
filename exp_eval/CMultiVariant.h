#pragma once
// The result of an expression: the values it evaluates to, in order.

#include <vector>

#include "standard/CVariant.h"

namespace nuv {

using CMultiVariant = std::vector<CVariant>;

}  // namespace nuv
