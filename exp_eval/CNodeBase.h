#pragma once
// A node of an expression's syntax tree. Trees are immutable once built, so
// one parsed tree may be evaluated by several threads at once; everything an
// evaluation needs lives on the call stack.

#include <cstddef>

#include "exp_eval/CMultiVariant.h"
#include "exp_eval/COperator.h"

namespace nuv {

class CExpEval;

class CNodeBase {
 public:
  CNodeBase() = default;
  CNodeBase(const CNodeBase&) = delete;
  CNodeBase& operator=(const CNodeBase&) = delete;
  virtual ~CNodeBase() = default;

  // The node's value; a node that gives several values gives its first.
  virtual CVariant value(const CExpEval& eval) const = 0;
  // Appends every value of the node (functions and lists may give several).
  virtual void values(const CExpEval& eval, CMultiVariant& out) const {
    out.push_back(value(eval));
  }
  virtual bool isTerminal() const { return false; }

  // Creation number within its tree.
  std::size_t index() const { return m_index; }
  // Longest path to a leaf, counting this node: evaluation recurses this deep.
  std::size_t depth() const { return m_depth; }

 protected:
  std::size_t m_depth = 1;

 private:
  friend class CSyntaxTreeProxy;
  std::size_t m_index = 0;
};

// An operator node with up to two children; a unary operator has only a left.
class CNonterminalNode : public CNodeBase {
 public:
  CNonterminalNode(COperator op, const CNodeBase* left, const CNodeBase* right);

  COperator op() const { return m_op; }
  const CNodeBase* left() const { return m_left; }
  const CNodeBase* right() const { return m_right; }

 protected:
  COperator m_op;
  const CNodeBase* m_left;
  const CNodeBase* m_right;
};

}  // namespace nuv
