#pragma once
// A parsed expression: its postfix token list and the tree built from it.
// Nodes are numbered in creation order and owned by the tree; once built
// the tree is never changed, so holders share it (std::shared_ptr<const>)
// and evaluate it concurrently. Results go to the caller, not into the tree.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "exp_eval/CNodeBase.h"
#include "exp_eval/CToken.h"

namespace nuv {

class CSyntaxTreeProxy {
 public:
  explicit CSyntaxTreeProxy(std::vector<CToken> postfix) : m_postfix(std::move(postfix)) {}
  CSyntaxTreeProxy(const CSyntaxTreeProxy&) = delete;
  CSyntaxTreeProxy& operator=(const CSyntaxTreeProxy&) = delete;

  const std::vector<CToken>& postfix() const { return m_postfix; }
  // The postfix tokens' texts joined by blanks: "1 2 3 * +".
  std::string postfixText() const;

  std::size_t size() const { return m_nodes.size(); }
  bool empty() const { return m_nodes.empty(); }
  const CNodeBase& node(std::size_t index) const { return *m_nodes.at(index); }
  // Null for a tree without nodes.
  const CNodeBase* root() const { return m_root; }

  // Trees are equal when they were built from equal postfix lists.
  bool operator==(const CSyntaxTreeProxy& other) const { return m_postfix == other.m_postfix; }
  bool operator!=(const CSyntaxTreeProxy& other) const { return !(*this == other); }

  // Building (the evaluator's tree builder): the node factory. Each call
  // creates, numbers and keeps one node.
  const CNodeBase* addTerminal(const CVariant& operand);
  // Binary and unary operators except "?", "$" and ",".
  const CNodeBase* addOperator(COperator op, const CNodeBase* left, const CNodeBase* right);
  const CNodeBase* addConditional(const CNodeBase* condition, const CNodeBase* whenTrue,
                                  const CNodeBase* whenFalse);
  const CNodeBase* addFunction(const CNodeBase* name, std::vector<const CNodeBase*> arguments);
  const CNodeBase* addList(std::vector<const CNodeBase*> items);
  void setRoot(const CNodeBase* root) { m_root = root; }

 private:
  template <class Node, class... Args>
  const Node* _add(Args&&... args);

  std::vector<CToken> m_postfix;
  std::vector<std::unique_ptr<CNodeBase>> m_nodes;
  const CNodeBase* m_root = nullptr;
};

}  // namespace nuv
