#include "exp_eval/CExprNodes.h"

#include <algorithm>

#include "exp_eval/CExpEval.h"
#include "standard/CException.h"

namespace nuv {

namespace {

[[noreturn]] void invalidOpcode(const char* context, const char* what) {
  NUV_THROW(context, CMessage(what), CMessage("Invalid opcode."));
}

}  // namespace

CVariant CArithmeticExprNode::value(const CExpEval& eval) const {
  CVariant l = m_left->value(eval);
  const CVariant r = m_right->value(eval);
  switch (m_op) {
    case COperator::op_multiply:
      return l *= r;
    case COperator::op_divide:
      return l /= r;
    case COperator::op_add:
      return l += r;
    case COperator::op_subtract:
      return l -= r;
    default:
      invalidOpcode("CArithmeticExprNode::value", "Cannot process arithemetic sub-expression.");
  }
}

CVariant CBitwiseExprNode::value(const CExpEval& eval) const {
  CVariant l = m_left->value(eval);
  const CVariant r = m_right->value(eval);
  switch (m_op) {
    case COperator::op_bit_and:
      return l &= r;
    case COperator::op_bit_or:
      return l |= r;
    case COperator::op_bit_xor:
      return l ^= r;
    default:
      invalidOpcode("CBitwiseExprNode::value", "Cannot process bitwise sub-expression.");
  }
}

CVariant CRelationalExprNode::value(const CExpEval& eval) const {
  const CVariant l = m_left->value(eval);
  const CVariant r = m_right->value(eval);
  switch (m_op) {
    case COperator::op_less:
      return CVariant(l < r);
    case COperator::op_less_equal:
      return CVariant(l <= r);
    case COperator::op_greater:
      return CVariant(l > r);
    case COperator::op_greater_equal:
      return CVariant(l >= r);
    case COperator::op_equal:
      return CVariant(l == r);
    case COperator::op_not_equal:
      return CVariant(l != r);
    default:
      invalidOpcode("CRelationalExprNode::value", "Cannot process relational sub-expression.");
  }
}

CVariant CAndExprNode::value(const CExpEval& eval) const {
  return CVariant(m_left->value(eval).boolean() && m_right->value(eval).boolean());
}

CVariant COrExprNode::value(const CExpEval& eval) const {
  return CVariant(m_left->value(eval).boolean() || m_right->value(eval).boolean());
}

CVariant CConditionalArgsNode::value(const CExpEval&) const {
  NUV_THROW("CConditionalArgsNode::value", CMessage("Cannot process conditional sub-expression."),
            CMessage("Invalid node."));
}

const CNodeBase* CConditionalExprNode::_selected(const CExpEval& eval) const {
  return m_branches->branch(m_left->value(eval).boolean());
}

CVariant CConditionalExprNode::value(const CExpEval& eval) const {
  return _selected(eval)->value(eval);
}

void CConditionalExprNode::values(const CExpEval& eval, CMultiVariant& out) const {
  _selected(eval)->values(eval, out);
}

CVariant CAssignExprNode::value(const CExpEval& eval) const {
  if (!m_left->isTerminal())
    NUV_THROW("CAssignExprNode::value", CMessage("Cannot execute expression assignment."),
              CMessage("Invalid node."));
  return m_right->value(eval);
}

CVariant CUnaryExprNode::value(const CExpEval& eval) const {
  const CVariant v = m_left->value(eval);
  try {
    switch (m_op) {
      case COperator::op_not:
        return CVariant(!v.boolean());
      case COperator::op_negate:
        return -v;
      case COperator::op_tilde:
        return ~v;
      default:
        break;
    }
  } catch (const CException& e) {
    NUV_THROW("CUnaryExprNode::value", CMessage("Cannot process unary sub-expression."),
              CMessage(e.printableError()));
  }
  invalidOpcode("CUnaryExprNode::value", "Cannot process unary sub-expression.");
}

CListItemExprNode::CListItemExprNode(std::vector<const CNodeBase*> items)
    : CNonterminalNode(COperator::op_comma, nullptr, nullptr), m_items(std::move(items)) {
  std::size_t deepest = 0;
  for (const CNodeBase* item : m_items) deepest = std::max(deepest, item->depth());
  m_depth = 1 + deepest;
}

CVariant CListItemExprNode::value(const CExpEval& eval) const {
  if (m_items.empty())
    NUV_THROW("CListItemExprNode::value", CMessage("No result calculated."),
              CMessage("Expression evaluates to nothing."));
  return m_items.front()->value(eval);
}

void CListItemExprNode::values(const CExpEval& eval, CMultiVariant& out) const {
  for (const CNodeBase* item : m_items) item->values(eval, out);
}

void CFuncExprNode::_call(const CExpEval& eval, CMultiVariant& results) const {
  CMultiVariant arguments;
  if (m_arguments) {
    arguments.reserve(m_arguments->items().size());
    m_arguments->values(eval, arguments);
  }
  eval.callback(results, m_name, arguments);
  if (results.empty())
    NUV_THROW("CFuncExprNode::value", CMessage("Failed to execute function '%1'.").pushs(m_name),
              CMessage("Function did not return a result."));
}

CVariant CFuncExprNode::value(const CExpEval& eval) const {
  CMultiVariant results;
  _call(eval, results);
  return std::move(results.front());
}

void CFuncExprNode::values(const CExpEval& eval, CMultiVariant& out) const {
  CMultiVariant results;
  _call(eval, results);
  if (out.empty()) {
    out = std::move(results);
  } else {
    for (CVariant& v : results) out.push_back(std::move(v));
  }
}

}  // namespace nuv
