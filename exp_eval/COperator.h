#pragma once
// An operator of the expression language. The code order is the binding
// order: a lower code binds tighter. Code 0 is "no operator" (an operand).

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace nuv {

class COperator {
 public:
  enum code_t : std::uint8_t {
    op_none = 0,
    op_function = 1,   // "$" before a function name
    op_function2 = 2,  // "$$", printable only
    op_colon = 3,      // ":" between the branches of "?"
    op_not = 4,        // "!"
    op_negate = 5,     // unary "-", produced by the parser
    op_tilde = 6,      // "~"
    op_multiply = 7,
    op_divide = 8,
    op_add = 9,
    op_subtract = 10,
    op_less = 11,
    op_less_equal = 12,
    op_greater = 13,
    op_greater_equal = 14,
    op_equal = 15,
    op_not_equal = 16,
    op_bit_and = 17,
    op_bit_xor = 18,
    op_bit_or = 19,
    op_and = 20,
    op_or = 21,
    op_conditional = 22,  // "?"
    op_assign = 23,
    op_comma = 24,
    op_open = 25,
    op_close = 26,
  };
  static constexpr unsigned kLast = op_close;

  constexpr COperator(code_t code = op_none) : m_code(code) {}  // NOLINT: implicit by design
  // Throws for a code above kLast.
  static COperator fromCode(unsigned code);
  // The operator written as text ("-" is the binary minus); throws for any
  // other text.
  static COperator fromText(std::string_view text);
  // The operator at the start of text, tried in the tokenizer's order
  // (longer forms first where they share a prefix); length 0 when none.
  static COperator match(std::string_view text, std::size_t& length);

  constexpr code_t code() const { return m_code; }
  constexpr operator code_t() const { return m_code; }  // NOLINT: implicit by design
  constexpr bool isOperand() const { return m_code == op_none; }
  constexpr bool isBinary() const {
    return m_code == op_colon || (m_code >= op_multiply && m_code <= op_comma);
  }
  // Operators that stand before their one operand.
  constexpr bool isPrefix() const {
    return m_code == op_function || m_code == op_not || m_code == op_negate || m_code == op_tilde;
  }

  const char* string() const { return string(m_code); }
  // "unknown" for a code outside the set, "" for op_none.
  static const char* string(unsigned code);

 private:
  code_t m_code;
};

}  // namespace nuv
