#pragma once
// Built-in clock functions: DATE, TIME, DAY, MONTH, YEAR, TIME.UTC,
// TIME.FORMAT.LOCAL, TIME.FORMAT.UTC.

#include "exp_eval/CFunctionCall.h"

namespace nuv {

class CTimeFunctions {
 public:
  static void install(CFunctionTable& table);
};

}  // namespace nuv
