#pragma once
// Infix to postfix: scans an expression text into tokens and orders them by
// the operator codes (a lower code binds tighter; equal codes group from the
// right, so a - b - c is a - (b - c)). It also checks the syntax as it goes,
// so that every malformed text fails here, naming the text and, where it
// helps, the position (1-based), instead of giving a tree that evaluates to
// something else than was meant.

#include <cstddef>
#include <string_view>
#include <vector>

#include "exp_eval/CToken.h"
#include "standard/CMessage.h"

namespace nuv {

class CExpEval;

class CPostfixConverter {
 public:
  CPostfixConverter(const CExpEval& eval, std::string_view text, std::vector<CToken>& out)
      : m_eval(eval), m_text(text), m_out(out) {}
  void run();

 private:
  struct Entry {
    COperator op;
    std::size_t pos;
    bool call = false;     // "(" opening a function's arguments
    bool matched = false;  // "?" whose ":" has been seen
  };

  [[noreturn]] void _fail(const CMessage& why) const;
  [[noreturn]] void _failAt(const char* why, std::size_t pos) const;
  [[noreturn]] void _missingRight() const;
  void _operand(std::size_t begin, std::size_t end);
  void _operator(COperator op, std::size_t pos);
  void _close(std::size_t pos);
  void _pop();
  void _finish();

  const CExpEval& m_eval;
  std::string_view m_text;
  std::vector<CToken>& m_out;
  std::vector<Entry> m_stack;
  bool m_expectOperand = true;  // an operand (or prefix operator, "(") must come next
  bool m_afterDollar = false;   // a function name must come next
  bool m_afterName = false;     // a function name came last: "(" opens its arguments
  bool m_afterOpen = false;     // "(" came last
  COperator m_lastOp;
  std::size_t m_lastPos = 0;
};

}  // namespace nuv
