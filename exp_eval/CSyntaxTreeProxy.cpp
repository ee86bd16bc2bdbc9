#include "exp_eval/CSyntaxTreeProxy.h"

#include "exp_eval/CExprNodes.h"
#include "exp_eval/CTermNode.h"
#include "standard/CException.h"

namespace nuv {

std::string CSyntaxTreeProxy::postfixText() const {
  std::string out;
  for (const CToken& t : m_postfix) {
    if (!out.empty()) out += ' ';
    out += t.string();
  }
  return out;
}

template <class Node, class... Args>
const Node* CSyntaxTreeProxy::_add(Args&&... args) {
  auto node = std::make_unique<Node>(std::forward<Args>(args)...);
  node->m_index = m_nodes.size();
  const Node* out = node.get();
  m_nodes.push_back(std::move(node));
  return out;
}

const CNodeBase* CSyntaxTreeProxy::addTerminal(const CVariant& operand) {
  switch (operand.type()) {
    case CVariantType::dt_ipaddress:
      return _add<CIPAddressTermNode>(operand);
    case CVariantType::dt_boolean:
      return _add<CBooleanTermNode>(operand);
    case CVariantType::dt_time:
      return _add<CTimeTermNode>(operand);
    case CVariantType::dt_string:
      return _add<CStringTermNode>(operand);
    case CVariantType::dt_hexstore:
      return _add<CHexStoreTermNode>(operand);
    case CVariantType::dt_integer:
      return _add<CIntegerTermNode>(operand);
    case CVariantType::dt_endpoint:
      return _add<CEndpointTermNode>(operand);
    case CVariantType::dt_uinteger:
      return _add<CUIntegerTermNode>(operand);
    default:
      return _add<CUnknownTermNode>(operand);
  }
}

const CNodeBase* CSyntaxTreeProxy::addOperator(COperator op, const CNodeBase* left,
                                               const CNodeBase* right) {
  switch (op) {
    case COperator::op_multiply:
    case COperator::op_divide:
    case COperator::op_add:
    case COperator::op_subtract:
      return _add<CArithmeticExprNode>(op, left, right);
    case COperator::op_bit_and:
    case COperator::op_bit_or:
    case COperator::op_bit_xor:
      return _add<CBitwiseExprNode>(op, left, right);
    case COperator::op_less:
    case COperator::op_less_equal:
    case COperator::op_greater:
    case COperator::op_greater_equal:
    case COperator::op_equal:
    case COperator::op_not_equal:
      return _add<CRelationalExprNode>(op, left, right);
    case COperator::op_and:
      return _add<CAndExprNode>(left, right);
    case COperator::op_or:
      return _add<COrExprNode>(left, right);
    case COperator::op_assign:
      return _add<CAssignExprNode>(left, right);
    case COperator::op_not:
    case COperator::op_negate:
    case COperator::op_tilde:
      return _add<CUnaryExprNode>(op, left);
    default:
      NUV_THROW("CSyntaxTreeProxy::addOperator", CMessage("Failed to execute expression."),
                CMessage("Operator %1 cannot stand in a syntax tree.").pushs(op.string()));
  }
}

const CNodeBase* CSyntaxTreeProxy::addConditional(const CNodeBase* condition,
                                                  const CNodeBase* whenTrue,
                                                  const CNodeBase* whenFalse) {
  const CConditionalArgsNode* branches = _add<CConditionalArgsNode>(whenTrue, whenFalse);
  return _add<CConditionalExprNode>(condition, branches);
}

const CNodeBase* CSyntaxTreeProxy::addFunction(const CNodeBase* name,
                                               std::vector<const CNodeBase*> arguments) {
  const auto* term = dynamic_cast<const CTermNodeBase*>(name);
  std::string text = term ? term->constant().string() : std::string();
  const CListItemExprNode* list =
      arguments.empty() ? nullptr : _add<CListItemExprNode>(std::move(arguments));
  return _add<CFuncExprNode>(name, std::move(text), list);
}

const CNodeBase* CSyntaxTreeProxy::addList(std::vector<const CNodeBase*> items) {
  return _add<CListItemExprNode>(std::move(items));
}

}  // namespace nuv
