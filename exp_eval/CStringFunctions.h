#pragma once
// Built-in text functions: UCASE, LCASE, LEN, LEFT, RIGHT, MID, INSTR,
// STARTSWITH, MATCH. Characters are bytes; positions count from 0.

#include "exp_eval/CFunctionCall.h"

namespace nuv {

class CStringFunctions {
 public:
  static void install(CFunctionTable& table);
};

}  // namespace nuv
