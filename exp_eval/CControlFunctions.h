#pragma once
// Built-in control and diagnostic functions: IF, DEFAULT, EVAL, VALUE,
// FILE.EXISTS, USLEEP, PRINT, LOG.

#include "exp_eval/CFunctionCall.h"

namespace nuv {

class CControlFunctions {
 public:
  static void install(CFunctionTable& table);
};

}  // namespace nuv
