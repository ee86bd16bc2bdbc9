#include "exp_eval/CToken.h"

namespace nuv {

std::string CToken::string() const {
  if (!isOperand()) return m_op.string();
  return m_operand.string(!isFunctionName());
}

bool CToken::operator==(const CToken& other) const {
  if (m_op != other.m_op) return false;
  if (!isOperand()) return true;
  const CVariant &a = m_operand, &b = other.m_operand;
  if (a.type() != b.type() || a.subtype() != b.subtype()) return false;
  // Unknown values have no == of their own; two of them are alike.
  return a.type() == CVariantType::dt_unknown || a == b;
}

}  // namespace nuv
