#pragma once
// Built-in conversions: COND, BOOL, STR, STRING, TEXT, INT, INTEGER, BYTES,
// MAC, IP, IP.MAP, IP.UNMAP, UNKNOWN.

#include "exp_eval/CFunctionCall.h"

namespace nuv {

class CConversionFunctions {
 public:
  static void install(CFunctionTable& table);
};

}  // namespace nuv
