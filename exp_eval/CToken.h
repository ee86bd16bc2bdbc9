#pragma once
// One element of an expression's postfix form: an operator, or an operand
// value. A function name is an operand string of subtype "function name".

#include <cstddef>
#include <string>

#include "exp_eval/COperator.h"
#include "standard/CVariant.h"

namespace nuv {

class CToken {
 public:
  CToken() = default;
  CToken(COperator op, std::size_t position = 0) : m_op(op), m_position(position) {}  // NOLINT
  // Without it a bare code would also convert to an integer operand.
  CToken(COperator::code_t op, std::size_t position = 0)  // NOLINT: implicit by design
      : m_op(op), m_position(position) {}
  CToken(CVariant operand, std::size_t position = 0)  // NOLINT: implicit by design
      : m_operand(std::move(operand)), m_position(position) {}

  bool isOperand() const { return m_op.isOperand(); }
  COperator op() const { return m_op; }
  const CVariant& operand() const { return m_operand; }
  bool isFunctionName() const {
    return isOperand() && m_operand.subtype() == CVariantSubType::dst_function_name;
  }
  // Where the token starts in the expression text (0-based), for messages.
  std::size_t position() const { return m_position; }

  // The operator's text, a function name as it is, other operands in their
  // text form with strings in double quotes.
  std::string string() const;

  // Same operator, or operands of the same type, subtype and value; the
  // position does not count.
  bool operator==(const CToken& other) const;
  bool operator!=(const CToken& other) const { return !(*this == other); }

 private:
  COperator m_op;
  CVariant m_operand;
  std::size_t m_position = 0;
};

}  // namespace nuv
