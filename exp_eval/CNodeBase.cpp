#include "exp_eval/CNodeBase.h"

#include <algorithm>

namespace nuv {

CNonterminalNode::CNonterminalNode(COperator op, const CNodeBase* left, const CNodeBase* right)
    : m_op(op), m_left(left), m_right(right) {
  m_depth = 1 + std::max(left ? left->depth() : 0, right ? right->depth() : 0);
}

}  // namespace nuv
