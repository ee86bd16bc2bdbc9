#pragma once
// The operator nodes of the syntax tree, one class per kind of operator.

#include <string>
#include <vector>

#include "exp_eval/CNodeBase.h"

namespace nuv {

// * / + -
class CArithmeticExprNode : public CNonterminalNode {
 public:
  using CNonterminalNode::CNonterminalNode;
  CVariant value(const CExpEval& eval) const override;
};

// & | ^
class CBitwiseExprNode : public CNonterminalNode {
 public:
  using CNonterminalNode::CNonterminalNode;
  CVariant value(const CExpEval& eval) const override;
};

// < <= > >= == != ; the result is a boolean.
class CRelationalExprNode : public CNonterminalNode {
 public:
  using CNonterminalNode::CNonterminalNode;
  CVariant value(const CExpEval& eval) const override;
};

// && ; the right side is evaluated only when the left is true.
class CAndExprNode : public CNonterminalNode {
 public:
  CAndExprNode(const CNodeBase* left, const CNodeBase* right)
      : CNonterminalNode(COperator::op_and, left, right) {}
  CVariant value(const CExpEval& eval) const override;
};

// || ; the right side is evaluated only when the left is false.
class COrExprNode : public CNonterminalNode {
 public:
  COrExprNode(const CNodeBase* left, const CNodeBase* right)
      : CNonterminalNode(COperator::op_or, left, right) {}
  CVariant value(const CExpEval& eval) const override;
};

// The two branches of "?": left when the condition holds, right otherwise.
class CConditionalArgsNode : public CNonterminalNode {
 public:
  CConditionalArgsNode(const CNodeBase* whenTrue, const CNodeBase* whenFalse)
      : CNonterminalNode(COperator::op_colon, whenTrue, whenFalse) {}
  // Only its "?" node evaluates a branch; on its own it is an error.
  CVariant value(const CExpEval& eval) const override;
  const CNodeBase* branch(bool condition) const { return condition ? m_left : m_right; }
};

// condition ? a : b ; only the selected branch is evaluated.
class CConditionalExprNode : public CNonterminalNode {
 public:
  CConditionalExprNode(const CNodeBase* condition, const CConditionalArgsNode* branches)
      : CNonterminalNode(COperator::op_conditional, condition, branches), m_branches(branches) {}
  CVariant value(const CExpEval& eval) const override;
  void values(const CExpEval& eval, CMultiVariant& out) const override;

 private:
  const CNodeBase* _selected(const CExpEval& eval) const;
  const CConditionalArgsNode* m_branches;
};

// name = value ; gives the value. The left side must be a single operand.
class CAssignExprNode : public CNonterminalNode {
 public:
  CAssignExprNode(const CNodeBase* left, const CNodeBase* right)
      : CNonterminalNode(COperator::op_assign, left, right) {}
  CVariant value(const CExpEval& eval) const override;
};

// ! (boolean not), unary - and ~ ; the operand is the left child.
class CUnaryExprNode : public CNonterminalNode {
 public:
  CUnaryExprNode(COperator op, const CNodeBase* operand) : CNonterminalNode(op, operand, nullptr) {}
  CVariant value(const CExpEval& eval) const override;
};

// A comma-separated list: function arguments, or several results. Kept flat
// so that a long list does not make a deep tree.
class CListItemExprNode : public CNonterminalNode {
 public:
  explicit CListItemExprNode(std::vector<const CNodeBase*> items);
  CVariant value(const CExpEval& eval) const override;
  void values(const CExpEval& eval, CMultiVariant& out) const override;
  const std::vector<const CNodeBase*>& items() const { return m_items; }

 private:
  std::vector<const CNodeBase*> m_items;
};

// $name(arguments): left is the name, right the argument list (or none).
class CFuncExprNode : public CNonterminalNode {
 public:
  CFuncExprNode(const CNodeBase* name, std::string nameText, const CListItemExprNode* arguments)
      : CNonterminalNode(COperator::op_function, name, arguments),
        m_name(std::move(nameText)),
        m_arguments(arguments) {}
  CVariant value(const CExpEval& eval) const override;
  void values(const CExpEval& eval, CMultiVariant& out) const override;
  const std::string& name() const { return m_name; }

 private:
  void _call(const CExpEval& eval, CMultiVariant& results) const;
  std::string m_name;
  const CListItemExprNode* m_arguments;
};

}  // namespace nuv
