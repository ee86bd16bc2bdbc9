#pragma once
// A configuration value that may be an expression: the text together with
// the evaluator that runs it. A text in square brackets ("[1 + 2]") is
// parsed once, on assignment, and evaluated on every dereference; any other
// text is a literal, kept unparsed, whose value is the text's deduced
// variant (the empty literal gives no value).
//
// Copies share the parsed tree, which is immutable, so copies on different
// threads may be evaluated at the same time.

#include <memory>
#include <string>
#include <string_view>

#include "exp_eval/CMultiVariant.h"
#include "exp_eval/CSyntaxTreeProxy.h"

namespace nuv {

class CExpEval;

class CExpression {
 public:
  explicit CExpression(const CExpEval* eval = nullptr) : m_eval(eval) {}
  // Throws as assign does.
  CExpression(const CExpEval* eval, std::string_view text);

  // Parses an expression text (a literal is only stored). Throws "Cannot
  // parse expression '%1'." with the reason as the why-text; the previous
  // value stays on failure.
  CExpression& assign(std::string_view text);
  CExpression& operator=(std::string_view text) { return assign(text); }

  // Evaluates; failures read "Cannot execute expression '%1'." with the
  // failure inside as the why-text.
  CMultiVariant operator*() const;

  // The postfix tokens ("1 2 3 * +"); empty for a literal.
  std::string postfix() const;
  // Null for a literal.
  std::shared_ptr<const CSyntaxTreeProxy> getSyntaxTree() const { return m_tree; }
  const std::string& text() const { return m_text; }
  const CExpEval* evaluator() const { return m_eval; }
  bool empty() const { return m_text.empty(); }

  // Unless trimmed of blanks it starts with "[" and ends with "]".
  static bool isLiteral(std::string_view text);

  // Equal trees, or, for literals, equal texts.
  bool operator==(const CExpression& other) const;
  bool operator!=(const CExpression& other) const { return !(*this == other); }

 private:
  const CExpEval* m_eval;
  std::string m_text;
  std::shared_ptr<const CSyntaxTreeProxy> m_tree;
};

// A non-empty text that is not a literal.
bool isExpression(std::string_view text);

}  // namespace nuv
